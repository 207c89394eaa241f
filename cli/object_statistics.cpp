#include "cli/object_statistics.h"

#include <algorithm>
#include <cstdio>

#include "cli/text_encoding.h"

namespace korvane::cli {
namespace {

// The packed colour is 0x00BBGGRR: red in the low byte.
std::uint32_t Red(std::uint32_t colour) {
    return colour & 0xFFu;
}
std::uint32_t Green(std::uint32_t colour) {
    return (colour >> 8) & 0xFFu;
}
std::uint32_t Blue(std::uint32_t colour) {
    return (colour >> 16) & 0xFFu;
}

std::string Colour(std::uint32_t colour) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", Red(colour), Green(colour), Blue(colour));
    return text;
}

// A name as one table cell: control characters, which would break the row, become U+FFFD.
std::string Cell(const std::string& name) {
    std::string cell;
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        cell += (b < 0x20 || b == 0x7F) ? std::string("\xEF\xBF\xBD") : std::string(1, c);
    }
    return cell;
}

// Left-aligned in nameWidth terminal columns, two spaces, the colour in seven, then the counts.
std::string Row(const std::string& name, int nameWidth, const std::string& colour,
                const std::string& counts) {
    std::string row = name;
    row.append(static_cast<std::size_t>(std::max(0, nameWidth - DisplayWidth(name))), ' ');
    row += "  " + colour;
    row.append(colour.size() < 7 ? 7 - colour.size() : 0, ' ');
    return row + counts + "\n";
}

std::string Counts(const ObjectCounts& s) {
    char counts[160];
    std::snprintf(counts, sizeof counts, "%10lld %8lld %7lld %9lld %8lld %8lld",
                  static_cast<long long>(s.controlPoints), static_cast<long long>(s.splines),
                  static_cast<long long>(s.closedSplines), static_cast<long long>(s.nodes),
                  static_cast<long long>(s.triPatches), static_cast<long long>(s.quadPatches));
    return counts;
}

std::string Degrees(float degrees) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", static_cast<double>(degrees));
    return text;
}

// "smooth everywhere", or where the smooth surfaces cannot be.
std::string SmoothnessText(const SmoothnessCounts& s) {
    if (s.pointsOffPlane == 0 && s.creaseSides == 0) {
        return "smooth everywhere";
    }
    std::string text;
    if (s.pointsOffPlane > 0) {
        text = std::to_string(s.pointsOffPlane) +
               (s.pointsOffPlane == 1 ? " patch corner whose curve tangents lie"
                                      : " patch corners whose curve tangents lie") +
               " in no one plane (worst " + Degrees(s.worstResidualDegrees) + " degrees out)";
    }
    if (s.creaseSides > 0) {
        text +=
            (text.empty() ? "" : ", ") + std::to_string(s.creaseSides) +
            (s.creaseSides == 1 ? " patch side kept as a crease" : " patch sides kept as creases");
    }
    return text;
}

std::string SmoothnessJson(const ObjectCounts& s) {
    if (!s.smoothness) {
        return {};
    }
    return ", \"smoothness\": {\"points_off_plane\": " +
           std::to_string(s.smoothness->pointsOffPlane) +
           ", \"worst_residual_degrees\": " + Degrees(s.smoothness->worstResidualDegrees) +
           ", \"crease_sides\": " + std::to_string(s.smoothness->creaseSides) + "}";
}

std::string CountsJson(const ObjectCounts& s) {
    return "\"control_points\": " + std::to_string(s.controlPoints) +
           ", \"splines\": " + std::to_string(s.splines) +
           ", \"closed_splines\": " + std::to_string(s.closedSplines) +
           ", \"nodes\": " + std::to_string(s.nodes) +
           ", \"tri_patches\": " + std::to_string(s.triPatches) +
           ", \"quad_patches\": " + std::to_string(s.quadPatches);
}

}  // namespace

std::string FormatStatisticsText(const DocumentCounts& counts,
                                 const std::vector<std::string>& messages) {
    const std::size_t count = counts.objects.size();
    const std::string total =
        "total (" + std::to_string(count) + (count == 1 ? " object)" : " objects)");
    std::vector<std::string> names;
    int nameWidth = std::max(DisplayWidth("name"), DisplayWidth(total));
    for (const ObjectCounts& s : counts.objects) {
        names.push_back(Cell(NameForReading(s.name)));
        nameWidth = std::max(nameWidth, DisplayWidth(names.back()));
    }
    std::string out =
        Row("name", nameWidth, "colour", "    points  splines  closed     nodes  3-point  4-point");
    for (std::size_t i = 0; i < count; ++i) {
        out +=
            Row(names[i], nameWidth, Colour(counts.objects[i].colour), Counts(counts.objects[i]));
    }
    out += Row(total, nameWidth, "-", Counts(counts.totals));
    for (std::size_t i = 0; i < count; ++i) {
        if (counts.objects[i].smoothness) {
            out += "smooth surfaces of " + names[i] + ": " +
                   SmoothnessText(*counts.objects[i].smoothness) + "\n";
        }
    }
    for (const std::string& message : messages) {
        out += "message: " + message + "\n";
    }
    return out;
}

std::string FormatStatisticsJson(const DocumentCounts& counts,
                                 const std::vector<std::string>& messages) {
    std::string out = "{\"objects\": [";
    bool first = true;
    for (const ObjectCounts& s : counts.objects) {
        out += first ? "\n  " : ",\n  ";
        first = false;
        out += "{\"name\": " + JsonString(NameForReading(s.name)) + ", \"name_hex\": \"" +
               HexBytes(s.name) + "\", \"colour\": " + std::to_string(s.colour) + ", \"rgb\": [" +
               std::to_string(Red(s.colour)) + ", " + std::to_string(Green(s.colour)) + ", " +
               std::to_string(Blue(s.colour)) + "], " + CountsJson(s) + SmoothnessJson(s) + "}";
    }
    out += "],\n \"totals\": {\"objects\": " + std::to_string(counts.objects.size()) + ", " +
           CountsJson(counts.totals) + SmoothnessJson(counts.totals) + "},\n \"messages\": [";
    first = true;
    for (const std::string& message : messages) {
        out += (first ? "" : ", ") + JsonString(message);
        first = false;
    }
    out += "]}\n";
    return out;
}

}  // namespace korvane::cli
