#pragma once

#include <chrono>
#include <string>

namespace korvane::cli {

// One self-overwriting line of progress on standard error, shown only when standard error is a
// terminal and refreshed at most ten times a second, so long runs stay cheap.
class ProgressLine {
  public:
    ProgressLine();
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Whether a text shown now would be seen: made only then, a text costs nothing in between.
    bool Due() const;
    void Show(const std::string& text);
    void Clear();

  private:
    bool enabled_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point lastShown_{};
};

}  // namespace korvane::cli
