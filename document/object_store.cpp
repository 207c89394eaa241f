#include "document/object_store.h"

namespace korvane {

PatchObject* ObjectStore::AddObject() {
    owned_.push_back(std::make_unique<PatchObject>());
    objects.Append(owned_.back().get());
    return owned_.back().get();
}

void ObjectStore::DeleteAllObjects() {
    objects.Clear();
    owned_.clear();
}

void ObjectStore::DeleteObjectsAfter(std::int32_t kept) {
    while (objects.GetCount() > kept && !objects.IsEmpty()) {
        objects.RemoveTail();
        owned_.pop_back();
    }
}

}  // namespace korvane
