#include "cli/progress_line.h"

#include <unistd.h>

#include <cstdio>

namespace korvane::cli {

ProgressLine::ProgressLine() : enabled_(isatty(STDERR_FILENO) == 1) {}

ProgressLine::~ProgressLine() {
    Clear();
}

bool ProgressLine::Due() const {
    return enabled_ && (!shown_ || std::chrono::steady_clock::now() - lastShown_ >=
                                       std::chrono::milliseconds(100));
}

void ProgressLine::Show(const std::string& text) {
    if (!Due()) {
        return;
    }
    lastShown_ = std::chrono::steady_clock::now();
    shown_ = true;
    std::fprintf(stderr, "\r\033[K%s", text.c_str());
    std::fflush(stderr);
}

void ProgressLine::Clear() {
    if (shown_) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        shown_ = false;
    }
}

}  // namespace korvane::cli
