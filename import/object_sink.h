#pragma once

#include "patch/patch_object.h"

namespace korvane {

// Where a reader puts the objects it imports: each call appends a new, default PatchObject to the
// owner's list and returns it for the reader to fill.
class ObjectSink {
  public:
    virtual ~ObjectSink() = default;
    virtual PatchObject* AddObject() = 0;
};

}  // namespace korvane
