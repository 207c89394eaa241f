#include "tools/modelgen/model_shapes.h"

#include <cmath>
#include <numbers>

namespace korvane::modelgen {
namespace {

constexpr double kPi = std::numbers::pi;

float Round4(double value) {
    return static_cast<float>(std::round(value * 1e4) / 1e4);
}

void AddRounded(GeneratedModel& model, double x, double y, double z) {
    model.AddVertex(Round4(x), Round4(y), Round4(z));
}

// Quads of a (columns + 1) x (rows + 1) lattice whose vertex (i, j) is j * (columns + 1) + i.
void AddLatticeQuads(GeneratedModel& model, std::int32_t columns, std::int32_t rows) {
    const auto at = [columns](std::int32_t i, std::int32_t j) { return j * (columns + 1) + i; };
    for (std::int32_t j = 0; j < rows; ++j) {
        for (std::int32_t i = 0; i < columns; ++i) {
            model.AddFace({at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)});
        }
    }
}

void Reserve(GeneratedModel& model, std::int64_t vertices, std::int64_t faces) {
    model.positions.reserve(static_cast<std::size_t>(vertices));
    model.cornerCounts.reserve(static_cast<std::size_t>(faces));
    model.corners.reserve(static_cast<std::size_t>(4 * faces));
}

// splitmix64: small, fast and the same everywhere.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in [-1, 1).
    double Signed() { return static_cast<double>(Next() >> 11) * 0x1.0p-52 - 1.0; }

  private:
    std::uint64_t state_;
};

}  // namespace

GeneratedModel MakeGrid(std::int32_t width, std::int32_t height) {
    GeneratedModel model;
    model.name = "grid";
    Reserve(model, std::int64_t{width + 1} * (height + 1), std::int64_t{width} * height);
    for (std::int32_t j = 0; j <= height; ++j) {
        for (std::int32_t i = 0; i <= width; ++i) {
            AddRounded(model, 10.0 * i - 5.0 * width, 20.0 * std::sin(0.15 * i) * std::cos(0.1 * j),
                       10.0 * j - 5.0 * height);
        }
    }
    AddLatticeQuads(model, width, height);
    return model;
}

GeneratedModel MakeTorus(std::int32_t around, std::int32_t along) {
    GeneratedModel model;
    model.name = "torus";
    Reserve(model, std::int64_t{around} * along, std::int64_t{around} * along);
    for (std::int32_t j = 0; j < along; ++j) {
        const double tube = 2.0 * kPi * j / along;
        for (std::int32_t i = 0; i < around; ++i) {
            const double ring = 2.0 * kPi * i / around;
            const double radius = 300.0 + 100.0 * std::cos(tube);
            AddRounded(model, radius * std::cos(ring), 100.0 * std::sin(tube),
                       radius * std::sin(ring));
        }
    }
    const auto at = [around, along](std::int32_t i, std::int32_t j) {
        return (j % along) * around + i % around;
    };
    for (std::int32_t j = 0; j < along; ++j) {
        for (std::int32_t i = 0; i < around; ++i) {
            model.AddFace({at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)});
        }
    }
    return model;
}

GeneratedModel MakeSphere(std::int32_t around, std::int32_t bands) {
    GeneratedModel model;
    model.name = "sphere";
    const std::int64_t ringVertices = std::int64_t{around} * (bands - 1);
    Reserve(model, ringVertices + 2, std::int64_t{around} * bands);
    constexpr double kRadius = 500.0;
    AddRounded(model, 0.0, kRadius, 0.0);
    for (std::int32_t k = 1; k < bands; ++k) {
        const double latitude = kPi * k / bands;
        for (std::int32_t i = 0; i < around; ++i) {
            const double longitude = 2.0 * kPi * i / around;
            AddRounded(model, kRadius * std::sin(latitude) * std::cos(longitude),
                       kRadius * std::cos(latitude),
                       kRadius * std::sin(latitude) * std::sin(longitude));
        }
    }
    AddRounded(model, 0.0, -kRadius, 0.0);
    const std::int32_t south = static_cast<std::int32_t>(ringVertices) + 1;
    const auto at = [around](std::int32_t i, std::int32_t ring) {
        return 1 + (ring - 1) * around + i % around;
    };
    for (std::int32_t i = 0; i < around; ++i) {
        model.AddFace({0, at(i + 1, 1), at(i, 1)});
    }
    for (std::int32_t k = 1; k + 1 < bands; ++k) {
        for (std::int32_t i = 0; i < around; ++i) {
            model.AddFace({at(i, k), at(i + 1, k), at(i + 1, k + 1), at(i, k + 1)});
        }
    }
    for (std::int32_t i = 0; i < around; ++i) {
        model.AddFace({south, at(i, bands - 1), at(i + 1, bands - 1)});
    }
    return model;
}

