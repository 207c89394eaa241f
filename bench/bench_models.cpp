#include "bench/bench_models.h"
#include "document/object_store.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "import/lightwave_reader.h"
#include "import/metasequoia_reader.h"
#include "tools/modelgen/model_shapes.h"
#include "tools/modelgen/model_writers.h"

namespace korvane::bench {
namespace {

constexpr std::int32_t kLatheLines = 1000;

[[noreturn]] void Abort(const std::string& why) {
    std::fprintf(stderr, "benchmark set-up failed: %s\n", why.c_str());
    std::exit(2);
}

std::int32_t Side(double area) {
    return static_cast<std::int32_t>(std::lround(std::sqrt(area)));
}

std::string ModelFolder() {
    const char* chosen = std::getenv("KORVANE_BENCH_MODELS");
    const std::string folder = chosen != nullptr ? chosen : KORVANE_BENCH_MODEL_DIR;
    std::filesystem::create_directories(folder);
    return folder;
}

const char* ShapeName(Shape shape) {
    switch (shape) {
        case Shape::kTorus:
            return "torus";
        case Shape::kSphere:
            return "sphere";
        case Shape::kSoup:
            return "soup";
        case Shape::kMirrorHalf:
            return "mirror";
        case Shape::kLathe:
            return "lathe";
        case Shape::kFan:
            return "fan";
    }
    return "model";
}

}  // namespace

modelgen::GeneratedModel MakeModel(Shape shape, std::int64_t faces) {
    const auto f = static_cast<double>(faces);
    switch (shape) {
        case Shape::kTorus:
            return modelgen::MakeTorus(Side(f), Side(f));
        case Shape::kSphere:
            return modelgen::MakeSphere(Side(f), Side(f));
        case Shape::kSoup:
            // Two triangles in nineteen of every twenty cells.
            return modelgen::MakeTriangleSoup(Side(f / 1.9), Side(f / 1.9), 1);
        case Shape::kMirrorHalf:
            return modelgen::MakeMirrorHalf(Side(f / 4), Side(f / 4), 3);
        case Shape::kLathe:
            return modelgen::MakeLatheProfile(kLatheLines,
                                              static_cast<std::int32_t>(faces / kLatheLines));
        case Shape::kFan:
            return modelgen::MakeFan(static_cast<std::int32_t>(faces));
    }
    Abort("unknown shape");
}

std::string ModelFile(Shape shape, std::int64_t faces, Format format) {
    static const char* const kSuffix[] = {".mqo", ".bvertex.mqo", ".lwo", ".obj"};
    const std::string path = ModelFolder() + "/" + ShapeName(shape) + "-" + std::to_string(faces) +
                             kSuffix[static_cast<int>(format)];
    if (std::filesystem::exists(path)) {
        return path;
    }
    const modelgen::GeneratedModel model = MakeModel(shape, faces);
    const std::string bytes = format == Format::kMqoText     ? modelgen::WriteMqoText(model)
                              : format == Format::kMqoBinary ? modelgen::WriteMqoBinary(model)
                              : format == Format::kLwo2      ? modelgen::WriteLwo2(model)
                                                             : modelgen::WriteObj(model);
    const std::string partial = path + ".part";
    std::ofstream(partial, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::filesystem::rename(partial, path);
    return path;
}

std::string ScratchFile(const std::string& name) {
    return ModelFolder() + "/" + name;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Abort("cannot read " + path);
    }
    std::ostringstream out;
    out << in.rdbuf();
    return std::move(out).str();
}

void FillMesh(const modelgen::GeneratedModel& model, PolyMesh& mesh) {
    mesh.name = model.name;
    mesh.SetVertexCount(static_cast<std::int32_t>(model.positions.size()));
    for (std::size_t i = 0; i < model.positions.size(); ++i) {
        const Vec3& p = model.positions[i];
        mesh.positions[static_cast<std::int32_t>(i)].Set(p.x * 0.1f, p.y * 0.1f, -(p.z * 0.1f));
    }
    mesh.SetFaceCount(static_cast<std::int32_t>(model.FaceCount()));
    std::size_t corner = 0;
    for (std::size_t f = 0; f < model.cornerCounts.size(); ++f) {
        MeshFace& face = mesh.faces[static_cast<std::int32_t>(f)];
        face.cornerCount = model.cornerCounts[f];
        for (std::int32_t k = 0; k < face.cornerCount; ++k) {
            face.corners[k] = model.corners[corner++];
        }
    }
    mesh.SplitFaces();
    mesh.mirror = static_cast<MirrorMode>(model.mirror);
    mesh.mirrorAxisX = (model.mirrorAxes & 1) != 0;
    mesh.mirrorAxisY = (model.mirrorAxes & 2) != 0;
    mesh.mirrorAxisZ = (model.mirrorAxes & 4) != 0;
    mesh.lathe = model.lathe != 0;
    mesh.latheAxis = model.latheAxis;
    mesh.latheSegments = model.latheSegments;
}

std::unique_ptr<ObjectStore> ImportModel(const std::string& path) {
    auto store = std::make_unique<ObjectStore>();
    const ImportResult result = path.ends_with(".lwo") ? ImportLightWave(path, "model", *store)
                                                       : ImportMetasequoia(path, *store);
    if (result.status != ImportStatus::kImported) {
        Abort("cannot import " + path);
    }
    return store;
}

}  // namespace korvane::bench
