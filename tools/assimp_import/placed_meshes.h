#pragma once

#include <assimp/scene.h>

// What of an assimp scene becomes objects, walked the same way when it is measured against the
// budget and when it is handed back.

namespace korvane {

// assimp names the roots it makes up for formats without nodes "<OFFRoot>", "<3DSRoot>", ...
inline bool OwnName(const aiString& name) {
    return name.length > 0 && !(name.data[0] == '<' && name.data[name.length - 1] == '>');
}

// Calls visit(index, transform, name) for every mesh that a node places (index into
// scene.mMeshes), once per node that uses it, with the node's accumulated transform and the
// object's name: the node's, else the mesh's, else empty (Korvane names the object after the file).
template <class Visit>
void ForEachPlacedMesh(const aiScene& scene, const aiNode& node, const aiMatrix4x4& parent,
                       Visit&& visit) {
    const aiMatrix4x4 global = parent * node.mTransformation;
    for (unsigned i = 0; i < node.mNumMeshes; ++i) {
        if (node.mMeshes[i] < scene.mNumMeshes) {
            const aiMesh& mesh = *scene.mMeshes[node.mMeshes[i]];
            visit(node.mMeshes[i], global,
                  OwnName(node.mName)   ? node.mName
                  : OwnName(mesh.mName) ? mesh.mName
                                        : aiString());
        }
    }
    for (unsigned i = 0; i < node.mNumChildren; ++i) {
        ForEachPlacedMesh(scene, *node.mChildren[i], global, visit);
    }
}

// The polygons of a mesh as they are handed back: faces that name a vertex the mesh lacks, and
// points, are left out. With `fans` (see DeclaresNgonFans), a triangle that goes on from the last
// side of the polygon before it, from the same first corner, joins that polygon. Calls
// start(face) for a face that begins a polygon and extend(corner) for a corner that a fan adds.
template <class Start, class Extend>
void ForEachPolygon(const aiMesh& mesh, bool fans, Start&& start, Extend&& extend) {
    fans = fans && mesh.mPrimitiveTypes == aiPrimitiveType_TRIANGLE;
    bool any = false;
    unsigned first = 0, last = 0;  // of the polygon so far
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        bool inRange = face.mNumIndices >= 2;
        for (unsigned k = 0; inRange && k < face.mNumIndices; ++k) {
            inRange = face.mIndices[k] < mesh.mNumVertices;
        }
        if (!inRange) {
            continue;
        }
        if (fans && face.mNumIndices == 3 && any && first == face.mIndices[0] &&
            last == face.mIndices[1]) {
            last = face.mIndices[2];
            extend(last);
            continue;
        }
        any = true;
        first = face.mIndices[0];
        last = face.mIndices[face.mNumIndices - 1];
        start(face);
    }
}

}  // namespace korvane
