#pragma once

#include <cstddef>
#include <cstdint>

#include "mesh/mesh_operations.h"
#include "mesh/poly_mesh.h"
#include "patch/patch_builder.h"
#include "patch/patch_object.h"
#include "tools/modelgen/generated_model.h"

namespace korvane::testing {

// A generated model as a network, the way the import builds it (without modifiers), its points
// moved along x by shiftX.
inline void BuildGenerated(const modelgen::GeneratedModel& model, PatchObject& object,
                           float shiftX = 0.0f) {
    PolyMesh mesh;
    mesh.SetVertexCount(static_cast<std::int32_t>(model.positions.size()));
    for (std::size_t i = 0; i < model.positions.size(); ++i) {
        Vec3 position = model.positions[i];
        position.x += shiftX;
        mesh.positions[static_cast<std::int32_t>(i)] = position;
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
    BuildEdges(mesh);
    BuildFromMesh(mesh, object);
    ComputeHandles(object);
}

}  // namespace korvane::testing
