#include "cli/command_line.h"

#include <charconv>
#include <cmath>

#include "export/export_formats.h"

namespace korvane::cli {

const char* const kUsageText =
    "Usage:\n"
    "  korvane-cli convert INPUT... -o OUTPUT.rvp|.mdl|.spt [--connect DEGREES]\n"
    "  korvane-cli convert INPUT... -o MESH.obj|.ply|.stl|.gltf|.glb [--resolution N]\n"
    "                      [--smooth] [--connect DEGREES]\n"
    "  korvane-cli convert INPUT... -o CAD.step|.stp|.igs|.iges [--smooth]\n"
    "                      [--connect DEGREES]\n"
    "  korvane-cli info INPUT... [--connect DEGREES] [--json] [--smooth]\n"
    "  korvane-cli render INPUT... -o OUT.png [--size WxH] [--vertices] [--no-curves]\n"
    "                     [--surfaces] [--smooth] [--resolution N] [--connect DEGREES]\n"
    "                     [--heading DEGREES] [--pitch DEGREES] [--start-camera]\n"
    "  korvane-cli --help | --version\n"
    "\n"
    "Imports Metasequoia (.mqo) and LightWave (.lwo) models, recognised by their content, into "
    "one\n"
    "document in the order given, and turns every object into a spline-patch network. A\n"
    "ruvoPatch (.rvp) file that convert wrote reads back as the networks it holds. Any other\n"
    "file is read through assimp (OBJ, FBX, glTF, COLLADA, PLY, STL, 3DS, ...).\n"
    "\n"
    "  convert   writes the network as a ruvoPatch file, as an Animation:Master model when the\n"
    "            output ends in .mdl, as an sPatch file when it ends in .spt, its surfaces\n"
    "            as a triangle mesh when it ends in .obj, .ply, .stl, .gltf or .glb, or as\n"
    "            exact surfaces for CAD when it ends in .step, .stp (STEP) or .igs, .iges (IGES)\n"
    "  info      lists each object: name, colour, control points, splines, closed splines,\n"
    "            nodes, 3-point and 4-point patches, and the totals\n"
    "  render    draws the 3D view's frame into a PNG image, without a window\n"
    "\n"
    "The output's extension says what is written; an output of another extension is refused,\n"
    "and so is an output that is one of the inputs. A pipe or character device as the output\n"
    "(/dev/stdout) takes a ruvoPatch file, or from render a PNG image.\n"
    "\n"
    "  --connect DEGREES  join curves that continue each other at more than this angle\n"
    "                     (0 to 180; 180 is a straight line), as Connect Curve does\n"
    "  --json             print the info as one JSON document\n"
    "  --scale S          multiply the coordinates of files read through assimp by S\n"
    "                     (default 1); Z is reversed as for a Metasequoia file\n"
    "  --resolution N     render, surface mesh: 2 x N steps across each patch (1 to 64;\n"
    "                     1 by default, as in the desktop view)\n"
    "  --smooth           render, surface mesh, STEP, IGES: the smooth surfaces, whose patches\n"
    "                     share their tangent plane along the curves where the network is\n"
    "                     smooth, instead of the patches' own Bezier surfaces; render draws\n"
    "                     the surfaces with it, as the desktop's View > Smooth surfaces does;\n"
    "                     info: where they cannot be smooth, as the network is not (patch\n"
    "                     corners whose curve tangents lie in no one plane, the worst angle\n"
    "                     out of it, and patch sides kept as creases)\n"
    "  --heading DEGREES  render: turn the view about the vertical; 0 looks along +Z as the\n"
    "                     desktop view starts, 90 along +X\n"
    "  --pitch DEGREES    render: look down by this angle (-90 to 90; 14.04 at the start)\n"
    "  --start-camera     render: look from the desktop view's start position instead of\n"
    "                     framing the whole model\n"
    "\n"
    "Exit status: 0 success, 1 wrong usage, 2 an input cannot be read or is not a model file,\n"
    "3 the output cannot be written.\n";

namespace {

bool ParseFloat(const std::string& text, float& value) {
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && next == end && std::isfinite(value);
}

bool ParseInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && next == end;
}

bool ParseSize(const std::string& text, int& width, int& height) {
    const auto x = text.find('x');
    return x != std::string::npos && ParseInt(text.substr(0, x), width) &&
           ParseInt(text.substr(x + 1), height) && width > 0 && height > 0 && width <= 8192 &&
           height <= 8192;
}

bool HoldsSurfaces(std::optional<ExportFormat> format) {
    return format == ExportFormat::kSurfaceMesh || format == ExportFormat::kStep ||
           format == ExportFormat::kIges;
}

class Parser {
  public:
    Parser(const std::vector<std::string>& arguments, std::string& error)
        : arguments_(arguments), error_(error) {}

    std::optional<CommandLine> Run() {
        if (arguments_.empty()) {
            return Fail("no command given");
        }
        const std::string& name = arguments_[0];
        if (name == "--help" || name == "-h" || name == "help") {
            return Single(Command::kHelp);
        }
        if (name == "--version") {
            return Single(Command::kVersion);
        }
        if (name == "convert") {
            line_.command = Command::kConvert;
        } else if (name == "info") {
            line_.command = Command::kInfo;
        } else if (name == "render") {
            line_.command = Command::kRender;
        } else {
            return Fail("unknown command '" + name + "'");
        }
        for (next_ = 1; next_ < arguments_.size(); ++next_) {
            if (!TakeArgument(arguments_[next_])) {
                return std::nullopt;
            }
        }
        return Validate();
    }

