#include "tools/assimp_import/scene_budget.h"

#include <limits>
#include <vector>

#include "tools/assimp_import/placed_meshes.h"

namespace korvane {
namespace {

struct PolygonCounts {
    std::uint64_t faces = 0;
    std::uint64_t corners = 0;
};

PolygonCounts CountPolygons(const aiMesh& mesh, bool fans) {
    PolygonCounts counts;
    ForEachPolygon(
        mesh, fans,
        [&counts](const aiFace& face) {
            ++counts.faces;
            counts.corners += face.mNumIndices;
        },
        [&counts](unsigned) { ++counts.corners; });
    return counts;
}

void AddSaturating(std::uint64_t& sum, std::uint64_t added) {
    sum = added > std::numeric_limits<std::uint64_t>::max() - sum
              ? std::numeric_limits<std::uint64_t>::max()
              : sum + added;
}

std::string Beyond(std::uint64_t count, const char* what, std::uint64_t placed,
                   std::uint64_t limit) {
    return "the model has " + std::to_string(count) + " " + what + " in its " +
           std::to_string(placed) + " placed meshes; one import takes at most " +
           std::to_string(limit) + " " + what;
}

}  // namespace

std::string SceneOverBudget(const aiScene& scene, bool fans, const HandBackBudget& budget) {
    // Each mesh is counted once, however many nodes place it.
    std::vector<PolygonCounts> perMesh(scene.mNumMeshes);
    std::vector<bool> counted(scene.mNumMeshes, false);
    std::uint64_t placed = 0, faces = 0, corners = 0, names = 0;
    ForEachPlacedMesh(scene, *scene.mRootNode, aiMatrix4x4(),
                      [&](unsigned index, const aiMatrix4x4&, const aiString& name) {
                          if (!counted[index]) {
                              perMesh[index] = CountPolygons(*scene.mMeshes[index], fans);
                              counted[index] = true;
                          }
                          if (perMesh[index].faces == 0) {
                              return;  // nothing of it is handed back
                          }
                          ++placed;
                          AddSaturating(faces, perMesh[index].faces);
                          AddSaturating(corners, perMesh[index].corners);
                          AddSaturating(names, name.length);
                      });
    if (placed > budget.meshes) {
        return "the model places meshes " + std::to_string(placed) +
               " times; one import takes at most " + std::to_string(budget.meshes) + " meshes";
    }
    if (faces > budget.faces) {
        return Beyond(faces, "faces", placed, budget.faces);
    }
    if (corners > budget.corners) {
        return Beyond(corners, "face corners", placed, budget.corners);
    }
    if (names > budget.nameBytes) {
        return Beyond(names, "bytes of object names", placed, budget.nameBytes);
    }
    return {};
}

std::string VerticesOverBudget(std::uint64_t vertices, std::uint64_t placed,
                               const HandBackBudget& budget) {
    return "the model has more than " + std::to_string(budget.vertices) + " vertices: its first " +
           std::to_string(placed) + " placed meshes have " + std::to_string(vertices) +
           "; one import takes at most " + std::to_string(budget.vertices) + " vertices";
}

}  // namespace korvane
