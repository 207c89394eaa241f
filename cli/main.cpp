#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/connect_all.h"
#include "cli/model_loader.h"
#include "cli/object_statistics.h"
#include "cli/output_check.h"
#include "cli/progress_line.h"
#include "export/cad/cad_export.h"
#include "export/spline_patch_formats.h"
#include "geometry/angles.h"
#include "import/object_sink.h"
#include "korvane_version.h"
#include "patch/atomic_file_writer.h"
#include "patch/patch_builder.h"
#include "patch/rvp_writer.h"
#include "patch/surface_mesh_writer.h"
#include "view/camera_framing.h"
#include "view/offscreen_renderer.h"

namespace korvane::cli {
namespace {

enum ExitStatus { kSuccess = 0, kUsage = 1, kBadInput = 2, kCannotWrite = 3 };

int Fail(int status, const std::string& line) {
    std::fprintf(stderr, "korvane-cli: %s\n", line.c_str());
    return status;
}

// Every command words a failed output the same way.
int CannotWrite(const std::string& path, const std::string& reason) {
    return Fail(kCannotWrite, "cannot write " + path + ": " + reason);
}

// The one document of a run. It is never freed: the process ends right after the command.
ObjectStore& Document() {
    static ObjectStore* const document = new ObjectStore();
    return *document;
}

// Imports the inputs and, when asked, connects the curves; returns kSuccess or the failure.
int PrepareDocument(const CommandLine& line, ObjectStore& store,
                    std::vector<std::string>& messages) {
    ProgressLine progress;
    LoadOutcome outcome = LoadModels(line.inputs, store, {.scale = line.scale});
    messages = std::move(outcome.messages);
    if (!outcome.ok) {
        return Fail(kBadInput, outcome.failure);
    }
    if (line.connectDegrees) {
        ConnectAllObjects(store.objects, *line.connectDegrees,
                          [&progress](const std::string& text) { progress.Show(text); });
    }
    return kSuccess;
}

// The output in the format that its extension names; any other name gets a ruvoPatch file.
WriteResult WriteOutput(const CommandLine& line, const ObjectList<PatchObject>& objects) {
    if (const std::optional<CadFormat> format = CadFormatOf(line.output)) {
        const CadExportReport report = WriteCadFile(line.output, objects, *format);
        for (const std::string& warning : LeftOutWarnings(report)) {
            std::fprintf(stderr, "korvane-cli: warning: %s\n", warning.c_str());
        }
        return report.written;
    }
    if (SurfaceMeshFormatOf(line.output)) {
        return WriteSurfaceMesh(line.output, objects, line.resolution);
    }
    if (const std::optional<SplinePatchFormat> format = SplinePatchFormatOf(line.output)) {
        return WriteSplinePatchFile(line.output, objects, *format);
    }
    return WriteRvpFile(line.output, objects);
}

int Convert(const CommandLine& line) {
    ObjectStore& store = Document();
    std::vector<std::string> messages;
    if (const int status = PrepareDocument(line, store, messages); status != kSuccess) {
        return status;
    }
    for (const std::string& message : messages) {
        std::fprintf(stderr, "korvane-cli: warning: %s\n", message.c_str());
    }
    const WriteResult written = WriteOutput(line, store.objects);
    if (written.status != WriteStatus::kWritten) {
        return CannotWrite(line.output, written.error);
    }
    return kSuccess;
}

int Info(const CommandLine& line) {
    ObjectStore& store = Document();
    std::vector<std::string> messages;
    if (const int status = PrepareDocument(line, store, messages); status != kSuccess) {
        return status;
    }
    const DocumentStatistics statistics = CountDocument(store.objects);
    const std::string text = line.json ? FormatStatisticsJson(statistics, messages)
                                       : FormatStatisticsText(statistics, messages);
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

// The view draws only patches that were found; the other commands have no use for them.
void DetectPatchesToDraw(const ObjectList<PatchObject>& objects) {
    for (PatchObject* object : objects) {
        if (!object->patchesValid) {
            DetectPatches(*object);
        }
    }
}

int Render(const CommandLine& line) {
    ObjectStore& store = Document();
    std::vector<std::string> messages;
    if (const int status = PrepareDocument(line, store, messages); status != kSuccess) {
        return status;
    }
    if (line.showSurfaces) {
        DetectPatchesToDraw(store.objects);
    }
    OffscreenRenderOptions options;
    options.width = line.width;
    options.height = line.height;
    options.display.showVertices = line.showVertices;
    options.display.showCurves = line.showCurves;
    options.display.showSurfaces = line.showSurfaces;
    options.display.curveResolution = line.resolution;
    options.display.surfaceResolution = line.resolution;
    options.camera = RenderCamera(line, store.objects);
    std::string error;
    RgbaImage image;
    std::uint64_t modelSamples = 0;
    if (!RenderOffscreen(store.objects, options, image, error, &modelSamples)) {
        return Fail(kCannotWrite, "cannot render " + line.output + ": " + error);
    }
    if (modelSamples == 0) {
        return Fail(kCannotWrite, "cannot render " + line.output +
                                      ": nothing of the model would be seen (it is out of view, "
                                      "or has nothing that the display options draw); no image "
                                      "was written");
    }
    std::vector<std::uint8_t> bytes;
    if (!EncodePng(image, bytes, error)) {
        return CannotWrite(line.output, error);
    }
    const WriteResult written = WriteFileAtomically(line.output, bytes);
    if (written.status != WriteStatus::kWritten) {
        return CannotWrite(line.output, written.error);
    }
    return kSuccess;
}

}  // namespace
}  // namespace korvane::cli

int main(int argc, char** argv) {
    using namespace korvane::cli;
    std::signal(SIGXFSZ, SIG_IGN);  // a file-size limit fails the write instead of the process
    const std::vector<std::string> arguments(argv + 1, argv + argc);
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
    switch (line->command) {
        case Command::kHelp:
            std::fputs(kUsageText, stdout);
            return kSuccess;
        case Command::kVersion:
            std::printf("%s\n", korvane::kProductAndVersion);
            return kSuccess;
        case Command::kConvert:
            return Convert(*line);
        case Command::kInfo:
            return Info(*line);
        case Command::kRender:
            return Render(*line);
    }
    return kUsage;
}
