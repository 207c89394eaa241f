#include "document/document.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <stdexcept>

#include "patch/curve_connector.h"
#include "patch/patch_builder.h"

namespace korvane {

Document::Document(PatchUpkeep upkeep) : upkeep_(upkeep) {}

const ObjectList<PatchObject>& Document::ObjectsWithPatches() {
    FindPatchesFrom(0);
    return store_.objects;
}

void Document::FindPatchesFrom(std::int32_t first) {
    std::int32_t index = 0;
    for (PatchObject* object : store_.objects) {
        if (index++ >= first && !object->PatchesValid()) {
            DetectPatches(*object);
        }
    }
}

ImportReport Document::Import(const std::string& path, const ImportOptions& options) {
    BeforeObjectsChange();
    const std::int32_t before = store_.objects.GetCount();
    ImportReport report;
    try {
        report = ImportModelFile(path, store_, options);
        if (report.status == ImportStatus::kImported && upkeep_ == PatchUpkeep::kAtOnce) {
            FindPatchesFrom(before);
        }
    } catch (const std::bad_alloc&) {
        report = {.status = ImportStatus::kBeyondMemory};
    } catch (const std::length_error&) {
        report = {.status = ImportStatus::kBeyondMemory};
    }
    if (report.status != ImportStatus::kImported) {
        store_.DeleteObjectsAfter(before);
    } else {
        importedFiles_.push_back(path);
    }
    report.objectsAdded = store_.objects.GetCount() - before;
    return report;
}

ConnectReport Document::Connect(float limitDegrees, const ConnectProgressReceiver& progress,
                                const ConnectCancelCheck& cancelled) {
    BeforeObjectsChange();
    ConnectReport report;
    std::int32_t index = 0;
    for (PatchObject* object : store_.objects) {
        if (cancelled && cancelled(ConnectStep::kJoining)) {
            report.cancelled = true;
            break;
        }
        ++report.objectsConnected;
        if (!ConnectObject(*object, index++, limitDegrees, progress, cancelled, report)) {
            report.cancelled = true;
            break;
        }
    }
    return report;
}

bool Document::ConnectObject(PatchObject& object, std::int32_t index, float limitDegrees,
                             const ConnectProgressReceiver& progress,
                             const ConnectCancelCheck& cancelled, ConnectReport& report) {
    const auto stepProgress = [&](ConnectStep step, std::int32_t total) {
        ProgressReceiver receiver;
        if (progress) {
            receiver = [&progress, index, step, total](std::int32_t done) {
                progress({index, step, done, total});
            };
        }
        return receiver;
    };
    const auto stepCancel = [&](ConnectStep step) {
        CancelCheck check;
        if (cancelled) {
            check = [&cancelled, step] { return cancelled(step); };
        }
        return check;
    };

    const std::int32_t points = object.PointCount();
    object.DeletePatches();
    const bool joined =
        ConnectCurves(object, limitDegrees, stepProgress(ConnectStep::kJoining, points),
                      stepCancel(ConnectStep::kJoining));
    // A stopped object keeps its joins, so it gets handles and patches like a finished one.
    ComputeHandles(object);
    if (joined && progress) {
        progress({index, ConnectStep::kJoining, points, points});
    }
    if (upkeep_ == PatchUpkeep::kAtOnce &&
        !DetectPatches(object,
                       stepProgress(ConnectStep::kFindingPatches, PatchSearchLength(object)),
                       stepCancel(ConnectStep::kFindingPatches))) {
        report.patchesLeftOut = true;
        return false;
    }
    return joined;
}

ExportReport Document::Export(const std::string& path, const ExportOptions& options) {
    const ExportFormat format = FormatToWrite(path, options);
    if (IsImportedFile(path)) {
        return {.format = format, .status = WriteStatus::kWouldReplaceSource};
    }
    const ObjectList<PatchObject>& objects =
        WritesPatches(format) ? ObjectsWithPatches() : store_.objects;
    if (ObjectsTheFormatHolds(objects, format) == 0) {
        return {.format = format, .status = WriteStatus::kNothingToWrite};
    }
    return ExportModelFile(path, objects, options);
}

bool Document::IsImportedFile(const std::string& path) const {
    std::error_code error;
    return std::any_of(importedFiles_.begin(), importedFiles_.end(),
                       [&](const std::string& imported) {
                           return std::filesystem::equivalent(path, imported, error);
                       });
}

DocumentCounts Document::Count(bool smoothness) {
    return CountObjects(ObjectsWithPatches(), smoothness);
}

void Document::Clear() {
    BeforeObjectsChange();
    store_.DeleteAllObjects();
    importedFiles_.clear();
}

}  // namespace korvane
