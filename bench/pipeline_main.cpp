// korvane-bench-pipeline MODEL OUTPUT: the whole conversion in one process, as the command-line
// tool's convert --connect 150 runs it plus patch detection, so that a benchmark can time it
// and read its peak memory from outside.

#include <cstdio>
#include <string>

#include "bench/bench_models.h"
#include "export/rvp_writer.h"
#include "patch/curve_connector.h"
#include "patch/patch_builder.h"

int main(int argc, char** argv) {
    using namespace korvane;
    if (argc != 3) {
        std::fputs("usage: korvane-bench-pipeline MODEL OUTPUT\n", stderr);
        return 1;
    }
    auto store = bench::ImportModel(argv[1]);
    std::size_t progressSteps = 0;
    for (PatchObject* object : store->objects) {
        object->DeletePatches();
        ConnectCurves(*object, 150.0f, [&progressSteps](std::int32_t) { ++progressSteps; });
        ComputeHandles(*object);
        DetectPatches(*object);
    }
    const WriteResult written = WriteRvpFile(argv[2], store->objects);
    if (written.status != WriteStatus::kWritten || progressSteps == 0) {
        std::fprintf(stderr, "korvane-bench-pipeline: %s: %s\n", argv[2], written.error.c_str());
        return 3;
    }
    return 0;
}
