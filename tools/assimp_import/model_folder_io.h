#pragma once

#include <assimp/IOSystem.hpp>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tools/assimp_import/side_file_policy.h"

// assimp's file access for one import: every file that assimp opens or looks for, the model and
// whatever it names, goes through OpenSideFile, so that only regular files in the model's folder
// are read. What was refused is kept, named relative to the model's folder, to be told the user.

namespace korvane {

class ModelFolderIOSystem : public Assimp::IOSystem {
  public:
    explicit ModelFolderIOSystem(const std::string& modelPath);

    bool Exists(const char* path) const override;
    char getOsSeparator() const override { return '/'; }
    Assimp::IOStream* Open(const char* path, const char* mode) override;
    void Close(Assimp::IOStream* stream) override;

    // One line per refused file, in the order they were asked for, the first kMaxRefusals of
    // them; missing files are not among them (the reader says what it missed), nor the names
    // assimp only asks after.
    static constexpr std::size_t kMaxRefusals = 64;
    const std::vector<std::string>& refusals() const { return refusals_; }

  private:
    void Remember(std::string_view path, const SideFile& file);

    ModelFolder where_;
    std::string modelFolderAsNamed_;  // the model's path up to its last '/', as given
    std::vector<std::string> refusals_;
};

}  // namespace korvane
