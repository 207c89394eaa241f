// korvane-modelgen: writes one generated test model as .mqo text, .mqo with BVertex, LWO2 or OBJ.

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/modelgen/model_shapes.h"
#include "tools/modelgen/model_writers.h"

namespace {

using korvane::modelgen::GeneratedModel;

constexpr char kUsage[] =
    "usage: korvane-modelgen SHAPE A B [--format mqo|bvertex|lwo|obj] [--axes N] [--seed N] -o "
    "FILE\n"
    "       korvane-modelgen --help\n"
    "  grid W H       W x H quads on a waved sheet\n"
    "  torus U V      U x V quads\n"
    "  sphere U V     U around, V bands; triangle fans at the poles\n"
    "  fan N 1        N triangles round one point\n"
    "  lathe L S      a profile of L lines, lathed in S segments\n"
    "  mirror W H     a W x H half with vertices on the plane, connected mirror\n"
    "                 (--axes 1: X, 3: X and Y)\n"
    "  soup W H       a noisy sheet of W x H cells cut into triangles, with holes\n";

struct Options {
    std::string shape;
    std::int32_t a = 0;
    std::int32_t b = 0;
    std::string format = "mqo";
    std::int32_t axes = 1;
    std::uint64_t seed = 1;
    std::string output;
};

template <class T>
bool ParseNumber(std::string_view text, T& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

std::optional<Options> ParseArguments(const std::vector<std::string_view>& args) {
    Options options;
    std::vector<std::string_view> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "-o" && hasValue) {
            options.output = args[++i];
        } else if (arg == "--format" && hasValue) {
            options.format = args[++i];
        } else if (arg == "--axes" && hasValue) {
            if (!ParseNumber(args[++i], options.axes)) {
                return std::nullopt;
            }
        } else if (arg == "--seed" && hasValue) {
            if (!ParseNumber(args[++i], options.seed)) {
                return std::nullopt;
            }
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 3 || options.output.empty() ||
        !ParseNumber(positional[1], options.a) || !ParseNumber(positional[2], options.b) ||
        options.a < 1 || options.b < 1) {
        return std::nullopt;
    }
    options.shape = positional[0];
    return options;
}

std::optional<GeneratedModel> Generate(const Options& o) {
    using namespace korvane::modelgen;
    if (o.shape == "grid") {
        return MakeGrid(o.a, o.b);
    }
    if (o.shape == "torus" && o.a >= 3 && o.b >= 3) {
        return MakeTorus(o.a, o.b);
    }
    if (o.shape == "sphere" && o.a >= 3 && o.b >= 2) {
        return MakeSphere(o.a, o.b);
    }
    if (o.shape == "fan" && o.a >= 3) {
        return MakeFan(o.a);
    }
    if (o.shape == "lathe") {
        return MakeLatheProfile(o.a, o.b);
    }
    if (o.shape == "mirror") {
        return MakeMirrorHalf(o.a, o.b, o.axes);
    }
    if (o.shape == "soup") {
        return MakeTriangleSoup(o.a, o.b, o.seed);
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    for (const std::string_view arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    const auto options = ParseArguments(args);
    const auto model = options ? Generate(*options) : std::nullopt;
    if (!model) {
        std::fputs(kUsage, stderr);
        return 1;
    }
    std::string bytes;
    if (options->format == "mqo") {
        bytes = korvane::modelgen::WriteMqoText(*model);
    } else if (options->format == "bvertex") {
        bytes = korvane::modelgen::WriteMqoBinary(*model);
    } else if (options->format == "lwo") {
        bytes = korvane::modelgen::WriteLwo2(*model);
    } else if (options->format == "obj") {
        bytes = korvane::modelgen::WriteObj(*model);
    } else {
        std::fputs(kUsage, stderr);
        return 1;
    }
    std::FILE* file = std::fopen(options->output.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "korvane-modelgen: %s: %s\n", options->output.c_str(),
                     std::strerror(errno));
        return 2;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "korvane-modelgen: %s: write failed\n", options->output.c_str());
        return 2;
    }
    return 0;
}
