#pragma once

#include "geometry/object_list.h"
#include "patch/patch_object.h"

namespace korvane {

// Where a reader puts the objects it imports: each call appends a new, default PatchObject to the
// owner's list and returns it for the reader to fill.
class ObjectSink {
  public:
    virtual ~ObjectSink() = default;
    virtual PatchObject* AddObject() = 0;
};

// An owning, ordered list of objects: the document of the command-line tool and the store behind
// the desktop program's document.
class ObjectStore : public ObjectSink {
  public:
    ObjectStore() = default;
    ObjectStore(const ObjectStore&) = delete;
    ObjectStore& operator=(const ObjectStore&) = delete;
    ~ObjectStore() override;

    PatchObject* AddObject() override;
    void DeleteAllObjects();
    // Deletes the objects after the first `kept`: what an import that failed half way added.
    void DeleteObjectsAfter(std::int32_t kept);

    ObjectList<PatchObject> objects;
};

}  // namespace korvane
