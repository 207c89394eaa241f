#pragma once

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// An independent reader of sPatch files for tests: it takes the layout line by line, refuses
// anything that does not parse or runs past the end, and SptProblems checks that points and curves
// name each other consistently.
namespace korvane::testing {

struct SptPoint {
    std::array<float, 3> position{};
    std::vector<std::pair<std::int64_t, std::int64_t>> curves;  // (curve, index in curve)
};

struct SptNode {
    std::int64_t point = 0;
    std::int64_t round = 0;
    float curvature = 0.0f;
};

struct SptCurve {
    bool closed = false;
    std::vector<SptNode> nodes;
};

struct SptFile {
    std::vector<SptPoint> points;
    std::vector<SptCurve> curves;
};

class SptReader {
  public:
    explicit SptReader(std::string bytes) : bytes_(std::move(bytes)) {
        std::size_t at = 0;
        while (at < bytes_.size()) {
            const std::size_t end = bytes_.find("\r\n", at);
            if (end == std::string::npos) {
                ending_ = false;
                break;
            }
            lines_.emplace_back(bytes_.data() + at, end - at);
            at = end + 2;
        }
    }

    // The file, or nothing with error() set.
    std::optional<SptFile> Read() {
        if (!ending_) {
            return Fail("a line without CRLF");
        }
        for (const char* header :
             {"sPatches", "version 2", "visibility FALSE", "selection FALSE"}) {
            if (!Next() || line_ != header) {
                return Fail(std::string("not '") + header + "'");
            }
        }
        std::int64_t count = 0;
        if (!Counted("num_points", count)) {
            return std::nullopt;
        }
        file_.points.resize(static_cast<std::size_t>(count));
        for (SptPoint& point : file_.points) {
            std::vector<std::string_view> xyz;
            std::int64_t layer = -1, zero = -1, curves = 0;
            if (!Next() || (xyz = Tokens(line_)).size() != 3 ||
                !Number(xyz[0], point.position[0]) || !Number(xyz[1], point.position[1]) ||
                !Number(xyz[2], point.position[2]) || !NextInteger(layer) || layer != 0 ||
                !NextInteger(zero) || zero != 0 || !NextInteger(curves) || curves < 0 ||
                !Fits(curves)) {
                return Fail("bad point");
            }
            point.curves.resize(static_cast<std::size_t>(curves));
            for (auto& [curve, index] : point.curves) {
                if (!NextPair(curve, index)) {
                    return Fail("bad curve of a point");
                }
            }
        }
        if (!Counted("num_curves", count)) {
            return std::nullopt;
        }
        file_.curves.resize(static_cast<std::size_t>(count));
        for (SptCurve& curve : file_.curves) {
            std::int64_t nodes = 0, closed = 0;
            if (!NextPair(nodes, closed) || nodes < 0 || !Fits(nodes) ||
                (closed != 0 && closed != 1)) {
                return Fail("bad curve");
            }
            curve.closed = closed == 1;
            curve.nodes.resize(static_cast<std::size_t>(nodes));
            for (SptNode& node : curve.nodes) {
                std::vector<std::string_view> tokens;
                if (!Next() || (tokens = Tokens(line_)).size() != 3 ||
                    !Integer(tokens[0], node.point) || !Integer(tokens[1], node.round) ||
                    !Number(tokens[2], node.curvature)) {
                    return Fail("bad node");
                }
            }
        }
        if (next_ != lines_.size()) {
            return Fail("lines after the last curve");
        }
        return file_;
    }

    const std::string& error() const { return error_; }

  private:
    std::nullopt_t Fail(const std::string& text) {
        if (error_.empty()) {
            error_ = "line " + std::to_string(next_) + ": " + text;
        }
        return std::nullopt;
    }

    bool Next() {
        if (next_ >= lines_.size()) {
            return false;
        }
        line_ = lines_[next_++];
        return true;
    }
    // A count no larger than the lines left, so that a wrong one allocates nothing big.
    bool Fits(std::int64_t count) const {
        return static_cast<std::uint64_t>(count) <= lines_.size() - next_;
    }

    static std::vector<std::string_view> Tokens(std::string_view line) {
        std::vector<std::string_view> tokens;
        std::size_t at = 0;
        while ((at = line.find_first_not_of(" \t", at)) != std::string_view::npos) {
            const std::size_t end = std::min(line.find_first_of(" \t", at), line.size());
            tokens.push_back(line.substr(at, end - at));
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

    bool NextInteger(std::int64_t& value) {
        std::vector<std::string_view> tokens;
        return Next() && (tokens = Tokens(line_)).size() == 1 && Integer(tokens[0], value);
    }
    bool NextPair(std::int64_t& first, std::int64_t& second) {
        std::vector<std::string_view> tokens;
        return Next() && (tokens = Tokens(line_)).size() == 2 && Integer(tokens[0], first) &&
               Integer(tokens[1], second);
    }
    bool Counted(std::string_view keyword, std::int64_t& count) {
        std::vector<std::string_view> tokens;
        if (!Next() || (tokens = Tokens(line_)).size() != 2 || tokens[0] != keyword ||
            !Integer(tokens[1], count) || count < 0 || !Fits(count)) {
            Fail("bad " + std::string(keyword));
            return false;
        }
        return true;
    }

    const std::string bytes_;
    std::vector<std::string_view> lines_;
    bool ending_ = true;
    std::size_t next_ = 0;
    std::string_view line_;
    SptFile file_;
    std::string error_;
};

// Points and curves name each other: every (curve, index) of a point is a node of that curve on
// that point, every node is listed by its point, rounds are 0 or 1 and curvatures are not negative.
inline std::vector<std::string> SptProblems(const SptFile& file) {
    std::vector<std::string> problems;
    std::size_t listed = 0;
    for (std::size_t p = 0; p < file.points.size(); ++p) {
        for (const auto& [curve, index] : file.points[p].curves) {
            ++listed;
            if (curve < 0 || curve >= static_cast<std::int64_t>(file.curves.size()) || index < 0 ||
                index >= static_cast<std::int64_t>(
                             file.curves[static_cast<std::size_t>(curve)].nodes.size()) ||
                file.curves[static_cast<std::size_t>(curve)]
                        .nodes[static_cast<std::size_t>(index)]
                        .point != static_cast<std::int64_t>(p)) {
                problems.push_back("point " + std::to_string(p) + " names curve " +
                                   std::to_string(curve) + " node " + std::to_string(index) +
                                   ", which is not on it");
            }
        }
    }
    std::size_t nodes = 0;
    for (std::size_t c = 0; c < file.curves.size(); ++c) {
        for (const SptNode& node : file.curves[c].nodes) {
            ++nodes;
            if (node.point < 0 || node.point >= static_cast<std::int64_t>(file.points.size())) {
                problems.push_back("curve " + std::to_string(c) + " names no point " +
                                   std::to_string(node.point));
            }
            if (node.round != 0 && node.round != 1) {
                problems.push_back("curve " + std::to_string(c) + " has a round of " +
                                   std::to_string(node.round));
            }
            if (node.curvature < 0.0f) {
                problems.push_back("curve " + std::to_string(c) + " has a negative curvature");
            }
        }
    }
    if (listed != nodes) {
        problems.push_back(std::to_string(nodes) + " nodes but " + std::to_string(listed) +
                           " listed by the points");
    }
    return problems;
}

}  // namespace korvane::testing
