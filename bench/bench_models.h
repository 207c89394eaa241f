#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "document/object_store.h"
#include "mesh/poly_mesh.h"
#include "tools/modelgen/generated_model.h"

// The benchmarks' models: generated at a requested number of faces, kept as files in the model
// folder ($KORVANE_BENCH_MODELS, else bench-models in the build folder) after the first use.

namespace korvane::bench {

enum class Shape {
    kTorus,
    kSphere,
    kSoup,
    kMirrorHalf,  // connected mirror on X and Y: the finished mesh has about `faces` faces
    kLathe,       // 1000 lines; the swept mesh has about `faces` quads
    kFan,         // `faces` triangles around one vertex
};

enum class Format { kMqoText, kMqoBinary, kLwo2, kObj };

modelgen::GeneratedModel MakeModel(Shape shape, std::int64_t faces);

// The model's file, written first when it is not there yet.
std::string ModelFile(Shape shape, std::int64_t faces, Format format);

// A scratch file name in the model folder.
std::string ScratchFile(const std::string& name);

std::string ReadWholeFile(const std::string& path);

// The mesh the Metasequoia reader would hand over for this model, faces split.
void FillMesh(const modelgen::GeneratedModel& model, PolyMesh& mesh);

// Imports a model file into a new store; aborts the benchmark program when it cannot.
std::unique_ptr<ObjectStore> ImportModel(const std::string& path);

}  // namespace korvane::bench
