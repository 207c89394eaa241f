#include "export/atomic_file_set.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <vector>

#include "export/atomic_file_writer.h"

namespace korvane {
namespace {

// Where each file of the set stands while the set is being put in place.
struct Step {
    std::string temporary;  // the new contents, until renamed; empty for a device or FIFO
    std::string aside;      // the file that was at the path, moved away; empty when none
    bool placed = false;    // renamed into place
};

WriteResult Named(WriteResult result, const FileToWrite& file, bool isMain) {
    if (!isMain) {
        result.error = file.path + ": " + result.error;
    }
    return result;
}

WriteResult Failure(WriteStatus status, int error) {
    return {status, std::error_code(error, std::generic_category()).message()};
}

// Moves a file (not a folder) at path to a free temporary name beside it, where it waits until
// the set is complete. Nothing there is no failure; a folder there makes the rename that follows
// fail instead.
WriteResult MoveAside(const std::string& path, std::string& aside) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return {};
    }
    if (WriteResult reserved = WriteTemporaryBeside(path, {}, aside);
        reserved.status != WriteStatus::kWritten) {
        aside.clear();
        return reserved;
    }
    if (std::rename(path.c_str(), aside.c_str()) != 0) {
        const int error = errno;
        unlink(aside.c_str());
        aside.clear();
        return Failure(WriteStatus::kCannotCreate, error);
    }
    return {};
}

// Undoes the steps taken so far, one per file from the first: the new files leave, the moved
// ones come back. A moved file that cannot come back stays under its temporary name rather than
// be lost.
void Undo(std::span<const FileToWrite> files, const std::vector<Step>& steps) {
    for (std::size_t i = steps.size(); i-- > 0;) {
        const Step& step = steps[i];
        const char* path = files[i].path.c_str();
        if (!step.temporary.empty()) {
            unlink(step.placed ? path : step.temporary.c_str());
        }
        if (!step.aside.empty()) {
            std::rename(step.aside.c_str(), path);
        }
    }
}

}  // namespace

WriteResult WriteFileSetAtomically(std::span<const FileToWrite> files) {
    std::vector<Step> steps;
    steps.reserve(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        const FileToWrite& file = files[i];
        const bool isMain = i + 1 == files.size();
        if (file.path.empty()) {
            Undo(files, steps);
            return Named(Failure(WriteStatus::kCannotCreate, ENOENT), file, isMain);
        }
        Step step;
        if (!IsStreamPath(file.path)) {
            if (WriteResult staged = WriteTemporaryBeside(file.path, file.bytes, step.temporary);
                staged.status != WriteStatus::kWritten) {
                Undo(files, steps);
                return Named(staged, file, isMain);
            }
        }
        steps.push_back(step);
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const FileToWrite& file = files[i];
        const bool isMain = i + 1 == files.size();
        Step& step = steps[i];
        WriteResult result;
        if (step.temporary.empty()) {
            result = WriteInPlace(file.path, file.bytes);
        } else if (!isMain) {
            result = MoveAside(file.path, step.aside);
        }
        if (result.status == WriteStatus::kWritten && !step.temporary.empty()) {
            if (std::rename(step.temporary.c_str(), file.path.c_str()) == 0) {
                step.placed = true;
            } else {
                result = Failure(WriteStatus::kCannotCreate, errno);
            }
        }
        if (result.status != WriteStatus::kWritten) {
            Undo(files, steps);
            return Named(result, file, isMain);
        }
    }
    for (const Step& step : steps) {
        if (!step.aside.empty()) {
            unlink(step.aside.c_str());
        }
    }
    return {};
}

}  // namespace korvane
