#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace korvane::testing {

struct ProcessResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

inline std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string ShellQuote(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs a program with arguments through the shell, capturing both output streams.
inline ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                                const std::string& shellPrefix = "") {
    const auto dir = std::filesystem::temp_directory_path();
    const auto out = dir / ("korvane-test-out-" + std::to_string(::getpid()));
    const auto err = dir / ("korvane-test-err-" + std::to_string(::getpid()));
    std::string command = shellPrefix + ShellQuote(program);
    for (const std::string& arg : args) {
        command += " " + ShellQuote(arg);
    }
    command += " >" + ShellQuote(out.string()) + " 2>" + ShellQuote(err.string()) + " </dev/null";
    const int raw = std::system(command.c_str());
    ProcessResult result;
    result.exitStatus = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadWholeFile(out);
    result.err = ReadWholeFile(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return result;
}

}  // namespace korvane::testing
