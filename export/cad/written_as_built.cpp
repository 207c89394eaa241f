#include "export/cad/written_as_built.h"

#include <Message_ProgressRange.hxx>
#include <TopoDS_Shape.hxx>
#include <XSAlgo.hxx>
#include <XSAlgo_AlgoContainer.hxx>

#include <cstring>
#include <mutex>

namespace korvane {
namespace {

// The writers name their processing sequence "write.step.sequence" or "write.iges.sequence".
class AsBuiltOnWrite : public XSAlgo_AlgoContainer {
  public:
    TopoDS_Shape ProcessShape(const TopoDS_Shape& shape, const Standard_Real precision,
                              const Standard_Real maxTolerance, const Standard_CString resources,
                              const Standard_CString sequence, Handle(Standard_Transient) & info,
                              const Message_ProgressRange& progress,
                              const Standard_Boolean nonManifold) const override {
        if (std::strncmp(sequence, "write.", 6) == 0) {
            return shape;
        }
        return XSAlgo_AlgoContainer::ProcessShape(shape, precision, maxTolerance, resources,
                                                  sequence, info, progress, nonManifold);
    }
};

}  // namespace

void WriteShapesAsBuilt() {
    static std::once_flag once;
    std::call_once(once, [] {
        XSAlgo::Init();
        XSAlgo::SetAlgoContainer(new AsBuiltOnWrite());
    });
}

}  // namespace korvane
