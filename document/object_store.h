#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "geometry/object_list.h"
#include "import/object_sink.h"
#include "patch/patch_object.h"

namespace korvane {

// The objects that readers fill, owned in order: the storage of a Document. objects lists them for
// reading; only the store adds and removes.
class ObjectStore : public ObjectSink {
  public:
    ObjectStore() = default;
    ObjectStore(const ObjectStore&) = delete;
    ObjectStore& operator=(const ObjectStore&) = delete;
    ~ObjectStore() override = default;

    PatchObject* AddObject() override;
    void DeleteAllObjects();
    // Deletes the objects after the first `kept`: what an import that failed half way added.
    void DeleteObjectsAfter(std::int32_t kept);

    ObjectList<PatchObject> objects;

  private:
    std::vector<std::unique_ptr<PatchObject>> owned_;  // in the order of objects
};

}  // namespace korvane