GeneratedModel MakeFan(std::int32_t count) {
    GeneratedModel model;
    model.name = "fan";
    Reserve(model, std::int64_t{count} + 1, count);
    constexpr double kRadius = 500.0;
    AddRounded(model, 0.0, 0.0, 0.0);
    for (std::int32_t i = 0; i < count; ++i) {
        const double angle = 2.0 * kPi * i / count;
        AddRounded(model, kRadius * std::cos(angle), 20.0 * std::sin(7.0 * angle),
                   kRadius * std::sin(angle));
    }
    for (std::int32_t i = 0; i < count; ++i) {
        model.AddFace({0, 1 + i, 1 + (i + 1) % count});
    }
    return model;
}

GeneratedModel MakeLatheProfile(std::int32_t lines, std::int32_t segments) {
    GeneratedModel model;
    model.name = "lathe";
    Reserve(model, std::int64_t{lines} + 1, lines);
    for (std::int32_t k = 0; k <= lines; ++k) {
        const double t = static_cast<double>(k) / lines;
        AddRounded(model, 150.0 + 80.0 * std::sin(3.0 * kPi * t) + 60.0 * t, 800.0 * t - 400.0,
                   0.0);
    }
    for (std::int32_t k = 0; k < lines; ++k) {
        model.AddFace({k, k + 1});
    }
    model.lathe = 3;
    model.latheAxis = 1;
    model.latheSegments = segments;
    return model;
}

GeneratedModel MakeMirrorHalf(std::int32_t width, std::int32_t height, std::int32_t axes) {
    GeneratedModel model;
    model.name = "mirror";
    Reserve(model, std::int64_t{width + 1} * (height + 1), std::int64_t{width} * height);
    const double yStart = (axes & 2) != 0 ? 0.0 : -5.0 * height;
    for (std::int32_t j = 0; j <= height; ++j) {
        for (std::int32_t i = 0; i <= width; ++i) {
            AddRounded(model, 10.0 * i, yStart + 10.0 * j,
                       50.0 + 20.0 * std::sin(0.2 * i) * std::sin(0.15 * j));
        }
    }
    AddLatticeQuads(model, width, height);
    model.mirror = 2;
    model.mirrorAxes = axes;
    return model;
}

GeneratedModel MakeTriangleSoup(std::int32_t width, std::int32_t height, std::uint64_t seed) {
    GeneratedModel model;
    model.name = "soup";
    Reserve(model, std::int64_t{width + 1} * (height + 1), 2 * std::int64_t{width} * height);
    Random random(seed);
    for (std::int32_t j = 0; j <= height; ++j) {
        for (std::int32_t i = 0; i <= width; ++i) {
            AddRounded(model, 10.0 * i + 3.0 * random.Signed(), 5.0 * random.Signed(),
                       10.0 * j + 3.0 * random.Signed());
        }
    }
    const auto at = [width](std::int32_t i, std::int32_t j) { return j * (width + 1) + i; };
    for (std::int32_t j = 0; j < height; ++j) {
        for (std::int32_t i = 0; i < width; ++i) {
            const std::uint64_t draw = random.Next();
            if (draw % 20 == 0) {
                continue;
            }
            const std::int32_t a = at(i, j);
            const std::int32_t b = at(i + 1, j);
            const std::int32_t c = at(i + 1, j + 1);
            const std::int32_t d = at(i, j + 1);
            if ((draw >> 32) % 2 == 0) {
                model.AddFace({a, b, c});
                model.AddFace({a, c, d});
            } else {
                model.AddFace({a, b, d});
                model.AddFace({b, c, d});
            }
        }
    }
    return model;
}

}  // namespace korvane::modelgen
