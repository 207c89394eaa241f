#pragma once

#include <cstdint>
#include <string>

#include "geometry/fixed_pool.h"
#include "geometry/object_list.h"
#include "geometry/vec3.h"

// The spline-patch network of one object. Ownership runs PatchObject -> ControlPoint -> SplineRef,
// PatchObject -> Spline -> SplineNode, and PatchObject -> Patch; every other pointer is a
// non-owning link. Indices are refreshed by explicit numbering, not by list changes. The records
// are made with new and destroyed with delete; their memory comes from FixedPool, as a network of
// a million faces holds some ten million of them.

namespace korvane {

class ControlPoint;
class Spline;
class SplineNode;
class Patch;

// Handle selector: 0 = handleIn (towards the previous node), 1 = handleOut (towards the next).
enum HandleDirection : int { kHandleIn = 0, kHandleOut = 1 };

class SplineRef {
  public:
    virtual ~SplineRef() = default;
    static void* operator new(std::size_t size) { return AllocateRecord<SplineRef>(size); }
    static void operator delete(void* memory, std::size_t size) {
        ReleaseRecord<SplineRef>(memory, size);
    }

    Spline* spline = nullptr;
    SplineNode* node = nullptr;
};

class ControlPoint : public PatchVec3 {
  public:
    ControlPoint() = default;
    ControlPoint(const ControlPoint&) = delete;
    ControlPoint& operator=(const ControlPoint&) = delete;
    // Deletes its spline references and drops its (non-owned) patch links.
    ~ControlPoint() override;
    static void* operator new(std::size_t size) { return AllocateRecord<ControlPoint>(size); }
    static void operator delete(void* memory, std::size_t size) {
        ReleaseRecord<ControlPoint>(memory, size);
    }

    SplineRef* AddSplineRef();

    ObjectList<SplineRef> splineRefs;  // owned; one per spline node sitting on this point
    ObjectList<Patch> patches;         // not owned; filled only while DetectPatches runs
    std::int32_t pointFlag = 1;
    std::int32_t index = 0;  // position in the object's list after NumberControlPoints
};

class SplineNode {
  public:
    virtual ~SplineNode() = default;
    static void* operator new(std::size_t size) { return AllocateRecord<SplineNode>(size); }
    static void operator delete(void* memory, std::size_t size) {
        ReleaseRecord<SplineNode>(memory, size);
    }

    PatchVec3& Handle(int direction) { return direction == kHandleIn ? handleIn : handleOut; }
    const PatchVec3& Handle(int direction) const {
        return direction == kHandleIn ? handleIn : handleOut;
    }

    std::int32_t corner = 0;
    float tension = 0.3f;
    PatchVec3 handleIn;   // absolute position of the handle towards the previous node
    PatchVec3 handleOut;  // absolute position of the handle towards the next node
    ControlPoint* controlPoint = nullptr;
    std::int32_t index = 0;  // position in its spline after NumberSplines
};

class Spline {
  public:
    Spline() = default;
    Spline(const Spline&) = delete;
    Spline& operator=(const Spline&) = delete;
    // Deletes its nodes.
    virtual ~Spline();
    static void* operator new(std::size_t size) { return AllocateRecord<Spline>(size); }
    static void operator delete(void* memory, std::size_t size) {
        ReleaseRecord<Spline>(memory, size);
    }

    SplineNode* AddNode();

    std::int32_t closed = 0;       // 1: the tail joins back to the head
    std::int32_t index = 0;        // position in the object's list after NumberSplines
    ObjectList<SplineNode> nodes;  // owned, head to tail
};

class Patch {
  public:
    virtual ~Patch() = default;
    static void* operator new(std::size_t size) { return AllocateRecord<Patch>(size); }
    static void operator delete(void* memory, std::size_t size) {
        ReleaseRecord<Patch>(memory, size);
    }

    std::int32_t cornerCount = 0;   // 3 or 4; the fourth slots of a triangle stay zero
    SplineNode* edgeStart[4] = {};  // edge i runs from edgeStart[i] ...
    SplineNode* edgeEnd[4] = {};    // ... to its neighbour edgeEnd[i] along spline[i]
    Spline* spline[4] = {};
    std::int32_t forward[4] = {};  // 1 when edgeEnd[i] follows edgeStart[i] in spline[i]
};

class PatchObject {
  public:
    PatchObject() = default;
    PatchObject(const PatchObject&) = delete;
    PatchObject& operator=(const PatchObject&) = delete;
    // Deletes control points, then splines, then patches.
    virtual ~PatchObject();

    ControlPoint* AddControlPoint();
    Spline* AddSpline();
    Patch* AddPatch();

    void NumberControlPoints();
    void NumberSplines();
    void DeletePatches();

    std::string name;                 // bytes as read from the model file, in its code page
    std::uint32_t colour = 0xFFFFFF;  // 0x00BBGGRR
    std::int32_t patchesValid = 0;
    ObjectList<ControlPoint> controlPoints;  // owned, creation order
    ObjectList<Spline> splines;              // owned, creation order
    ObjectList<Patch> patches;               // owned, derived by DetectPatches
};

}  // namespace korvane
