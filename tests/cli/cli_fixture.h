#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <regex>
#include <string>
#include <vector>

#include "support/run_process.h"

// What the tests of korvane-cli share: running the tool, a fresh folder per test, and reading
// numbers out of its JSON.
namespace korvane::testing {

namespace fs = std::filesystem;

inline ProcessResult Cli(const std::vector<std::string>& args) {
    return RunProcess(KORVANE_CLI_PATH, args);
}

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("korvane-cli-test-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& content) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }

    fs::path dir_;
};

inline constexpr const char* kSquare =
    "Metasequoia Document\nFormat Text Ver 1.0\n\n"
    "Object \"sq\" {\n\tvertex 4 {\n\t\t0 0 0\n\t\t10 0 0\n\t\t10 10 0\n\t\t0 10 0\n\t}\n"
    "\tface 1 {\n\t\t4 V(0 1 2 3)\n\t}\n}\nEof\n";

// The value of "key": N inside a JSON text, at the given occurrence; -1 when there is none.
inline long long JsonNumber(const std::string& json, const std::string& key, int occurrence = 0) {
    const std::regex pattern("\"" + key + "\": (-?[0-9]+)");
    auto it = std::sregex_iterator(json.begin(), json.end(), pattern);
    for (int i = 0; i < occurrence && it != std::sregex_iterator(); ++i) {
        ++it;
    }
    return it == std::sregex_iterator() ? -1 : std::stoll((*it)[1]);
}

// Every .mqo and .lwo file below the given folders, in sorted order; folders that are not there
// add nothing.
inline std::vector<std::filesystem::path> ModelFilesUnder(
    std::initializer_list<const char*> roots) {
    std::vector<std::filesystem::path> files;
    for (const char* root : roots) {
        if (!std::filesystem::is_directory(root)) {
            continue;
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            const auto extension = entry.path().extension();
            if (extension == ".mqo" || extension == ".lwo") {
                files.push_back(entry.path());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

inline int Occurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

}  // namespace korvane::testing
