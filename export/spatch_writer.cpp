#include "export/spatch_writer.h"

#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "export/atomic_file_writer.h"
#include "export/text_lines.h"

namespace korvane {
namespace {

// Point ids of every object's points on a curve, in point order; -1 for a lone point.
struct PointIds {
    std::vector<std::vector<std::int64_t>> ofObject;
    std::int64_t count = 0;
};

PointIds NumberPoints(const ObjectList<PatchObject>& objects) {
    PointIds ids;
    for (const PatchObject* object : objects) {
        std::vector<std::int64_t>& own = ids.ofObject.emplace_back(object->Points().size(), -1);
        for (std::int32_t point = 0; point < object->PointCount(); ++point) {
            if (!object->RefsOf(point).empty()) {
                own[static_cast<std::size_t>(point)] = ids.count++;
            }
        }
    }
    return ids;
}

void PutPoints(TextLines& out, const ObjectList<PatchObject>& objects, const PointIds& ids) {
    out.Text("num_points ").Integer(ids.count).End();
    std::int64_t firstCurve = 0;
    for (const PatchObject* object : objects) {
        for (std::int32_t point = 0; point < object->PointCount(); ++point) {
            const std::span<const SplineRef> refs = object->RefsOf(point);
            if (refs.empty()) {
                continue;
            }
            const PatchVec3& at = object->Points()[static_cast<std::size_t>(point)];
            out.Number(at.x).Space().Number(at.y).Space().Number(at.z).End();
            out.Line("0").Line("0");  // the layer, and a field that is always 0
            out.Integer(static_cast<std::int64_t>(refs.size())).End();
            for (const SplineRef& ref : refs) {
                out.Integer(firstCurve + ref.spline)
                    .Space()
                    .Integer(ref.node -
                             object->SplineStarts()[static_cast<std::size_t>(ref.spline)])
                    .End();
            }
        }
        firstCurve += object->SplineCount();
    }
}

void PutCurves(TextLines& out, const ObjectList<PatchObject>& objects, const PointIds& ids) {
    std::int64_t curves = 0;
    for (const PatchObject* object : objects) {
        curves += object->SplineCount();
    }
    out.Text("num_curves ").Integer(curves).End();
    std::size_t k = 0;
    for (const PatchObject* object : objects) {
        const std::vector<std::int64_t>& own = ids.ofObject[k++];
        for (std::int32_t spline = 0; spline < object->SplineCount(); ++spline) {
            out.Integer(object->SplineNodeCount(spline))
                .Space()
                .Integer(object->Closed(spline) ? 1 : 0)
                .End();
            const std::int32_t first = object->SplineStarts()[static_cast<std::size_t>(spline)];
            for (std::int32_t node = first; node < first + object->SplineNodeCount(spline);
                 ++node) {
                const SplineNode& at = object->Nodes()[static_cast<std::size_t>(node)];
                out.Integer(own[static_cast<std::size_t>(at.controlPoint)])
                    .Space()
                    .Integer(at.corner ? 0 : 1)
                    .Space()
                    .Number(SPatchCurvature(*object, spline, node))
                    .End();
            }
        }
    }
}

}  // namespace

float SPatchCurvature(const PatchObject& object, std::int32_t spline, std::int32_t node) {
    const SplineNode& at = object.Nodes()[static_cast<std::size_t>(node)];
    const std::int32_t next = object.Successor(spline, node);
    const bool outgoing = next >= 0;
    const std::int32_t other = outgoing ? next : object.Predecessor(spline, node);
    float curvature = at.tension;
    if (other >= 0) {
        const PatchVec3& centre = object.PointOf(at);
        const float distance = Length(
            Subtract(object.PointOf(object.Nodes()[static_cast<std::size_t>(other)]), centre));
        const float handle = Length(
            Subtract(at.Handle(outgoing ? HandleDirection::kOut : HandleDirection::kIn), centre));
        if (distance > 0.0f && std::isfinite(handle / distance)) {
            curvature = handle / distance;
        }
    }
    return std::isfinite(curvature) ? curvature : 0.0f;
}

std::string SerializeSPatch(const ObjectList<PatchObject>& objects) {
    const PointIds ids = NumberPoints(objects);
    TextLines out("\r\n");
    // A point takes some 40 bytes, each of its curves 10 more, a node some 20.
    std::size_t estimate = 1024;
    for (const PatchObject* object : objects) {
        estimate += 40 * object->Points().size() + 30 * object->Refs().size();
    }
    out.Reserve(estimate);
    out.Line("sPatches").Line("version 2").Line("visibility FALSE").Line("selection FALSE");
    PutPoints(out, objects, ids);
    PutCurves(out, objects, ids);
    return out.Take();
}

WriteResult WriteSPatchFile(const std::string& path, const ObjectList<PatchObject>& objects) {
    const std::string text = SerializeSPatch(objects);
    return WriteFileAtomically(path,
                               {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

}  // namespace korvane
