#include "import/finish_object.h"

#include "mesh/mesh_editor.h"
#include "patch/patch_builder.h"

namespace korvane {

std::int32_t FinishObject(PolyMesh& mesh, ObjectSink& sink) {
    const std::int32_t dropped = mesh.DropInvalidFaces();
    MeshEditor editor(&mesh);
    editor.BuildEdges();
    editor.BuildVertexFaceLists();
    if (mesh.NeedsModifiers()) {
        editor.ApplyModifiers();
    }
    if (mesh.edgesValid == 0) {
        editor.BuildEdges();
    }
    mesh.ClearFaces();

    PatchObject* object = sink.AddObject();
    object->name = mesh.name;
    object->colour = mesh.colour;
    BuildFromMesh(mesh, *object);
    editor.ClearGeometry();
    ComputeHandles(*object);
    return dropped;
}

}  // namespace korvane
