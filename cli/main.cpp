#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/export_messages.h"
#include "cli/import_messages.h"
#include "cli/object_statistics.h"
#include "cli/output_check.h"
#include "cli/progress_line.h"
#include "document/document.h"
#include "export/cad/cad_export.h"
#include "geometry/angles.h"
#include "korvane_version.h"
#include "view/camera_framing.h"
#include "view/offscreen_renderer.h"

namespace korvane::cli {
namespace {

enum class ExitStatus { kSuccess = 0, kUsage = 1, kBadInput = 2, kCannotWrite = 3 };
using enum ExitStatus;

ExitStatus Fail(ExitStatus status, const std::string& line) {
    std::fprintf(stderr, "korvane-cli: %s\n", line.c_str());
    return status;
}

// Every command words a failed output the same way.
ExitStatus CannotWrite(const std::string& path, const std::string& reason) {
    return Fail(kCannotWrite, "cannot write " + path + ": " + reason);
}

// "<name> <examined> / <total>" while an object's points are examined; nothing once it is done.
void ShowProgress(ProgressLine& line, const std::vector<std::string>& names,
                  const ConnectProgress& progress) {
    if (progress.done < progress.total && line.Due()) {
        line.Show(names[static_cast<std::size_t>(progress.objectIndex)] + " " +
                  std::to_string(progress.done) + " / " + std::to_string(progress.total));
    }
}

void ConnectAll(Document& document, float limitDegrees) {
    ProgressLine line;
    std::vector<std::string> names;
    for (const PatchObject* object : document.Objects()) {
        names.push_back(object->name);
    }
    document.Connect(
        limitDegrees,
        [&line, &names](const ConnectProgress& progress) { ShowProgress(line, names, progress); },
        {});
}

// Imports the inputs in order and, when asked, connects the curves; returns kSuccess or the
// failure. Stops at the first file that gives no model: the objects of the earlier ones stay.
ExitStatus PrepareDocument(const CommandLine& line, Document& document,
                           std::vector<std::string>& messages) {
    const ImportOptions options{.assimp = {.scale = line.scale}};
    for (const std::string& path : line.inputs) {
        const ImportReport report = document.Import(path, options);
        if (report.status != ImportStatus::kImported) {
            return Fail(kBadInput, path + ": " + WhyNotImported(report));
        }
        AddImportWarnings(path, report, messages);
    }
    if (line.connectDegrees) {
        ConnectAll(document, *line.connectDegrees);
    }
    return kSuccess;
}

ExitStatus Convert(const CommandLine& line, Document& document) {
    std::vector<std::string> messages;
    if (const ExitStatus status = PrepareDocument(line, document, messages); status != kSuccess) {
        return status;
    }
    for (const std::string& message : messages) {
        std::fprintf(stderr, "korvane-cli: warning: %s\n", message.c_str());
    }
    const ExportReport written = document.Export(
        line.output, {.surfaceResolution = line.resolution, .smoothSurfaces = line.smoothSurfaces});
    for (const std::string& warning : LeftOutWarnings(written)) {
        std::fprintf(stderr, "korvane-cli: warning: %s\n", warning.c_str());
    }
    if (written.status != WriteStatus::kWritten) {
        return CannotWrite(line.output, WhyNotWritten(written));
    }
    return kSuccess;
}

ExitStatus Info(const CommandLine& line, Document& document) {
    std::vector<std::string> messages;
    if (const ExitStatus status = PrepareDocument(line, document, messages); status != kSuccess) {
        return status;
    }
    const DocumentCounts counts = document.Count(line.smoothSurfaces);
    const std::string text =
        line.json ? FormatStatisticsJson(counts, messages) : FormatStatisticsText(counts, messages);
    std::fputs(text.c_str(), stdout);
    return std::fflush(stdout) == 0 ? kSuccess : CannotWrite("standard output", "write failed");
}

// The view's start camera turned to the asked direction about its target and then, unless the
// start position itself is asked for, aimed at the whole model.
Camera RenderCamera(const CommandLine& line, const ObjectList<PatchObject>& objects) {
    Camera camera;
    if (line.headingDegrees || line.pitchDegrees) {
        const Vec3 viewing = Subtract(camera.target, camera.eye);
        SetViewingDirection(camera, line.headingDegrees.value_or(HeadingDegrees(viewing)),
                            line.pitchDegrees.value_or(PitchDegrees(viewing)));
    }
    if (!line.startCamera) {
        FrameBounds(camera, ControlPointBounds(objects), line.width, line.height);
    }
    return camera;
}

ExitStatus Render(const CommandLine& line, Document& document) {
    std::vector<std::string> messages;
    if (const ExitStatus status = PrepareDocument(line, document, messages); status != kSuccess) {
        return status;
    }
    const ObjectList<PatchObject>& objects =
        line.showSurfaces ? document.ObjectsWithPatches() : document.Objects();
    OffscreenRenderOptions options;
    options.width = line.width;
    options.height = line.height;
    options.display.showVertices = line.showVertices;
    options.display.showCurves = line.showCurves;
    options.display.showSurfaces = line.showSurfaces;
    options.display.smoothSurfaces = line.smoothSurfaces;
    options.display.curveResolution = line.resolution;
    options.display.surfaceResolution = line.resolution;
    options.camera = RenderCamera(line, objects);
    std::string error;
    RgbaImage image;
    std::uint64_t modelSamples = 0;
    if (!RenderOffscreen(objects, options, image, error, &modelSamples)) {
        return Fail(kCannotWrite, "cannot render " + line.output + ": " + error);
    }
    if (modelSamples == 0) {
        return Fail(kCannotWrite, "cannot render " + line.output +
                                      ": nothing of the model would be seen (it is out of view, "
                                      "or has nothing that the display options draw); no image "
                                      "was written");
    }
    if (!WritePng(image, line.output, error)) {
        return Fail(kCannotWrite, error);
    }
    return kSuccess;
}

ExitStatus Run(const std::vector<std::string>& arguments) {
    std::string error;
    auto line = ParseCommandLine(arguments, error);
    if (line && (line->command == Command::kConvert || line->command == Command::kRender)) {
        error = WhyOutputRefused(*line);
        if (!error.empty()) {
            line.reset();
        }
    }
    if (!line) {
        std::fprintf(stderr, "korvane-cli: %s\nTry 'korvane-cli --help'.\n", error.c_str());
        return kUsage;
    }
    // Its patches are found only for the outputs that read them.
    Document document(PatchUpkeep::kWhenRead);
    switch (line->command) {
        case Command::kHelp:
            std::fputs(kUsageText, stdout);
            return kSuccess;
        case Command::kVersion:
            std::printf("%s\n", korvane::kProductAndVersion);
            return kSuccess;
        case Command::kConvert:
            return Convert(*line, document);
        case Command::kInfo:
            return Info(*line, document);
        case Command::kRender:
            return Render(*line, document);
    }
    return kUsage;
}

}  // namespace
}  // namespace korvane::cli

int main(int argc, char** argv) {
    std::signal(SIGXFSZ, SIG_IGN);  // a file-size limit fails the write instead of the process
    korvane::InstallCadWriters();
    return static_cast<int>(korvane::cli::Run(std::vector<std::string>(argv + 1, argv + argc)));
}
