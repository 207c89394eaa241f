#pragma once

#include <cstdint>

#include "geometry/object_list.h"
#include "import/object_sink.h"
#include "patch/patch_object.h"

namespace korvane {

// An owning, ordered list of objects that readers fill: the storage of a Document.
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
