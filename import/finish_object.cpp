#include "import/finish_object.h"

#include <algorithm>
#include <cstdint>

#include "mesh/mesh_operations.h"
#include "patch/patch_builder.h"

namespace korvane {

namespace {

// A lathe turns every line into one quad per segment, and the file sets the segment count freely:
// one small object could ask for more geometry than memory holds. Past this many quads, counted
// after the mirror copies, the object is kept unswept, so that memory follows the file's size.
// Modellers' lathes (a profile of a few hundred lines at a few hundred segments, mirrored) stay
// well below; converting and joining a lathe at the cap peaks at about 0.9 GB.
constexpr std::int64_t kMaxSweptQuads = std::int64_t{1} << 21;

std::int64_t MirrorCopies(const PolyMesh& mesh) {
    if (mesh.mirror == MirrorMode::kNone) {
        return 1;
    }
    const int axes = int{mesh.mirrorAxisX} + int{mesh.mirrorAxisY} + int{mesh.mirrorAxisZ};
    return std::int64_t{1} << axes;
}

bool LatheFits(const PolyMesh& mesh) {
    const std::int64_t segments = mesh.latheSegments > 3 ? mesh.latheSegments : 3;
    return mesh.lines.count() * segments <= kMaxSweptQuads / MirrorCopies(mesh);
}

}  // namespace

FinishedObject FinishObject(PolyMesh& mesh, ObjectSink& sink) {
    FinishedObject finished;
    finished.droppedFaces = mesh.DropInvalidFaces();
    finished.droppedFaces += std::min(mesh.droppedOutlines, INT32_MAX - finished.droppedFaces);
    finished.outlineFaces = mesh.outlineFaces;
    if (mesh.lathe && !LatheFits(mesh)) {
        mesh.lathe = false;
        finished.latheLeftOut = true;
    }
    BuildEdges(mesh);
    // The per-vertex face lists serve only the connected mirror, which builds them itself.
    if (mesh.NeedsModifiers()) {
        ApplyModifiers(mesh);
    }
    if (!mesh.edgesValid) {
        BuildEdges(mesh);
    }
    mesh.ClearFaces();

    PatchObject* object = sink.AddObject();
    object->name = mesh.name;
    object->colour = mesh.colour;
    BuildFromMesh(mesh, *object);
    ClearGeometry(mesh);
    ComputeHandles(*object);
    return finished;
}

}  // namespace korvane
