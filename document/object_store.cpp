#include "document/object_store.h"

namespace korvane {

ObjectStore::~ObjectStore() {
    DeleteAllObjects();
}

PatchObject* ObjectStore::AddObject() {
    auto* object = new PatchObject;
    objects.AddTail(object);
    return object;
}

void ObjectStore::DeleteAllObjects() {
    for (PatchObject* object : objects) {
        delete object;
    }
    objects.RemoveAll();
}

void ObjectStore::DeleteObjectsAfter(std::int32_t kept) {
    while (objects.GetCount() > kept && !objects.IsEmpty()) {
        delete objects.GetTail();
        objects.RemoveAt(objects.GetTailPosition());
    }
}

}  // namespace korvane
