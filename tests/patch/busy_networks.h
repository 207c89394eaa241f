#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "patch/patch_object.h"

// Networks where many curves meet at one point (the hub), for the identity tests of patch
// detection and Connect Curve.

namespace korvane::testing {

struct StarShape {
    int fans;
    int spokes;    // rim points per fan
    bool lattice;  // rim points on whole numbers: many arms at exactly the same angles
    bool hubLast;  // the hub is the last point rather than the first
};

// Fans round one hub, each in its own plane through it. Even fans are triangles, odd ones quads
// (a spoke to every other rim point); every rim is a ring of two-node curves, and every third
// spoke runs from its rim point to the hub, the others from the hub.
inline void BuildStar(PatchObject& object, const StarShape& shape) {
    const auto add = [&object](const std::vector<std::int32_t>& points) {
        object.AddSpline(points);
    };
    const double radius = shape.lattice ? 6.0 : 500.0;
    std::vector<PatchVec3> rim;
    for (int f = 0; f < shape.fans; ++f) {
        const double tilt = std::numbers::pi * (f + 0.5) / shape.fans;
        for (int i = 0; i < shape.spokes; ++i) {
            const double turn = 2.0 * std::numbers::pi * i / shape.spokes;
            double x = radius * std::cos(turn);
            double y = radius * std::sin(turn) * std::cos(tilt);
            double z = radius * std::sin(turn) * std::sin(tilt) + 0.1 * f;
            if (shape.lattice) {
                x = std::round(x);
                y = std::round(y);
                z = std::round(z);
            }
            rim.push_back(
                PatchVec3(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)));
        }
    }
    const std::int32_t firstRim = shape.hubLast ? 0 : 1;
    const std::int32_t hub = shape.hubLast ? static_cast<std::int32_t>(rim.size()) : 0;
    if (!shape.hubLast) {
        object.AddControlPoint(PatchVec3(0, 0, 0));
    }
    for (const PatchVec3& point : rim) {
        object.AddControlPoint(point);
    }
    if (shape.hubLast) {
        object.AddControlPoint(PatchVec3(0, 0, 0));
    }
    for (int f = 0; f < shape.fans; ++f) {
        const std::int32_t first = firstRim + f * shape.spokes;
        for (int i = 0; i < shape.spokes; ++i) {
            const std::int32_t at = first + i;
            add({at, first + (i + 1) % shape.spokes});
            if (f % 2 == 1 && i % 2 == 1) {
                continue;
            }
            i % 3 == 0 ? add({at, hub}) : add({hub, at});
        }
    }
    object.IndexReferences();
}

// A hub among a few lattice points (the first on the hub itself, so that its arms have no length),
// with curves of every kind through it: open spokes, closed loops, open loops that leave and come
// back, curves that pass through it or stay on a point for a segment, and curves elsewhere. With
// `extremes`, a few points lie so far or so near that their arms fall outside the range of lengths
// the connector's tree takes; with `nonFinite`, one lies at infinity.
inline void BuildMixedHub(PatchObject& object, std::uint32_t seed, int curves, bool extremes,
                          bool nonFinite) {
    std::mt19937 random(seed);
    const auto pick = [&random](int n) {
        return static_cast<int>(random() % static_cast<unsigned>(n));
    };
    const bool hubLast = seed % 2 == 0;
    const int others = 8 + pick(12);
    std::vector<PatchVec3> around;
    for (int i = 0; i < others; ++i) {
        PatchVec3 point(static_cast<float>(pick(5) - 2), static_cast<float>(pick(5) - 2),
                        static_cast<float>(pick(3) - 1));
        if (extremes && i % 7 == 3) {
            point = Scale(point, i % 2 == 0 ? 1e13f : 1e-13f);
        }
        around.push_back(point);
    }
    around[0] = PatchVec3(0, 0, 0);
    if (nonFinite) {
        around[1] = PatchVec3(std::numeric_limits<float>::infinity(), 0, 1);
    }
    const std::int32_t hub = hubLast ? others : 0;
    const std::int32_t first = hubLast ? 0 : 1;
    if (!hubLast) {
        object.AddControlPoint(PatchVec3(0, 0, 0));
    }
    for (const PatchVec3& point : around) {
        object.AddControlPoint(point);
    }
    if (hubLast) {
        object.AddControlPoint(PatchVec3(0, 0, 0));
    }
    const auto other = [&]() { return first + pick(others); };
    for (int c = 0; c < curves; ++c) {
        const std::int32_t p = other();
        std::int32_t q = other();
        q = q == p ? first + (q - first + 1) % others : q;
        switch (pick(7)) {
            case 0:
                object.AddSpline(std::vector<std::int32_t>{hub, p}, false);
                break;
            case 1:
                object.AddSpline(std::vector<std::int32_t>{p, hub}, false);
                break;
            case 2:
                object.AddSpline(std::vector<std::int32_t>{hub, p, q}, true);
                break;
            case 3:
                object.AddSpline(std::vector<std::int32_t>{hub, p, q, hub}, false);
                break;
            case 4:
                object.AddSpline(std::vector<std::int32_t>{p, hub, q}, false);
                break;
            case 5:
                object.AddSpline(std::vector<std::int32_t>{hub, p, p, q}, false);
                break;
            default:
                object.AddSpline(std::vector<std::int32_t>{p, q}, false);
                break;
        }
    }
    object.IndexReferences();
}

// Straight rays of two-node curves out of a hub that is the last point, so that each ray is joined
// point by point outwards before the hub's turn, every join making the ray's end at the hub anew:
// the hub gains new ends many times over.
inline void BuildRays(PatchObject& object, int rays, int segments) {
    for (int ray = 0; ray < rays; ++ray) {
        const double turn = 2.0 * std::numbers::pi * ray / rays;
        const double tilt = 0.3 * std::sin(3.0 * turn);
        for (int step = 1; step <= segments; ++step) {
            object.AddControlPoint(PatchVec3(static_cast<float>(step * std::cos(turn)),
                                             static_cast<float>(step * tilt),
                                             static_cast<float>(step * std::sin(turn))));
        }
    }
    const std::int32_t hub = object.AddControlPoint(PatchVec3(0, 0, 0));
    for (int ray = 0; ray < rays; ++ray) {
        const std::int32_t first = ray * segments;
        object.AddSpline(std::vector<std::int32_t>{hub, first});
        for (int step = 1; step < segments; ++step) {
            object.AddSpline(std::vector<std::int32_t>{first + step - 1, first + step});
        }
    }
    object.IndexReferences();
}

}  // namespace korvane::testing
