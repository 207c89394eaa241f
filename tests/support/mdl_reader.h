#pragma once

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// An independent reader of Animation:Master model files for tests: it reads the parts that hold a
// spline-patch network (splines, patches, normals, attributes, groups), skips every other block,
// and refuses text whose tags do not nest or whose network lines do not parse. MdlProblems then
// checks the rules that tie the parts together, on A:M's own files and on exported ones alike.
namespace korvane::testing {

using MdlVector = std::array<float, 3>;
using MdlColour = std::array<int, 3>;

struct MdlCp {
    std::int64_t flags = 0;
    std::int64_t id = 0;
    bool attached = false;
    std::int64_t target = 0;  // attached: the CP it sits on
    MdlVector position{};     // otherwise
    std::string out, in;      // the tangent biases: "." or three numbers
};

struct MdlPatch {
    std::int64_t flags = 0;
    std::array<std::int64_t, 4> corners{};
    std::array<std::int64_t, 4> normals{};
    std::int64_t attribute = 0;
    bool IsTriangle() const { return corners[3] == corners[0]; }
    int CornerCount() const { return IsTriangle() ? 3 : 4; }
};

struct MdlGroup {
    std::string name;
    std::vector<std::int64_t> cps;
    std::optional<MdlColour> colour;
};

struct MdlFile {
    std::string productVersion;
    std::string release;
    int models = 0;
    int meshes = 0;
    std::vector<std::vector<MdlCp>> splines;
    std::vector<MdlPatch> patches;
    std::vector<MdlVector> normals;
    std::vector<std::optional<MdlColour>> attributes;  // DiffuseColor of each ATTRIBUTE
    std::vector<MdlGroup> groups;
};

// The CPs of a file by id, with their spline and place in it, and the CP that holds each one's
// position (its root).
class MdlIndex {
  public:
    explicit MdlIndex(const MdlFile& file) : file_(file) {
        for (std::size_t s = 0; s < file.splines.size(); ++s) {
            for (std::size_t i = 0; i < file.splines[s].size(); ++i) {
                const std::int64_t id = file.splines[s][i].id;
                if (!at_.try_emplace(id, s, i).second) {
                    duplicates_.push_back(id);
                }
            }
        }
    }

    const std::vector<std::int64_t>& duplicates() const { return duplicates_; }
    bool Has(std::int64_t id) const { return at_.count(id) != 0; }
    const MdlCp& Cp(std::int64_t id) const {
        const auto [s, i] = at_.at(id);
        return file_.splines[s][i];
    }
    std::pair<std::size_t, std::size_t> Place(std::int64_t id) const { return at_.at(id); }

    // The positioned CP under id, or nothing when a target is missing or the chain loops.
    std::optional<std::int64_t> Root(std::int64_t id) const {
        for (std::size_t steps = 0; steps <= at_.size(); ++steps) {
            if (!Has(id)) {
                return std::nullopt;
            }
            const MdlCp& cp = Cp(id);
            if (!cp.attached) {
                return id;
            }
            id = cp.target;
        }
        return std::nullopt;
    }

  private:
    const MdlFile& file_;
    std::map<std::int64_t, std::pair<std::size_t, std::size_t>> at_;
    std::vector<std::int64_t> duplicates_;
};

class MdlReader {
  public:
    explicit MdlReader(std::string bytes) : bytes_(std::move(bytes)) {}

    // The file, or nothing with error() set.
    std::optional<MdlFile> Read() {
        std::size_t at = 0;
        while (at < bytes_.size()) {
            const std::size_t end = bytes_.find("\r\n", at);
            if (end == std::string::npos) {
                return Fail("the last line has no CRLF");
            }
            const std::string_view line(bytes_.data() + at, end - at);
            ++lineNumber_;
            if (line.find('\n') != std::string_view::npos ||
                line.find('\r') != std::string_view::npos) {
                return Fail("a line ends without CRLF");
            }
            if (!TakeLine(line)) {
                return std::nullopt;
            }
            at = end + 2;
        }
        if (!open_.empty()) {
            return Fail("<" + open_.back() + "> is not closed");
        }
        if (!seenModelFile_) {
            return Fail("no <MODELFILE>");
        }
        return file_;
    }

