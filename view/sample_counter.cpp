#include "view/sample_counter.h"

#include <EGL/egl.h>
#include <GL/glext.h>

namespace korvane {
namespace {

template <class Function>
Function Resolved(const char* name) {
    return reinterpret_cast<Function>(eglGetProcAddress(name));
}

struct QueryFunctions {
    PFNGLGENQUERIESPROC generate = Resolved<PFNGLGENQUERIESPROC>("glGenQueries");
    PFNGLDELETEQUERIESPROC remove = Resolved<PFNGLDELETEQUERIESPROC>("glDeleteQueries");
    PFNGLBEGINQUERYPROC begin = Resolved<PFNGLBEGINQUERYPROC>("glBeginQuery");
    PFNGLENDQUERYPROC end = Resolved<PFNGLENDQUERYPROC>("glEndQuery");
    PFNGLGETQUERYOBJECTUIVPROC result = Resolved<PFNGLGETQUERYOBJECTUIVPROC>("glGetQueryObjectuiv");

    bool Complete() const {
        return generate != nullptr && remove != nullptr && begin != nullptr && end != nullptr &&
               result != nullptr;
    }
};

const QueryFunctions& Functions() {
    static const QueryFunctions functions;
    return functions;
}

}  // namespace

SampleCounter::SampleCounter() {
    if (Functions().Complete()) {
        Functions().generate(1, &query_);
    }
}

SampleCounter::~SampleCounter() {
    if (query_ != 0) {
        Functions().remove(1, &query_);
    }
}

void SampleCounter::BeforeModel() {
    if (query_ != 0) {
        Functions().begin(GL_SAMPLES_PASSED, query_);
    }
}

void SampleCounter::AfterModel() {
    if (query_ == 0) {
        return;
    }
    Functions().end(GL_SAMPLES_PASSED);
    GLuint passed = 0;
    Functions().result(query_, GL_QUERY_RESULT, &passed);
    samples_ = passed;
}

}  // namespace korvane