  private:
    std::optional<CommandLine> Fail(const std::string& text) {
        error_ = text;
        return std::nullopt;
    }

    std::optional<CommandLine> Single(Command command) {
        if (arguments_.size() != 1) {
            return Fail("'" + arguments_[0] + "' takes no arguments");
        }
        line_.command = command;
        return line_;
    }

    bool Value(const std::string& option, std::string& value) {
        if (next_ + 1 >= arguments_.size()) {
            error_ = option + " needs a value";
            return false;
        }
        value = arguments_[++next_];
        return true;
    }

    bool Allowed(bool allowed, const std::string& option) {
        if (!allowed) {
            error_ = option + " does not apply to this command";
        }
        return allowed;
    }

    bool TakeArgument(const std::string& argument) {
        const bool render = line_.command == Command::kRender;
        std::string value;
        if (argument == "-o" || argument == "--output") {
            return Allowed(line_.command != Command::kInfo, argument) && Value(argument, value) &&
                   SetOutput(value);
        }
        if (argument == "--connect") {
            float degrees = 0.0f;
            if (!Value(argument, value)) {
                return false;
            }
            if (!ParseFloat(value, degrees) || degrees < 0.0f || degrees > 180.0f) {
                error_ = "--connect takes an angle from 0 to 180 degrees, not '" + value + "'";
                return false;
            }
            line_.connectDegrees = degrees;
            return true;
        }
        if (argument == "--scale") {
            if (!Value(argument, value)) {
                return false;
            }
            if (!ParseFloat(value, line_.scale) || line_.scale <= 0.0f) {
                error_ = "--scale takes a number greater than 0, not '" + value + "'";
                return false;
            }
            return true;
        }
        if (argument == "--json") {
            return Allowed(line_.command == Command::kInfo, argument) && (line_.json = true);
        }
        if (argument == "--size") {
            if (!Allowed(render, argument) || !Value(argument, value)) {
                return false;
            }
            if (!ParseSize(value, line_.width, line_.height)) {
                error_ = "--size takes WIDTHxHEIGHT, from 1x1 to 8192x8192, not '" + value + "'";
                return false;
            }
            return true;
        }
        if (argument == "--resolution") {
            if (!Allowed(render || line_.command == Command::kConvert, argument) ||
                !Value(argument, value)) {
                return false;
            }
            resolutionGiven_ = true;
            if (!ParseInt(value, line_.resolution) || line_.resolution < 1 ||
                line_.resolution > 64) {
                error_ = "--resolution takes a whole number from 1 to 64, not '" + value + "'";
                return false;
            }
            return true;
        }
        if (argument == "--heading" || argument == "--pitch") {
            const bool pitch = argument == "--pitch";
            float degrees = 0.0f;
            if (!Allowed(render, argument) || !Value(argument, value)) {
                return false;
            }
            if (!ParseFloat(value, degrees) || (pitch && (degrees < -90.0f || degrees > 90.0f))) {
                error_ = argument +
                         (pitch ? " takes an angle from -90 to 90 degrees, not '"
                                : " takes an angle in degrees, not '") +
                         value + "'";
                return false;
            }
            (pitch ? line_.pitchDegrees : line_.headingDegrees) = degrees;
            return true;
        }
        if (argument == "--start-camera") {
            return Allowed(render, argument) && (line_.startCamera = true);
        }
        if (argument == "--vertices") {
            return Allowed(render, argument) && (line_.showVertices = true);
        }
        if (argument == "--no-curves") {
            return Allowed(render, argument) && !(line_.showCurves = false);
        }
        if (argument == "--surfaces") {
            return Allowed(render, argument) && (line_.showSurfaces = true);
        }
        if (argument == "--smooth") {
            return (line_.smoothSurfaces = true);
        }
        if (argument.size() > 1 && argument[0] == '-') {
            error_ = "unknown option '" + argument + "'";
            return false;
        }
        line_.inputs.push_back(argument);
        return true;
    }

    bool SetOutput(const std::string& value) {
        if (!line_.output.empty()) {
            error_ = "only one output may be given";
            return false;
        }
        line_.output = value;
        return true;
    }

    std::optional<CommandLine> Validate() {
        const bool render = line_.command == Command::kRender;
        if (line_.inputs.empty()) {
            return Fail("no input model given");
        }
        if (line_.command != Command::kInfo && line_.output.empty()) {
            return Fail("no output given (-o FILE)");
        }
        if (line_.command == Command::kConvert && resolutionGiven_ &&
            ExportFormatOf(line_.output) != ExportFormat::kSurfaceMesh) {
            return Fail(
                "--resolution applies to a surface mesh output (.obj, .ply, .stl, .gltf, "
                ".glb)");
        }
        if (line_.command == Command::kConvert && line_.smoothSurfaces &&
            !HoldsSurfaces(ExportFormatOf(line_.output))) {
            return Fail(
                "--smooth applies to a surface mesh (.obj, .ply, .stl, .gltf, .glb), STEP or "
                "IGES output");
        }
        if (render && line_.smoothSurfaces) {
            line_.showSurfaces = true;
        }
        return line_;
    }

    const std::vector<std::string>& arguments_;
    std::string& error_;
    CommandLine line_;
    std::size_t next_ = 0;
    bool resolutionGiven_ = false;
};

}  // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments,
                                            std::string& error) {
    return Parser(arguments, error).Run();
}

}  // namespace korvane::cli
