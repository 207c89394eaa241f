// The network's headers come before OpenCASCADE's, whose Handle macro would otherwise rewrite
// SplineNode::Handle.
#include "export/cad/cad_export.h"
#include "document/object_store.h"
#include "export/cad/network_shape.h"
#include "export/cad/object_name.h"
#include "export/surface_mesh_builder.h"
#include "import/metasequoia_reader.h"
#include "patch/patch_builder.h"
#include "patch/surface_sampling.h"
#include "support/generated_network.h"
#include "tools/modelgen/model_shapes.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <BRepCheck_Analyzer.hxx>
#include <BRepGProp.hxx>
#include <GProp_GProps.hxx>
#include <TopExp_Explorer.hxx>

#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "cad/cad_readback.h"

// Every model written as STEP and as IGES and read back with OpenCASCADE's own readers: one face
// per net, each on exactly the net's poles, shared edges that close what the network closes, and
// every object's name and colour.

namespace korvane {
namespace {

namespace fs = std::filesystem;
using testing::CadObject;
using testing::ShellSummary;

const fs::path kCorpus(KORVANE_CORPUS_DIR);
const fs::path kExamples(KORVANE_EXAMPLES_DIR);

// What every object of a model must come back as.
enum class Expect { kAnything, kClosedSolid, kOpenShell };

struct ModelCase {
    const char* name;
    std::function<bool(ObjectStore&)> load;  // false when the model is not here
    Expect expect;
    std::size_t maxPatches = 0;  // objects with more patches are not written (0: none left out)
};

bool ImportFile(ObjectStore& store, const fs::path& path) {
    if (!fs::exists(path)) {
        return false;
    }
    EXPECT_EQ(ImportMetasequoia(path, store).status, ImportStatus::kImported) << path;
    return true;
}

std::function<bool(ObjectStore&)> Generated(modelgen::GeneratedModel (*make)(), const char* name,
                                            std::uint32_t colour) {
    return [=](ObjectStore& store) {
        PatchObject& object = *store.AddObject();
        testing::BuildGenerated(make(), object);
        object.name = name;
        object.colour = colour;
        return true;
    };
}

const ModelCase kModels[] = {
    {"Golem", [](ObjectStore& s) { return ImportFile(s, kCorpus / "mqo/Golem.mqo"); },
     Expect::kAnything},
    // A name with the characters a STEP string escapes.
    {"torus", Generated([] { return modelgen::MakeTorus(24, 12); }, "Bob's \\ring\\", 0x3366CC),
     Expect::kClosedSolid},
    // Triangle fans at the poles; a name in Shift_JIS (ミク).
    {"sphere", Generated([] { return modelgen::MakeSphere(16, 10); }, "\x83\x7E\x83\x4E", 0x10E0F0),
     Expect::kClosedSolid},
    {"vase", [](ObjectStore& s) { return ImportFile(s, kExamples / "vase.mqo"); },
     Expect::kAnything},
    {"grid", Generated([] { return modelgen::MakeGrid(8, 5); }, "grid", 0x000000),
     Expect::kOpenShell},
    // Its objects of up to 150 patches: seven objects in one file, without reading 72,000 faces
    // back on every run (the benchmark writes the whole model).
    {"miku", [](ObjectStore& s) { return ImportFile(s, kCorpus / "mqo/miku.mqo"); },
     Expect::kAnything, 150},
};

const char* Extension(CadFormat format) {
    return format == CadFormat::kStep ? "step" : "igs";
}

// The poles of a net in the file's axes: Z reversed.
std::array<float, 48> FilePoles(const BezierNet& net) {
    std::array<float, 48> poles = net.values;
    for (std::size_t i = 2; i < poles.size(); i += 3) {
        poles[i] = -poles[i];
    }
    return poles;
}

// What the file must hold for one object.
struct ObjectExpectation {
    std::string name;
    std::uint32_t colour = 0;
    std::map<std::array<float, 48>, int> nets;  // how many faces lie on each
    int faces = 0;
    std::vector<ShellSummary> shells;  // as written, before the file
    double meshVolume = 0.0;           // enclosed by the surface mesh at a high resolution
};

// Six times the volume a triangle mesh encloses, by the divergence theorem: the sum of the
// tetrahedra from the origin over its triangles.
double EnclosedVolume(const SurfaceMesh& mesh) {
    double sum = 0.0;
    for (std::size_t t = 0; t < mesh.triangles.size(); t += 3) {
        const Vec3& a = mesh.positions[mesh.triangles[t]];
        const Vec3& b = mesh.positions[mesh.triangles[t + 1]];
        const Vec3& c = mesh.positions[mesh.triangles[t + 2]];
        sum += double{a.x} * (double{b.y} * c.z - double{b.z} * c.y) +
               double{a.y} * (double{b.z} * c.x - double{b.x} * c.z) +
               double{a.z} * (double{b.x} * c.y - double{b.y} * c.x);
    }
    return sum / 6.0;
}

ObjectExpectation Expectation(PatchObject& object, std::size_t place, Expect expect) {
    ObjectExpectation out;
    out.name = CadObjectName(object.name, place);
    out.colour = object.colour;
    const ObjectShape written = BuildObjectShape(object);
    EXPECT_EQ(written.patchesLeftOut, 0) << out.name;
    if (!written.shape.IsNull()) {
        EXPECT_TRUE(BRepCheck_Analyzer(written.shape).IsValid()) << out.name;
        out.shells = testing::SummariseShells(written.shape);
    }
    std::array<BezierNet, 3> nets;
    for (const Patch& patch : object.Patches()) {
        const int count = SurfaceNets(object, patch, nets);
        for (int n = 0; n < count; ++n) {
            ++out.nets[FilePoles(nets[static_cast<std::size_t>(n)])];
        }
        out.faces += count;
    }
    if (expect == Expect::kClosedSolid) {
        out.meshVolume = EnclosedVolume(BuildSurfaceMesh(object, 16));
    }
    return out;
}

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void CheckObject(const CadObject& read, ObjectExpectation& expected, CadFormat format,
                 Expect expect) {
    SCOPED_TRACE(expected.name);
    // IGES strings are ASCII: OpenCASCADE writes other characters as '_'.
    if (format == CadFormat::kStep || IsAscii(expected.name)) {
        EXPECT_EQ(read.name, expected.name);
    }
    ASSERT_TRUE(read.colour.has_value());
    for (int c = 0; c < 3; ++c) {
        const double byte = static_cast<double>((expected.colour >> (8 * c)) & 0xFF);
        EXPECT_NEAR((*read.colour)[static_cast<std::size_t>(c)] * 255.0, byte, 0.5) << c;
    }

    EXPECT_EQ(testing::CountFaces(read.shape), expected.faces);
    int unmatched = 0;
    for (TopExp_Explorer face(read.shape, TopAbs_FACE); face.More(); face.Next()) {
        const std::optional<std::array<float, 48>> poles = testing::BicubicPoles(face.Current());
        const auto found = poles ? expected.nets.find(*poles) : expected.nets.end();
        if (found == expected.nets.end() || found->second == 0) {
            ++unmatched;
        } else {
            --found->second;
        }
    }
    EXPECT_EQ(unmatched, 0) << "faces that are no net's surface, pole for pole";

    const std::vector<ShellSummary> shells = testing::SummariseShells(read.shape);
    EXPECT_EQ(shells, expected.shells) << "the file changed the shells or their closedness";
    if (expect == Expect::kOpenShell) {
        EXPECT_EQ(shells, (std::vector<ShellSummary>{{expected.faces, false, false}}));
    }
    if (expect == Expect::kClosedSolid) {
        EXPECT_EQ(shells, (std::vector<ShellSummary>{{expected.faces, true, true}}));
        EXPECT_EQ(read.shape.ShapeType(), TopAbs_SOLID);
        EXPECT_TRUE(BRepCheck_Analyzer(read.shape).IsValid());
        GProp_GProps properties;
        BRepGProp::VolumeProperties(read.shape, properties);
        EXPECT_GT(expected.meshVolume, 0.0);
        EXPECT_NEAR(properties.Mass(), expected.meshVolume, 0.005 * expected.meshVolume);
    }
}

class CadReadBackTest : public ::testing::TestWithParam<std::tuple<ModelCase, CadFormat>> {};

TEST_P(CadReadBackTest, FileHoldsEveryNetAsOneFaceInShellsThatCloseAsTheNetworkDoes) {
    const auto& [model, format] = GetParam();
    ObjectStore store;
    if (!model.load(store)) {
        GTEST_SKIP() << model.name << " is not here";
    }
    ObjectList<PatchObject> objects;  // does not own them
    for (PatchObject* object : store.objects) {
        DetectPatches(*object);
        if (model.maxPatches == 0 || object->Patches().size() <= model.maxPatches) {
            objects.Append(object);
        }
    }
    std::vector<ObjectExpectation> expected;
    std::vector<std::string> withoutPatches;
    std::int64_t faces = 0;
    std::size_t place = 0;
    for (PatchObject* object : objects) {
        ObjectExpectation expectation = Expectation(*object, place++, model.expect);
        faces += expectation.faces;
        if (expectation.faces == 0) {
            withoutPatches.push_back(expectation.name);
        } else {
            expected.push_back(std::move(expectation));
        }
    }

    const fs::path path = fs::temp_directory_path() / ("korvane-cad-" + std::to_string(getpid()) +
                                                       "-" + model.name + "." + Extension(format));
    const CadExportReport report = WriteCadFile(path, objects, format);
    ASSERT_EQ(report.written.status, WriteStatus::kWritten) << report.written.error;
    EXPECT_EQ(report.facesWritten, faces);
    EXPECT_EQ(report.patchesLeftOut, 0);
    EXPECT_EQ(report.objectsLeftOut, withoutPatches);

    const std::optional<std::vector<CadObject>> read = testing::ReadCadFile(path, format);
    fs::remove(path);
    ASSERT_TRUE(read.has_value()) << "the reader refused the file";
    ASSERT_EQ(read->size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        CheckObject((*read)[i], expected[i], format, model.expect);
    }
}

INSTANTIATE_TEST_SUITE_P(Models, CadReadBackTest,
                         ::testing::Combine(::testing::ValuesIn(kModels),
                                            ::testing::Values(CadFormat::kStep, CadFormat::kIges)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    Extension(std::get<1>(info.param));
                         });

}  // namespace
}  // namespace korvane
