#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/object_store.h"
#include "hostile_support.h"

// Every input that once crashed, hung, leaked or exhausted memory (from fuzzing or the hostile
// tests) stays in inputs/: each must import with a clear status, convert in memory, and leave the
// tool alive under the memory limit with the exit status of its outcome.

namespace korvane::testing {
namespace {

std::vector<fs::path> Inputs() {
    std::vector<fs::path> paths;
    for (const auto& entry : fs::directory_iterator(KORVANE_HOSTILE_INPUTS_DIR)) {
        paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

TEST(RegressionInputsTest, EveryFormerFindingConvertsAndTheToolSurvives) {
    const std::vector<fs::path> inputs = Inputs();
    ASSERT_FALSE(inputs.empty());
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.filename().string());
        ObjectStore store;
        const ImportResult result = ImportAndConvert(ReadWholeFile(input), store);
        const ProcessResult cli = ConvertWithCli(input);
        EXPECT_EQ(cli.exitStatus, result.status == ImportStatus::kImported ? 0 : 2) << cli.err;
    }
}

}  // namespace
}  // namespace korvane::testing
