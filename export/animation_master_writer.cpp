#include "export/animation_master_writer.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "export/animation_master_axes.h"
#include "export/atomic_file_writer.h"
#include "export/mdl_patch_rows.h"
#include "export/text_lines.h"

namespace korvane {
namespace {

// CP flags: bit 0 smooth (clear: peaked), bit 2 on the last CP of a closed spline.
constexpr std::int64_t kSmooth = 1;
constexpr std::int64_t kClosesSpline = 4;

// An object that goes into the file, with the id of its first CP.
struct WrittenObject {
    const PatchObject* object;
    std::int64_t firstId;
    std::size_t place;  // in the document, from 0
};

void PutEmptyBlock(TextLines& out, std::string_view tag) {
    out.Text("<").Text(tag).Line(">").Text("</").Text(tag).Line(">");
}

void PutColour(TextLines& out, std::uint32_t colour) {
    out.Text("DiffuseColor=")
        .Integer(colour & 0xFF)
        .Space()
        .Integer((colour >> 8) & 0xFF)
        .Space()
        .Integer((colour >> 16) & 0xFF)
        .End();
}

// One <SPLINE> per spline, one CP per node; CP ids run on from written.firstId in node order.
// holder[p] is the id of the CP that holds point p's position, 0 until one is written.
void PutSplines(TextLines& out, const WrittenObject& written) {
    const PatchObject& object = *written.object;
    std::vector<std::int64_t> holder(object.Points().size(), 0);
    for (std::int32_t spline = 0; spline < object.SplineCount(); ++spline) {
        out.Line("<SPLINE>");
        const std::span<const SplineNode> nodes = object.SplineNodes(spline);
        std::int64_t id = written.firstId + object.SplineStarts()[static_cast<std::size_t>(spline)];
        for (std::size_t i = 0; i < nodes.size(); ++i, ++id) {
            const SplineNode& node = nodes[i];
            const bool last = i + 1 == nodes.size();
            out.Integer((node.corner ? 0 : kSmooth) |
                        (last && object.Closed(spline) ? kClosesSpline : 0))
                .Space();
            std::int64_t& held = holder[static_cast<std::size_t>(node.controlPoint)];
            if (held != 0) {
                out.Text("1 ").Integer(id).Space().Integer(held);
            } else {
                held = id;
                const PatchVec3 at = ToAnimationMasterAxes(object.PointOf(node));
                out.Text("0 ").Integer(id).Space().Number(at.x).Space().Number(at.y).Space().Number(
                    at.z);
            }
            out.Line(" . .");
        }
        out.Line("</SPLINE>");
    }
}

// Attribute 0 is the model's own surface, as A:M writes it; object k's patches name k + 1.
void PutPatches(TextLines& out, const std::vector<WrittenObject>& objects) {
    NormalTable normals;
    out.Line("<PATCHES>");
    for (std::size_t k = 0; k < objects.size(); ++k) {
        for (const MdlPatchRow& row :
             MdlPatchRows(*objects[k].object, objects[k].firstId, normals)) {
            out.Integer(row.flags);
            for (const std::int64_t corner : row.corners) {
                out.Space().Integer(corner);
            }
            for (const std::int32_t normal : row.normals) {
                out.Space().Integer(normal);
            }
            out.Space().Integer(static_cast<std::int64_t>(k + 1)).End();
        }
    }
    out.Line("</PATCHES>");
    out.Line("<NORMALS>");
    for (const NormalTable::Millionths& n : normals.normals()) {
        out.Decimal(n[0], 6).Space().Decimal(n[1], 6).Space().Decimal(n[2], 6).End();
    }
    out.Line("</NORMALS>");
    out.Line("<ATTRS>");
    PutEmptyBlock(out, "ATTRIBUTE");
    for (const WrittenObject& written : objects) {
        out.Line("<ATTRIBUTE>");
        PutColour(out, written.object->colour);
        out.Line("</ATTRIBUTE>");
    }
    out.Line("</ATTRS>");
}

// One group per object: its name, every CP of its splines, its colour.
void PutGroups(TextLines& out, const std::vector<WrittenObject>& objects) {
    if (objects.empty()) {
        return;
    }
    out.Line("<GROUPS>");
    for (const WrittenObject& written : objects) {
        out.Line("<GROUP>");
        out.Text("Name=").Line(AnimationMasterGroupName(written.object->name, written.place));
        out.Line("<CPS>");
        const std::int64_t end = written.firstId + written.object->NodeCount();
        for (std::int64_t id = written.firstId; id < end; ++id) {
            out.Integer(id).End();
        }
        out.Line("</CPS>");
        PutColour(out, written.object->colour);
        out.Line("</GROUP>");
    }
    out.Line("</GROUPS>");
}

}  // namespace

std::string AnimationMasterGroupName(const std::string& name, std::size_t place) {
    if (name.empty()) {
        return "object" + std::to_string(place + 1);
    }
    std::string out = name;
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            c = '_';
        }
    }
    return out;
}

std::string SerializeAnimationMaster(const ObjectList<PatchObject>& objects) {
    std::vector<WrittenObject> written;
    std::int64_t nextId = 1;
    std::size_t place = 0;
    for (PatchObject* object : objects) {
        if (object->SplineCount() > 0) {
            written.push_back({object, nextId, place});
            nextId += object->NodeCount();
        }
        ++place;
    }

    TextLines out("\r\n");
    // A CP line and its group line take some 50 bytes, a patch with its normals some 90.
    std::size_t estimate = 1024;
    for (const WrittenObject& object : written) {
        estimate += 50 * object.object->Nodes().size() + 90 * object.object->Patches().size();
    }
    out.Reserve(estimate);
    out.Line("<MODELFILE>").Line("ProductVersion=17").Line("Release= PC");
    for (const std::string_view block : {"POSTEFFECTS", "IMAGES", "SOUNDS", "MATERIALS"}) {
        PutEmptyBlock(out, block);
    }
    out.Line("<OBJECTS>").Line("<MODEL>").Line("<MESH>");
    for (const WrittenObject& object : written) {
        PutSplines(out, object);
    }
    PutPatches(out, written);
    out.Line("</MESH>");
    PutGroups(out, written);
    out.Line("</MODEL>").Line("</OBJECTS>");
    PutEmptyBlock(out, "ACTIONS");
    PutEmptyBlock(out, "CHOREOGRAPHIES");
    out.Line("</MODELFILE>");
    return out.Take();
}

WriteResult WriteAnimationMasterFile(const std::string& path,
                                     const ObjectList<PatchObject>& objects) {
    const std::string text = SerializeAnimationMaster(objects);
    return WriteFileAtomically(path,
                               {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

}  // namespace korvane
