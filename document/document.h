#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "document/document_counts.h"
#include "document/object_store.h"
#include "export/export_formats.h"
#include "geometry/object_list.h"
#include "import/model_file.h"
#include "patch/patch_object.h"

namespace korvane {

// When the patches of what an import or Connect changed are found.
enum class PatchUpkeep {
    kAtOnce,    // before the door returns, so that whoever draws them finds them ready
    kWhenRead,  // when first read (ObjectsWithPatches, Count, an export that writes them): a
                // batch run that never reads them does not pay for them
};

// The two steps of Connect on one object: the joins, then (under kAtOnce) the patch search over
// the joined curves.
enum class ConnectStep { kJoining, kFindingPatches };

// How far Connect is in one step of the object at objectIndex (its place in the document, from
// 0). Joining: done of its total control points have been examined. Finding patches: done of
// PatchSearchLength. done rises from 0 to total, which it reaches once the step is finished.
struct ConnectProgress {
    std::int32_t objectIndex = 0;
    ConnectStep step = ConnectStep::kJoining;
    std::int32_t done = 0;
    std::int32_t total = 0;
};

// Called with every step, on the thread that runs Connect.
using ConnectProgressReceiver = std::function<void(const ConnectProgress&)>;
// Asked, with the step under way, before each object, after each join and every few thousand
// points, and every few hundred splines of a patch search; true stops that step.
using ConnectCancelCheck = std::function<bool(ConnectStep)>;

struct ConnectReport {
    std::int32_t objectsConnected = 0;  // from the head; the object a cancel stopped counts
    bool cancelled = false;             // the run stopped before every object was finished
    bool patchesLeftOut = false;        // a patch search was stopped: that object has no patches
};

// The objects of one document and the three doors through which they come, change and go: every
// front end imports, connects and exports through here, and reads the objects through the const
// views. Whatever changes the objects leaves their handles current, and their patches as the
// document's PatchUpkeep says.
class Document {
  public:
    explicit Document(PatchUpkeep upkeep = PatchUpkeep::kAtOnce);
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;
    virtual ~Document() = default;

    // The objects in document order. Their patches are current under kAtOnce unless a patch
    // search was stopped; under kWhenRead read them through ObjectsWithPatches.
    const ObjectList<PatchObject>& Objects() const { return store_.objects; }
    // The objects with every patch list current, found first where it is not.
    const ObjectList<PatchObject>& ObjectsWithPatches();

    // Appends the model file's objects. A file that cannot be read, is refused by its reader or
    // does not fit in the memory left (kBeyondMemory) leaves the document as it was.
    ImportReport Import(const std::string& path, const ImportOptions& options);

    // Connect Curve on every object, head to tail: drops its patches, joins the curves that
    // continue each other at an angle wider than limitDegrees (180 is straight on), recomputes
    // the handles and, under kAtOnce, finds the patches. A stopped join ends the run after the
    // object under way: what was joined stays, with its handles, and its patch search still runs,
    // a step that can be stopped in its turn (leaving that object without patches). The objects
    // not reached stay as they were.
    ConnectReport Connect(float limitDegrees, const ConnectProgressReceiver& progress,
                          const ConnectCancelCheck& cancelled);

    // Writes the objects in the format that options or the path's extension name. Writes nothing
    // when no object holds what the format writes (kNothingToWrite), or when path is, by any name,
    // a file that the objects were imported from (kWouldReplaceSource).
    ExportReport Export(const std::string& path, const ExportOptions& options);

    // Whether path is, by any name, a file that an import since the last Clear read.
    bool IsImportedFile(const std::string& path) const;

    // Counts every object's network and patches, and with smoothness where the smooth surfaces
    // cannot meet with a common tangent plane.
    DocumentCounts Count(bool smoothness = false);

    // Deletes every object, and forgets the files they came from.
    void Clear();

  protected:
    // Called on the calling thread as Import, Connect and Clear begin, before any object changes:
    // whoever reads the objects on another thread stops here.
    virtual void BeforeObjectsChange() {}

  private:
    // False when its joins were stopped.
    bool ConnectObject(PatchObject& object, std::int32_t index, float limitDegrees,
                       const ConnectProgressReceiver& progress, const ConnectCancelCheck& cancelled,
                       ConnectReport& report);
    void FindPatchesFrom(std::int32_t first);

    PatchUpkeep upkeep_;
    ObjectStore store_;
    std::vector<std::string> importedFiles_;
};

}  // namespace korvane
