#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "document/object_store.h"
#include "export/rvp_writer.h"
#include "export/surface_mesh_builder.h"
#include "fuzz/fuzz_checks.h"
#include "import/lightwave_reader.h"
#include "import/metasequoia_reader.h"
#include "import/model_format.h"
#include "import/rvp_reader.h"
#include "patch/bezier_net.h"
#include "patch/curve_connector.h"
#include "patch/patch_builder.h"
#include "support/rvp_reader.h"

// Everything a conversion does, in memory: import by content, Connect Curve at a limit taken from
// the input's last byte (0 to 360 degrees), patch detection, every patch's nets, the surface mesh,
// and the export, which must read back with as many points and splines as the objects hold.

namespace korvane::fuzz {
namespace {

constexpr std::size_t kFormatProbeBytes = 64;

ImportResult ImportByContent(std::string_view bytes, ObjectStore& store) {
    switch (DetectModelFormat(bytes.substr(0, kFormatProbeBytes))) {
        case ModelFormat::kMetasequoia:
            return ImportMetasequoiaBytes(bytes, store);
        case ModelFormat::kLightWave:
            return ImportLightWaveBytes(bytes, "fuzz", store);
        case ModelFormat::kRuvoPatch: {
            // A refused ruvoPatch file adds nothing, like a file of no known kind.
            const RvpReadResult read = ImportRvpBytes(bytes, store);
            return ImportResult{.status = read.error.empty() ? ImportStatus::kImported
                                                             : ImportStatus::kNotThatFormat,
                                .objectsAdded = read.objectsAdded};
        }
        case ModelFormat::kUnknown:
            break;
    }
    return ImportResult{.status = ImportStatus::kNotThatFormat};
}

void BuildEveryNet(const PatchObject& object) {
    for (const Patch& patch : object.Patches()) {
        Require(patch.cornerCount == 3 || patch.cornerCount == 4, "patches have 3 or 4 sides");
        if (patch.cornerCount == 4) {
            BezierNet net;
            QuadNet(object, patch, net);
        } else {
            std::array<BezierNet, 3> nets;
            TriangleNets(object, patch, nets);
        }
    }
}

// Finite positions that the triangles name, and normals of unit length or, where the surface has
// no direction, zero.
void RequireSoundSurfaceMesh(PatchObject& object) {
    const SurfaceMesh mesh = BuildSurfaceMesh(object, 1);
    Require(mesh.normals.size() == mesh.positions.size(), "a normal per vertex");
    for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
        const Vec3& p = mesh.positions[i];
        const Vec3& n = mesh.normals[i];
        Require(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z),
                "mesh positions are finite");
        const double squared = double{n.x} * n.x + double{n.y} * n.y + double{n.z} * n.z;
        Require(squared == 0.0 || std::fabs(squared - 1.0) < 1e-5, "normals are unit or zero");
    }
    for (const std::uint32_t corner : mesh.triangles) {
        Require(corner < mesh.positions.size(), "triangles name mesh vertices");
    }
}

void RequireExportReadsBack(const ObjectStore& store) {
    const std::vector<std::uint8_t> serialized = SerializeRvp(store.objects);
    const std::string file(serialized.begin(), serialized.end());  // the reader keeps a reference
    testing::RvpReader reader(file);
    const auto objects = reader.Read();
    Require(objects.has_value(), reader.error());
    Require(static_cast<std::int32_t>(objects->size()) == store.objects.GetCount(),
            "the export holds every object");
    std::size_t i = 0;
    for (const PatchObject* object : store.objects) {
        const testing::RvpObject& written = (*objects)[i++];
        Require(written.name == object->name, "names are written as they are");
        Require(static_cast<std::int32_t>(written.points.size()) == object->PointCount(),
                "every control point is written");
        Require(static_cast<std::int32_t>(written.splines.size()) == object->SplineCount(),
                "every spline is written");
    }
}

}  // namespace
}  // namespace korvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvane;
    const std::string_view bytes = fuzz::AsBytes(data, size);
    ObjectStore store;
    fuzz::RequireHonestImport(fuzz::ImportByContent(bytes, store), store);
    if (store.objects.IsEmpty()) {
        return 0;
    }
    const float limitDegrees = size == 0 ? 0.0f : data[size - 1] * (360.0f / 255.0f);
    for (PatchObject* object : store.objects) {
        object->DeletePatches();
        ConnectCurves(*object, limitDegrees, {});
        ComputeHandles(*object);
        DetectPatches(*object);
        fuzz::BuildEveryNet(*object);
        fuzz::RequireSoundSurfaceMesh(*object);
    }
    fuzz::RequireSoundNetworks(store);
    fuzz::RequireExportReadsBack(store);
    return 0;
}