    const std::string& error() const { return error_; }

  private:
    std::nullopt_t Fail(const std::string& text) {
        if (error_.empty()) {
            error_ = "line " + std::to_string(lineNumber_) + ": " + text;
        }
        return std::nullopt;
    }

    bool Inside(std::initializer_list<std::string_view> path) const {
        if (open_.size() < path.size()) {
            return false;
        }
        auto tag = open_.end() - static_cast<std::ptrdiff_t>(path.size());
        for (const std::string_view expected : path) {
            if (*tag++ != expected) {
                return false;
            }
        }
        return true;
    }

    bool TakeLine(std::string_view line) {
        if (line.size() >= 2 && line.front() == '<' && line.back() == '>' &&
            line.find('=') == std::string_view::npos) {
            return TakeTag(line.substr(1, line.size() - 2));
        }
        if (open_.empty()) {
            return Fail("text outside <MODELFILE>"), false;
        }
        if (Inside({"MESH", "SPLINE"})) {
            return SplineLine(line);
        }
        if (Inside({"MESH", "PATCHES"})) {
            return PatchLine(line);
        }
        if (Inside({"MESH", "NORMALS"})) {
            MdlVector normal{};
            if (!Numbers(line, normal)) {
                return Fail("bad normal"), false;
            }
            file_.normals.push_back(normal);
            return true;
        }
        if (Inside({"ATTRS", "ATTRIBUTE"}) && line.starts_with("DiffuseColor=")) {
            return Colour(line, file_.attributes.back());
        }
        if (Inside({"GROUPS", "GROUP", "CPS"})) {
            std::int64_t id = 0;
            if (!Integer(line, id)) {
                return Fail("bad group CP"), false;
            }
            file_.groups.back().cps.push_back(id);
            return true;
        }
        if (Inside({"GROUPS", "GROUP"})) {
            if (line.starts_with("Name=")) {
                file_.groups.back().name = std::string(line.substr(5));
            } else if (line.starts_with("DiffuseColor=")) {
                return Colour(line, file_.groups.back().colour);
            }
            return true;
        }
        if (open_.size() == 1 && line.starts_with("ProductVersion=")) {
            file_.productVersion = std::string(line.substr(15));
        } else if (open_.size() == 1 && line.starts_with("Release=")) {
            file_.release = std::string(line.substr(8));
        }
        return true;
    }

    bool TakeTag(std::string_view tag) {
        if (tag.starts_with("/")) {
            if (open_.empty() || open_.back() != tag.substr(1)) {
                return Fail("<" + std::string(tag) + "> closes nothing open"), false;
            }
            open_.pop_back();
            return true;
        }
        if (open_.empty() && (tag != "MODELFILE" || seenModelFile_)) {
            return Fail("<" + std::string(tag) + "> outside <MODELFILE>"), false;
        }
        seenModelFile_ = true;
        open_.emplace_back(tag);
        if (Inside({"OBJECTS", "MODEL"})) {
            ++file_.models;
        } else if (Inside({"MODEL", "MESH"})) {
            ++file_.meshes;
        } else if (Inside({"MESH", "SPLINE"})) {
            file_.splines.emplace_back();
        } else if (Inside({"ATTRS", "ATTRIBUTE"})) {
            file_.attributes.emplace_back();
        } else if (Inside({"GROUPS", "GROUP"})) {
            file_.groups.emplace_back();
        }
        return true;
    }

