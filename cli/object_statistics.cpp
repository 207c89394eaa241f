#include "cli/object_statistics.h"

#include <cstdio>

#include "cli/text_encoding.h"
#include "patch/patch_builder.h"

namespace korvane::cli {
namespace {

ObjectStatistics CountObject(PatchObject& object) {
    if (object.patchesValid == 0) {
        DetectPatches(object);
    }
    ObjectStatistics s;
    s.name = object.name;
    s.colour = object.colour;
    s.controlPoints = object.controlPoints.GetCount();
    s.splines = object.splines.GetCount();
    for (const Spline* spline : object.splines) {
        s.closedSplines += spline->closed != 0 ? 1 : 0;
        s.nodes += spline->nodes.GetCount();
    }
    for (const Patch* patch : object.patches) {
        (patch->cornerCount == 3 ? s.triPatches : s.quadPatches) += 1;
    }
    return s;
}

void AddTo(ObjectStatistics& totals, const ObjectStatistics& s) {
    totals.controlPoints += s.controlPoints;
    totals.splines += s.splines;
    totals.closedSplines += s.closedSplines;
    totals.nodes += s.nodes;
    totals.triPatches += s.triPatches;
    totals.quadPatches += s.quadPatches;
}

std::string Colour(std::uint32_t colour) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06X", colour & 0xFFFFFFu);
    return text;
}

std::string Row(const std::string& name, const std::string& colour, const ObjectStatistics& s) {
    char counts[160];
    std::snprintf(counts, sizeof counts, "%10lld %8lld %7lld %9lld %8lld %8lld",
                  static_cast<long long>(s.controlPoints), static_cast<long long>(s.splines),
                  static_cast<long long>(s.closedSplines), static_cast<long long>(s.nodes),
                  static_cast<long long>(s.triPatches), static_cast<long long>(s.quadPatches));
    std::string row = name;
    row += "\t" + colour + "\t" + counts + "\n";
    return row;
}

std::string CountsJson(const ObjectStatistics& s) {
    return "\"control_points\": " + std::to_string(s.controlPoints) +
           ", \"splines\": " + std::to_string(s.splines) +
           ", \"closed_splines\": " + std::to_string(s.closedSplines) +
           ", \"nodes\": " + std::to_string(s.nodes) +
           ", \"tri_patches\": " + std::to_string(s.triPatches) +
           ", \"quad_patches\": " + std::to_string(s.quadPatches);
}

}  // namespace

DocumentStatistics CountDocument(const ObjectList<PatchObject>& objects) {
    DocumentStatistics statistics;
    for (PatchObject* object : objects) {
        statistics.objects.push_back(CountObject(*object));
        AddTo(statistics.totals, statistics.objects.back());
    }
    return statistics;
}

std::string FormatStatisticsText(const DocumentStatistics& statistics,
                                 const std::vector<std::string>& messages) {
    std::string out = "name\tcolour\t    points  splines  closed     nodes  3-point  4-point\n";
    for (const ObjectStatistics& s : statistics.objects) {
        out += Row(NameForReading(s.name), Colour(s.colour), s);
    }
    out += Row("total (" + std::to_string(statistics.objects.size()) + " objects)", "-",
               statistics.totals);
    for (const std::string& message : messages) {
        out += "message: " + message + "\n";
    }
    return out;
}

std::string FormatStatisticsJson(const DocumentStatistics& statistics,
                                 const std::vector<std::string>& messages) {
    std::string out = "{\"objects\": [";
    bool first = true;
    for (const ObjectStatistics& s : statistics.objects) {
        out += first ? "\n  " : ",\n  ";
        first = false;
        out += "{\"name\": " + JsonString(NameForReading(s.name)) + ", \"name_hex\": \"" +
               HexBytes(s.name) + "\", \"colour\": " + std::to_string(s.colour) + ", " +
               CountsJson(s) + "}";
    }
    out += "],\n \"totals\": {\"objects\": " + std::to_string(statistics.objects.size()) + ", " +
           CountsJson(statistics.totals) + "},\n \"messages\": [";
    first = true;
    for (const std::string& message : messages) {
        out += (first ? "" : ", ") + JsonString(message);
        first = false;
    }
    out += "]}\n";
    return out;
}

}  // namespace korvane::cli
