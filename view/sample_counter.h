#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "view/scene_drawer.h"

namespace korvane {

// Counts the samples of the model that pass the depth test, with an occlusion query of the
// current context. Counts nothing where the context offers no queries.
class SampleCounter : public ModelDrawObserver {
  public:
    SampleCounter();
    SampleCounter(const SampleCounter&) = delete;
    SampleCounter& operator=(const SampleCounter&) = delete;
    ~SampleCounter() override;

    void BeforeModel() override;
    void AfterModel() override;

    // Whether the context could count at all.
    bool Usable() const { return query_ != 0; }
    std::uint64_t Samples() const { return samples_; }

  private:
    GLuint query_ = 0;
    std::uint64_t samples_ = 0;
};

}  // namespace korvane