    static std::vector<std::string_view> Tokens(std::string_view line) {
        std::vector<std::string_view> tokens;
        std::size_t at = 0;
        while (at < line.size()) {
            const std::size_t start = line.find_first_not_of(' ', at);
            if (start == std::string_view::npos) {
                break;
            }
            const std::size_t end = std::min(line.find(' ', start), line.size());
            tokens.push_back(line.substr(start, end - start));
            at = end;
        }
        return tokens;
    }

    static bool Integer(std::string_view text, std::int64_t& value) {
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return error == std::errc() && end == text.data() + text.size();
    }
    static bool Number(std::string_view text, float& value) {
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
    }
    static bool Numbers(std::string_view line, MdlVector& out) {
        const std::vector<std::string_view> tokens = Tokens(line);
        return tokens.size() == 3 && Number(tokens[0], out[0]) && Number(tokens[1], out[1]) &&
               Number(tokens[2], out[2]);
    }

    bool Colour(std::string_view line, std::optional<MdlColour>& colour) {
        const std::vector<std::string_view> tokens = Tokens(line.substr(line.find('=') + 1));
        MdlColour value{};
        for (std::size_t i = 0; i < 3; ++i) {
            std::int64_t channel = 0;
            if (tokens.size() != 3 || !Integer(tokens[i], channel) || channel < 0 ||
                channel > 255) {
                return Fail("bad colour"), false;
            }
            value[i] = static_cast<int>(channel);
        }
        colour = value;
        return true;
    }

    // A bias: "." or three numbers, from tokens[at]; at moves past it.
    static bool Bias(const std::vector<std::string_view>& tokens, std::size_t& at,
                     std::string& bias) {
        if (at < tokens.size() && tokens[at] == ".") {
            bias = ".";
            ++at;
            return true;
        }
        float value = 0.0f;
        if (at + 3 > tokens.size()) {
            return false;
        }
        bias.clear();
        for (std::size_t i = 0; i < 3; ++i, ++at) {
            if (!Number(tokens[at], value)) {
                return false;
            }
            bias += (i == 0 ? "" : " ") + std::string(tokens[at]);
        }
        return true;
    }

    bool SplineLine(std::string_view line) {
        const std::vector<std::string_view> tokens = Tokens(line);
        MdlCp cp;
        std::int64_t attached = 0;
        if (tokens.size() < 4 || !Integer(tokens[0], cp.flags) || !Integer(tokens[1], attached) ||
            (attached != 0 && attached != 1) || !Integer(tokens[2], cp.id)) {
            return Fail("bad CP"), false;
        }
        cp.attached = attached == 1;
        std::size_t at = 4;
        if (cp.attached) {
            if (!Integer(tokens[3], cp.target)) {
                return Fail("bad CP target"), false;
            }
        } else {
            at = 6;
            if (tokens.size() < 6 || !Number(tokens[3], cp.position[0]) ||
                !Number(tokens[4], cp.position[1]) || !Number(tokens[5], cp.position[2])) {
                return Fail("bad CP position"), false;
            }
        }
        if (!Bias(tokens, at, cp.out) || !Bias(tokens, at, cp.in) || at != tokens.size()) {
            return Fail("bad CP biases"), false;
        }
        file_.splines.back().push_back(cp);
        return true;
    }

    bool PatchLine(std::string_view line) {
        const std::vector<std::string_view> tokens = Tokens(line);
        MdlPatch patch;
        bool ok = tokens.size() == 10 && Integer(tokens[0], patch.flags) &&
                  Integer(tokens[9], patch.attribute);
        for (std::size_t i = 0; ok && i < 4; ++i) {
            ok = Integer(tokens[1 + i], patch.corners[i]) &&
                 Integer(tokens[5 + i], patch.normals[i]);
        }
        if (!ok) {
            return Fail("bad patch"), false;
        }
        file_.patches.push_back(patch);
        return true;
    }

