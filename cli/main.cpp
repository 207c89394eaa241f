#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage =
    "Usage: korvane-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Turns polygon models into spline-patch models.\n"
    "\n"
    "Options:\n"
    "  --help       show this text\n"
    "  --version    show the version\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("korvane-cli %s\n", KORVANE_VERSION);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::fputs(kUsage, stderr);
    return 1;
}
