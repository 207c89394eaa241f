#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "document/object_store.h"
#include "export/animation_master_writer.h"
#include "export/spatch_writer.h"
#include "import/lightwave_reader.h"
#include "import/metasequoia_reader.h"
#include "patch/curve_connector.h"
#include "patch/patch_builder.h"
#include "patch/patch_facing.h"
#include "support/found_patches.h"
#include "support/generated_network.h"
#include "support/mdl_reader.h"
#include "support/spt_reader.h"
#include "tools/modelgen/model_shapes.h"

// Every model, before and after Connect Curve, exported to each format and read back with the
// tests' own readers: the file holds exactly the network.

namespace korvane {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus(KORVANE_CORPUS_DIR);
const fs::path kExamples(KORVANE_EXAMPLES_DIR);

// Imports the files in order; false when one of them is not here.
bool ImportFiles(ObjectStore& store, const std::vector<fs::path>& paths) {
    for (const fs::path& path : paths) {
        if (!fs::exists(path)) {
            return false;
        }
        const ImportResult result = path.extension() == ".lwo"
                                        ? ImportLightWave(path, path.stem(), store)
                                        : ImportMetasequoia(path, store);
        EXPECT_EQ(result.status, ImportStatus::kImported) << path;
    }
    return true;
}

std::vector<fs::path> LightWaveFiles() {
    std::vector<fs::path> files;
    for (const char* folder : {"lwo", "lwo3"}) {
        if (fs::is_directory(kCorpus / folder)) {
            for (const auto& entry : fs::directory_iterator(kCorpus / folder)) {
                files.push_back(entry.path());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool Generated(ObjectStore& store) {
    const modelgen::GeneratedModel models[] = {modelgen::MakeGrid(6, 4), modelgen::MakeTorus(12, 8),
                                               modelgen::MakeSphere(10, 6), modelgen::MakeFan(9)};
    std::uint32_t colour = 0x203040;
    float shift = 0.0f;
    for (const modelgen::GeneratedModel& model : models) {
        PatchObject& object = *store.AddObject();
        testing::BuildGenerated(model, object, shift);
        object.name = model.name;
        object.colour = colour;
        colour += 0x102030;
        shift += 40.0f;
    }
    return true;
}

struct Model {
    const char* name;
    std::function<bool(ObjectStore&)> load;
};

const Model kModels[] = {
    {"Golem", [](ObjectStore& s) { return ImportFiles(s, {kCorpus / "mqo/Golem.mqo"}); }},
    {"miku", [](ObjectStore& s) { return ImportFiles(s, {kCorpus / "mqo/miku.mqo"}); }},
    {"LightWave",
     [](ObjectStore& s) {
         const std::vector<fs::path> files = LightWaveFiles();
         return !files.empty() && ImportFiles(s, files);
     }},
    {"generated", Generated},
    // A mirrored head and two lathed models.
    {"examples",
     [](ObjectStore& s) {
         return ImportFiles(
             s, {kExamples / "head.mqo", kExamples / "vase.mqo", kExamples / "torus.mqo"});
     }},
};

enum class Format { kAnimationMaster, kSPatch };

// A patch as the control points round it, turned and started so that equal loops compare equal.
using Loop = std::vector<std::int32_t>;

Loop Canonical(Loop loop) {
    Loop best = loop;
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < loop.size(); ++i) {
            std::rotate(loop.begin(), loop.begin() + 1, loop.end());
            best = std::min(best, loop);
        }
        std::reverse(loop.begin(), loop.end());
    }
    return best;
}

std::vector<Loop> NetworkPatches(const PatchObject& object) {
    std::vector<Loop> loops;
    for (const Patch& patch : object.Patches()) {
        Loop loop;
        for (int corner = 0; corner < patch.cornerCount; ++corner) {
            loop.push_back(CornerPoint(object, patch, corner));
        }
        loops.push_back(Canonical(loop));
    }
    std::sort(loops.begin(), loops.end());
    return loops;
}

testing::MdlColour Rgb(std::uint32_t colour) {
    return {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
            static_cast<int>((colour >> 16) & 0xFF)};
}

void ExpectMdlHoldsNetwork(const ObjectList<PatchObject>& objects) {
    const std::string text = SerializeAnimationMaster(testing::WithPatches(objects));
    testing::MdlReader reader(text);
    const std::optional<testing::MdlFile> file = reader.Read();
    ASSERT_TRUE(file) << reader.error();
    const std::vector<std::string> problems = testing::MdlProblems(*file);
    ASSERT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems[0];
    EXPECT_EQ(file->models, 1);
    EXPECT_EQ(file->meshes, 1);
    const testing::MdlIndex index(*file);

    // Which object and point each stack of CPs stands for, by the CP that holds its position.
    std::map<std::int64_t, std::pair<std::size_t, std::int32_t>> pointOfStack;
    std::vector<std::vector<Loop>> expectedPatches;
    std::size_t spline = 0;
    std::size_t place = 0;
    for (const PatchObject* object : objects) {
        const std::size_t k = expectedPatches.size();
        if (object->SplineCount() == 0) {
            ++place;
            continue;
        }
        ASSERT_LE(spline + static_cast<std::size_t>(object->SplineCount()), file->splines.size());
        std::vector<std::int64_t> cpOfNode;
        for (std::int32_t s = 0; s < object->SplineCount(); ++s, ++spline) {
            const std::vector<testing::MdlCp>& cps = file->splines[spline];
            const std::span<const SplineNode> nodes = object->SplineNodes(s);
            ASSERT_EQ(cps.size(), nodes.size()) << object->name << " spline " << s;
            for (std::size_t i = 0; i < nodes.size(); ++i) {
                const testing::MdlCp& cp = cps[i];
                cpOfNode.push_back(cp.id);
                const PatchVec3& at = object->PointOf(nodes[i]);
                const testing::MdlVector held = index.Cp(*index.Root(cp.id)).position;
                EXPECT_TRUE(held[0] == at.x && held[1] == at.y && held[2] == -at.z)
                    << object->name << " spline " << s << " node " << i;
                EXPECT_EQ((cp.flags & 1) != 0, !nodes[i].corner);
                EXPECT_EQ((cp.flags & 4) != 0, i + 1 == nodes.size() && object->Closed(s));
                EXPECT_EQ(cp.out + cp.in, "..");
            }
        }
        // A point's CPs are one stack, and the stack holds them alone.
        for (std::int32_t point = 0; point < object->PointCount(); ++point) {
            const std::span<const SplineRef> refs = object->RefsOf(point);
            for (const SplineRef& ref : refs) {
                const std::int64_t stack =
                    *index.Root(cpOfNode[static_cast<std::size_t>(ref.node)]);
                const auto [found, added] = pointOfStack.try_emplace(stack, k, point);
                EXPECT_EQ(found->second, std::make_pair(k, point))
                    << object->name << " point " << point;
                EXPECT_EQ(stack, *index.Root(cpOfNode[static_cast<std::size_t>(refs[0].node)]))
                    << object->name << " point " << point << " stands in two stacks";
            }
        }
        ASSERT_LT(k, file->groups.size());
        const testing::MdlGroup& group = file->groups[k];
        EXPECT_EQ(group.name, AnimationMasterGroupName(object->name, place));
        EXPECT_EQ(group.colour, Rgb(object->colour));
        std::vector<std::int64_t> members = group.cps;
        std::sort(members.begin(), members.end());
        std::sort(cpOfNode.begin(), cpOfNode.end());
        EXPECT_EQ(members, cpOfNode) << object->name;
        ASSERT_LT(k + 1, file->attributes.size());
        EXPECT_EQ(file->attributes[k + 1], Rgb(object->colour));
        expectedPatches.push_back(NetworkPatches(*object));
        ++place;
    }
    EXPECT_EQ(spline, file->splines.size());
    EXPECT_EQ(file->groups.size(), expectedPatches.size());
    EXPECT_EQ(file->attributes.size(), expectedPatches.size() + 1);

    // Patches by their corners, per object; where two patches share a segment, they run along it
    // in opposite directions; and an object closed all round faces outwards: its corner polygons,
    // counter-clockwise about their fronts, enclose a positive volume.
    std::vector<std::vector<Loop>> writtenPatches(expectedPatches.size());
    std::map<std::pair<std::size_t, std::size_t>, std::vector<bool>> segmentRuns;
    std::vector<std::set<std::pair<std::size_t, std::size_t>>> segmentsOf(expectedPatches.size());
    std::vector<double> volumes(expectedPatches.size(), 0.0);
    for (const testing::MdlPatch& patch : file->patches) {
        ASSERT_GE(patch.attribute, 1);
        ASSERT_LE(patch.attribute, static_cast<std::int64_t>(expectedPatches.size()));
        const auto k = static_cast<std::size_t>(patch.attribute - 1);
        Loop loop;
        for (int corner = 0; corner < patch.CornerCount(); ++corner) {
            const auto [object, point] = pointOfStack.at(*index.Root(patch.corners[corner]));
            EXPECT_EQ(object, k) << "a patch across objects";
            loop.push_back(point);
            const auto [s, i] = index.Place(patch.corners[corner]);
            const bool forward = (patch.flags & (std::int64_t{8} << corner)) != 0;
            const std::size_t size = file->splines[s].size();
            const std::pair<std::size_t, std::size_t> segment{s,
                                                              forward ? i : (i + size - 1) % size};
            segmentRuns[segment].push_back(forward);
            segmentsOf[k].insert(segment);
        }
        writtenPatches[k].push_back(Canonical(loop));
        const auto at = [&](int corner) {
            return index.Cp(*index.Root(patch.corners[corner])).position;
        };
        for (int corner = 1; corner + 1 < patch.CornerCount(); ++corner) {
            const testing::MdlVector o = at(0), a = at(corner), b = at(corner + 1);
            volumes[k] += double{o[0]} * (double{a[1]} * b[2] - double{a[2]} * b[1]) +
                          double{o[1]} * (double{a[2]} * b[0] - double{a[0]} * b[2]) +
                          double{o[2]} * (double{a[0]} * b[1] - double{a[1]} * b[0]);
        }
    }
    for (std::size_t k = 0; k < segmentsOf.size(); ++k) {
        const bool closed =
            !segmentsOf[k].empty() &&
            std::all_of(segmentsOf[k].begin(), segmentsOf[k].end(),
                        [&](const auto& segment) { return segmentRuns[segment].size() == 2; });
        if (closed) {
            EXPECT_GT(volumes[k], 0.0) << "object " << k << " faces inwards";
        }
    }
    for (std::size_t k = 0; k < writtenPatches.size(); ++k) {
        std::sort(writtenPatches[k].begin(), writtenPatches[k].end());
        EXPECT_TRUE(writtenPatches[k] == expectedPatches[k]) << "patches of object " << k;
    }
    int alike = 0;
    for (const auto& [segment, runs] : segmentRuns) {
        alike += runs.size() == 2 && runs[0] == runs[1] ? 1 : 0;
    }
    EXPECT_EQ(alike, 0) << "segments that two patches run along the same way";
}

void ExpectSptHoldsNetwork(const ObjectList<PatchObject>& objects) {
    const std::string text = SerializeSPatch(objects);
    testing::SptReader reader(text);
    const std::optional<testing::SptFile> file = reader.Read();
    ASSERT_TRUE(file) << reader.error();
    const std::vector<std::string> problems = testing::SptProblems(*file);
    ASSERT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems[0];

    std::size_t point = 0;
    std::size_t curve = 0;
    for (const PatchObject* object : objects) {
        std::vector<std::int64_t> idOf(object->Points().size(), -1);
        for (std::int32_t p = 0; p < object->PointCount(); ++p) {
            const std::span<const SplineRef> refs = object->RefsOf(p);
            if (refs.empty()) {
                continue;
            }
            ASSERT_LT(point, file->points.size());
            idOf[static_cast<std::size_t>(p)] = static_cast<std::int64_t>(point);
            const testing::SptPoint& written = file->points[point++];
            const PatchVec3& at = object->Points()[static_cast<std::size_t>(p)];
            EXPECT_TRUE(written.position == (std::array<float, 3>{at.x, at.y, at.z}))
                << object->name << " point " << p;
            ASSERT_EQ(written.curves.size(), refs.size()) << object->name << " point " << p;
            for (std::size_t r = 0; r < refs.size(); ++r) {
                const std::int32_t start =
                    object->SplineStarts()[static_cast<std::size_t>(refs[r].spline)];
                EXPECT_EQ(written.curves[r],
                          std::make_pair(static_cast<std::int64_t>(curve) + refs[r].spline,
                                         std::int64_t{refs[r].node - start}));
            }
        }
        for (std::int32_t s = 0; s < object->SplineCount(); ++s) {
            ASSERT_LT(curve + static_cast<std::size_t>(s), file->curves.size());
            const testing::SptCurve& written = file->curves[curve + static_cast<std::size_t>(s)];
            const std::span<const SplineNode> nodes = object->SplineNodes(s);
            EXPECT_EQ(written.closed, object->Closed(s));
            ASSERT_EQ(written.nodes.size(), nodes.size());
            for (std::size_t i = 0; i < nodes.size(); ++i) {
                const testing::SptNode& node = written.nodes[i];
                EXPECT_EQ(node.point, idOf[static_cast<std::size_t>(nodes[i].controlPoint)]);
                EXPECT_EQ(node.round, nodes[i].corner ? 0 : 1);
                // The curvature gives back the handle's length over the segment it leaves along.
                const bool outgoing = i + 1 < nodes.size() || object->Closed(s);
                const SplineNode& other = nodes[outgoing ? (i + 1) % nodes.size() : i - 1];
                const PatchVec3& centre = object->PointOf(nodes[i]);
                const double distance = Length(Subtract(object->PointOf(other), centre));
                const double handle = Length(Subtract(
                    nodes[i].Handle(outgoing ? HandleDirection::kOut : HandleDirection::kIn),
                    centre));
                EXPECT_NEAR(node.curvature * distance, handle, 1e-5 * (1.0 + handle))
                    << object->name << " spline " << s << " node " << i;
            }
        }
        curve += static_cast<std::size_t>(object->SplineCount());
    }
    EXPECT_EQ(point, file->points.size());
    EXPECT_EQ(curve, file->curves.size());
}

class SplinePatchReadbackTest
    : public ::testing::TestWithParam<std::tuple<std::size_t, bool, Format>> {};

TEST_P(SplinePatchReadbackTest, FileHoldsExactlyTheNetwork) {
    const auto [model, connected, format] = GetParam();
    ObjectStore store;
    if (!kModels[model].load(store)) {
        GTEST_SKIP() << "the files of " << kModels[model].name << " are not here";
    }
    ASSERT_FALSE(store.objects.IsEmpty());
    if (connected) {
        for (PatchObject* object : store.objects) {
            object->DeletePatches();
            ConnectCurves(*object, 150.0f, nullptr);
            ComputeHandles(*object);
        }
    }
    if (format == Format::kAnimationMaster) {
        ExpectMdlHoldsNetwork(store.objects);
    } else {
        ExpectSptHoldsNetwork(store.objects);
    }
}

std::string CaseName(const ::testing::TestParamInfo<SplinePatchReadbackTest::ParamType>& info) {
    const auto [model, connected, format] = info.param;
    return std::string(kModels[model].name) + (connected ? "Connected" : "AsImported") +
           (format == Format::kAnimationMaster ? "Mdl" : "Spt");
}

INSTANTIATE_TEST_SUITE_P(
    ModelsAndFormats, SplinePatchReadbackTest,
    ::testing::Combine(::testing::Range(std::size_t{0}, std::size(kModels)), ::testing::Bool(),
                       ::testing::Values(Format::kAnimationMaster, Format::kSPatch)),
    CaseName);

}  // namespace
}  // namespace korvane
