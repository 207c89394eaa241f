#pragma once

#include <assimp/scene.h>

#include <string>

#include "import/assimp_handback.h"

namespace korvane {

// How the placed meshes of the scene (every node's use of a mesh counted, as it is handed back)
// go beyond the budget in meshes, faces, corners or name bytes, in one line for the user; empty
// when they fit. Vertices are welded only as each mesh is handed back and are counted there.
std::string SceneOverBudget(const aiScene& scene, bool fans, const HandBackBudget& budget);

// The line for a hand-back that reached the vertex budget after `placed` meshes.
std::string VerticesOverBudget(std::uint64_t vertices, std::uint64_t placed,
                               const HandBackBudget& budget);

}  // namespace korvane