    const std::string bytes_;
    MdlFile file_;
    std::vector<std::string> open_;
    bool seenModelFile_ = false;
    std::size_t lineNumber_ = 0;
    std::string error_;
};

// Whether patch side i runs along a spline: CP corners[i] and the CP of corner i + 1 are
// neighbours on corners[i]'s spline (wrapping round a closed one), the next one when bit 8 << i
// is set and the previous one when it is clear.
inline bool MdlSideFollowsItsSpline(const MdlFile& file, const MdlIndex& index,
                                    const MdlPatch& patch, int side) {
    const int count = patch.CornerCount();
    const std::int64_t from = patch.corners[static_cast<std::size_t>(side)];
    const std::optional<std::int64_t> to =
        index.Root(patch.corners[static_cast<std::size_t>((side + 1) % count)]);
    const auto [s, i] = index.Place(from);
    const std::vector<MdlCp>& spline = file.splines[s];
    const bool closed = (spline.back().flags & 4) != 0;
    const bool forward = (patch.flags & (std::int64_t{8} << side)) != 0;
    std::size_t neighbour = 0;
    if (forward) {
        if (i + 1 == spline.size() && !closed) {
            return false;
        }
        neighbour = (i + 1) % spline.size();
    } else {
        if (i == 0 && !closed) {
            return false;
        }
        neighbour = (i + spline.size() - 1) % spline.size();
    }
    return to && index.Root(spline[neighbour].id) == to;
}

// The rules that hold the parts of a model together; one line per broken rule.
inline std::vector<std::string> MdlProblems(const MdlFile& file) {
    std::vector<std::string> problems;
    const MdlIndex index(file);
    for (const std::int64_t id : index.duplicates()) {
        problems.push_back("CP id " + std::to_string(id) + " repeats");
    }
    for (const std::vector<MdlCp>& spline : file.splines) {
        for (std::size_t i = 0; i < spline.size(); ++i) {
            if (!index.Root(spline[i].id)) {
                problems.push_back("CP " + std::to_string(spline[i].id) +
                                   " is attached to nothing that holds a position");
            }
            if ((spline[i].flags & 4) != 0 && i + 1 != spline.size()) {
                problems.push_back("CP " + std::to_string(spline[i].id) +
                                   " closes its spline but is not its last");
            }
        }
    }
    for (std::size_t p = 0; p < file.patches.size(); ++p) {
        const MdlPatch& patch = file.patches[p];
        const std::string name = "patch " + std::to_string(p) + ": ";
        bool cornersPresent = true;
        for (const std::int64_t corner : patch.corners) {
            cornersPresent = cornersPresent && index.Has(corner) && index.Root(corner);
        }
        if (!cornersPresent) {
            problems.push_back(name + "a corner is no CP");
            continue;
        }
        for (const std::int64_t normal : patch.normals) {
            if (normal < 0 || normal >= static_cast<std::int64_t>(file.normals.size())) {
                problems.push_back(name + "normal " + std::to_string(normal) + " out of range");
            }
        }
        if (patch.attribute < 0 ||
            patch.attribute >= static_cast<std::int64_t>(file.attributes.size())) {
            problems.push_back(name + "attribute out of range");
        }
        for (int side = 0; side < patch.CornerCount(); ++side) {
            if (!MdlSideFollowsItsSpline(file, index, patch, side)) {
                problems.push_back(name + "side " + std::to_string(side) +
                                   " does not run along its corner's spline as its flags say");
            }
        }
    }
    for (const MdlVector& n : file.normals) {
        const double length =
            std::sqrt(double{n[0]} * n[0] + double{n[1]} * n[1] + double{n[2]} * n[2]);
        if (std::abs(length - 1.0) > 1e-4) {
            problems.push_back("a normal of length " + std::to_string(length));
        }
    }
    for (const MdlGroup& group : file.groups) {
        for (const std::int64_t id : group.cps) {
            if (!index.Has(id)) {
                problems.push_back("group " + group.name + " names no CP " + std::to_string(id));
            }
        }
    }
    return problems;
}

}  // namespace korvane::testing
