#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "app/korv_app.h"

namespace korvane::testing {

// Records every status text in the order it is set, from any thread, while it exists.
class StatusRecorder {
  public:
    StatusRecorder() {
        GetApp()->SetStatusTextObserver([this](const std::string& text) {
            std::lock_guard lock(mutex_);
            texts_.push_back(text);
        });
    }
    StatusRecorder(const StatusRecorder&) = delete;
    StatusRecorder& operator=(const StatusRecorder&) = delete;
    ~StatusRecorder() { GetApp()->SetStatusTextObserver(nullptr); }

    std::vector<std::string> texts() const {
        std::lock_guard lock(mutex_);
        return texts_;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> texts_;
};

}  // namespace korvane::testing
