#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>
#include <set>
#include <string>

#include "document/object_store.h"
#include "import/metasequoia_reader.h"
#include "patch/bezier_net.h"
#include "patch/curve_connector.h"
#include "patch/curve_fields.h"
#include "patch/patch_builder.h"
#include "patch/patch_network_access.h"
#include "patch/smooth_patches.h"
#include "patch/smooth_tessellation.h"
#include "patch/smoothness_report.h"
#include "patch/tangent_planes.h"
#include "support/generated_network.h"
#include "support/network_builder.h"
#include "surface_jumps.h"
#include "tools/modelgen/model_shapes.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;
using testing::JumpPlace;
using testing::SurfaceJumps;

constexpr float kConnectDegrees = 150.0f;
constexpr int kResolution = 8;  // every side cut into 16 steps

// A closed cylinder of `around` x `rings` quads, a flat floor and a low conical roof, each a fan
// of triangles. The roof is low enough for Connect Curve to join its curves through the apex.
modelgen::GeneratedModel RoofedCylinder(int around, int rings) {
    modelgen::GeneratedModel model;
    model.name = "roofed cylinder";
    constexpr double kRadius = 200.0;
    constexpr double kHeight = 400.0;
    constexpr double kRoof = 40.0;
    for (int ring = 0; ring <= rings; ++ring) {
        for (int i = 0; i < around; ++i) {
            const double angle = 2.0 * std::numbers::pi * i / around;
            model.AddVertex(static_cast<float>(kRadius * std::cos(angle)),
                            static_cast<float>(kHeight * ring / rings),
                            static_cast<float>(kRadius * std::sin(angle)));
        }
    }
    const int floor = around * (rings + 1);
    model.AddVertex(0.0f, 0.0f, 0.0f);
    model.AddVertex(0.0f, static_cast<float>(kHeight + kRoof), 0.0f);
    const auto at = [around](int i, int ring) { return ring * around + i % around; };
    for (int ring = 0; ring < rings; ++ring) {
        for (int i = 0; i < around; ++i) {
            model.AddFace({at(i, ring), at(i + 1, ring), at(i + 1, ring + 1), at(i, ring + 1)});
        }
    }
    for (int i = 0; i < around; ++i) {
        model.AddFace({floor, at(i + 1, 0), at(i, 0)});
        model.AddFace({floor + 1, at(i, rings), at(i + 1, rings)});
    }
    return model;
}

void Connect(PatchObject& object) {
    object.DeletePatches();
    ConnectCurves(object, kConnectDegrees, nullptr);
    ComputeHandles(object);
    DetectPatches(object);
}

void BuildConnected(const modelgen::GeneratedModel& model, PatchObject& object) {
    testing::BuildGenerated(model, object);
    Connect(object);
}

int DefaultGrids(const PatchObject& object, const Patch& patch, int resolution,
                 std::array<std::vector<SurfaceSample>, 3>& grids) {
    std::array<BezierNet, 3> nets;
    const int count = SurfaceNets(object, patch, nets);
    for (int k = 0; k < count; ++k) {
        SampleNetGrid(nets[static_cast<std::size_t>(k)], SurfaceNetSteps(count, resolution),
                      grids[static_cast<std::size_t>(k)]);
    }
    return count;
}

SurfaceJumps DefaultJumps(const PatchObject& object) {
    return SurfaceJumps(object, kResolution, [&](const Patch& patch, auto& grids) {
        return DefaultGrids(object, patch, kResolution, grids);
    });
}

SurfaceJumps SmoothJumps(const PatchObject& object, const CurveFields& fields) {
    return SurfaceJumps(object, kResolution, [&](const Patch& patch, auto& grids) {
        return SampleSmoothPatch(object, fields, patch, kResolution, grids);
    });
}

// The control points at both ends of every segment, by the node that names it.
std::vector<std::array<std::int32_t, 2>> SegmentEnds(const PatchObject& object) {
    std::vector<std::array<std::int32_t, 2>> ends(object.Nodes().size(), {-1, -1});
    for (std::int32_t spline = 0; spline < object.SplineCount(); ++spline) {
        const std::int32_t first = object.SplineStarts()[static_cast<std::size_t>(spline)];
        const std::int32_t last = object.SplineStarts()[static_cast<std::size_t>(spline) + 1];
        for (std::int32_t node = first; node < last; ++node) {
            const std::int32_t next = object.Successor(spline, node);
            if (next >= 0) {
                ends[static_cast<std::size_t>(node)] = {
                    object.Nodes()[static_cast<std::size_t>(node)].controlPoint,
                    object.Nodes()[static_cast<std::size_t>(next)].controlPoint};
            }
        }
    }
    return ends;
}

// The places the report leaves out of the promise: curves named as creases, and curves that
// end at a point whose tangents lie in no plane.
std::function<bool(const JumpPlace&)> PromisedSmooth(const PatchObject& object,
                                                     const SmoothnessReport& report) {
    std::set<std::int32_t> points;
    for (const auto& p : report.offPlanePoints) {
        points.insert(p.point);
    }
    std::set<std::int32_t> creases;
    for (const auto& c : report.creaseSegments) {
        creases.insert(c.segment);
    }
    return [ends = SegmentEnds(object), points, creases](const JumpPlace& place) {
        if (place.kind != JumpPlace::kSegment) {
            return true;
        }
        const auto [from, to] = ends[static_cast<std::size_t>(place.owner)];
        return creases.count(place.owner) == 0 && points.count(from) == 0 && points.count(to) == 0;
    };
}

// False when the file is not here: the corpus is not on every machine.
bool LoadFile(const fs::path& path, ObjectStore& store) {
    if (!fs::exists(path)) {
        return false;
    }
    EXPECT_EQ(ImportMetasequoia(path.string(), store).status, ImportStatus::kImported) << path;
    return true;
}

bool LoadGenerated(const modelgen::GeneratedModel& model, ObjectStore& store) {
    testing::BuildGenerated(model, *store.AddObject());
    return true;
}

struct ModelCase {
    const char* name;
    std::function<bool(ObjectStore&)> load;
    // Today's nets, sampled at the same places: the widest jump where the smooth surfaces
    // promise none, in degrees.
    double defaultJump;
    bool inCorpus = false;
};

const ModelCase kModels[] = {
    {"sphere 24 x 16 (fans of 24 at the poles)",
     [](ObjectStore& s) { return LoadGenerated(modelgen::MakeSphere(24, 16), s); }, 22.1865},
    {"torus 24 x 16", [](ObjectStore& s) { return LoadGenerated(modelgen::MakeTorus(24, 16), s); },
     0.000552},
    {"roofed cylinder (fans on floor and roof)",
     [](ObjectStore& s) { return LoadGenerated(RoofedCylinder(16, 4), s); }, 0.775033},
    {"vase (lathed)",
     [](ObjectStore& s) { return LoadFile(fs::path(KORVANE_EXAMPLES_DIR) / "vase.mqo", s); },
     0.000311},
    {"head (mirrored)",
     [](ObjectStore& s) { return LoadFile(fs::path(KORVANE_EXAMPLES_DIR) / "head.mqo", s); },
     25.5541},
    {"Golem",
     [](ObjectStore& s) { return LoadFile(fs::path(KORVANE_CORPUS_DIR) / "mqo/Golem.mqo", s); },
     0.748671, true},
};

TEST(SmoothSurfacesTest, NeighboursShareTheirTangentPlaneWhereverTheNetworkIsSmooth) {
    for (const ModelCase& model : kModels) {
        SCOPED_TRACE(model.name);
        ObjectStore store;
        if (!model.load(store)) {
            EXPECT_TRUE(model.inCorpus) << "the example is missing";
            continue;
        }
        double smooth = 0.0;
        double today = 0.0;
        std::size_t places = 0;
        for (PatchObject* object : store.objects) {
            Connect(*object);
            const CurveFields fields = ComputeCurveFields(*object);
            const auto promised = PromisedSmooth(*object, ReportSmoothness(*object, fields));
            const SurfaceJumps after = SmoothJumps(*object, fields);
            smooth = std::max(smooth, after.Widest(promised));
            today = std::max(today, DefaultJumps(*object).Widest(promised));
            places += after.SharedPlaces();
        }
        EXPECT_GT(places, 0u);
        EXPECT_LT(smooth, 0.01);
        EXPECT_NEAR(today, model.defaultJump, std::max(0.001, 1e-4 * model.defaultJump));
    }
}

// The floor and the roof meet the wall at a right angle and at 100 degrees: their rims are
// creases, named with their points; the curves through the roof's apex are joined and smooth.
TEST(SmoothSurfacesTest, TheReportNamesTheCreasedRimsAndNothingElse) {
    constexpr int kAround = 16;
    constexpr int kRings = 4;
    PatchObject object;
    BuildConnected(RoofedCylinder(kAround, kRings), object);
    const CurveFields fields = ComputeCurveFields(object);
    const SmoothnessReport report = ReportSmoothness(object, fields);
    const auto onRim = [](std::int32_t point) {
        return point < kAround || (point >= kAround * kRings && point < kAround * (kRings + 1));
    };
    ASSERT_EQ(report.offPlanePoints.size(), 2u * kAround);
    for (const auto& p : report.offPlanePoints) {
        EXPECT_TRUE(onRim(p.point)) << p.point;
        EXPECT_GT(p.residualDegrees, 10.0f) << p.point;
    }
    const auto ends = SegmentEnds(object);
    ASSERT_EQ(report.creaseSegments.size(), 2u * kAround);
    for (const auto& c : report.creaseSegments) {
        EXPECT_EQ(c.reason, CreaseReason::kCreasedEnds);
        const auto [from, to] = ends[static_cast<std::size_t>(c.segment)];
        EXPECT_TRUE(onRim(from) && onRim(to)) << from << " " << to;
    }
    EXPECT_GT(report.worstResidualDegrees, 10.0f);
    // At the roof's apex, where 16 triangles meet, today's nets fold and the smooth ones do not.
    const auto apex = static_cast<std::int32_t>(object.Points().size()) - 1;
    EXPECT_EQ(FitTangentPlanes(object)[static_cast<std::size_t>(apex)].residualDegrees, 0.0f);
    const auto nearApex = [&](const JumpPlace& place) {
        return place.kind == JumpPlace::kSegment &&
               (ends[static_cast<std::size_t>(place.owner)][0] == apex ||
                ends[static_cast<std::size_t>(place.owner)][1] == apex);
    };
    EXPECT_GT(DefaultJumps(object).Widest(nearApex), 1.0);
    EXPECT_LT(SmoothJumps(object, fields).Widest(nearApex), 0.01);
}

// Corner nodes ask for creases: every segment that ends at one keeps the cross-boundary
// derivatives of today's nets, so both patches on it have today's normals all along it.
TEST(SmoothSurfacesTest, SegmentsAtACornerNodeKeepTodaysTangentPlanes) {
    PatchObject object;
    BuildConnected(modelgen::MakeSphere(12, 8), object);
    const std::int32_t pole = 0;
    const std::int32_t ringPoint = 30;
    for (SplineNode& node : PatchNetworkAccess::Nodes(object)) {
        node.corner = node.corner || node.controlPoint == pole || node.controlPoint == ringPoint;
    }
    const CurveFields fields = ComputeCurveFields(object);
    const SmoothnessReport report = ReportSmoothness(object, fields);
    const auto ends = SegmentEnds(object);
    std::set<std::int32_t> creased;
    for (const auto& c : report.creaseSegments) {
        EXPECT_EQ(c.reason, CreaseReason::kCornerNode);
        creased.insert(c.segment);
    }
    for (std::size_t node = 0; node < ends.size(); ++node) {
        const bool atCorner = ends[node][0] == pole || ends[node][1] == pole ||
                              ends[node][0] == ringPoint || ends[node][1] == ringPoint;
        EXPECT_EQ(creased.count(static_cast<std::int32_t>(node)) == 1, atCorner) << node;
    }
    EXPECT_EQ(creased.size(), 12u + 4u);

    // On the creased segments the smooth pieces have today's normals.
    std::array<std::vector<SurfaceSample>, 3> today;
    std::array<std::vector<SurfaceSample>, 3> smooth;
    const auto onCrease = [&](const Patch& patch, int side) {
        return creased.count(SegmentOf(patch, side)) == 1;
    };
    int sidesCompared = 0;
    for (const Patch& patch : object.Patches()) {
        const int count = DefaultGrids(object, patch, 2, today);
        ASSERT_EQ(SampleSmoothPatch(object, fields, patch, 2, smooth), count);
        const int steps = SurfaceNetSteps(count, 2);
        const int row = steps + 1;
        for (int piece = 0; piece < count; ++piece) {
            // Piece k runs along side k at v = 0; a quad's sides 1 to 3 go round the grid.
            const int side = count == 3 ? piece : 0;
            for (int quadSide = 0; quadSide < (count == 3 ? 1 : 4); ++quadSide) {
                if (!onCrease(patch, side + quadSide)) {
                    continue;
                }
                ++sidesCompared;
                for (int t = 1; t < steps; ++t) {
                    const std::array<int, 4> at = {t, steps + row * t, t + row * steps, row * t};
                    const auto i = static_cast<std::size_t>(at[static_cast<std::size_t>(quadSide)]);
                    const Vec3 a = today[static_cast<std::size_t>(piece)][i].normal;
                    const Vec3 b = smooth[static_cast<std::size_t>(piece)][i].normal;
                    EXPECT_NEAR(Dot(a, b), 1.0f, 1e-6f);
                }
            }
        }
    }
    EXPECT_GT(sidesCompared, 16);
}

// Three quads on one edge cannot share a tangent plane along it.
TEST(SmoothSurfacesTest, ThreePatchesOnOneSegmentMakeACrease) {
    PatchObject object;
    testing::NetworkBuilder b(object);
    const int a = b.Point(0, 0, 0);
    const int c = b.Point(0, 0, 2);
    b.Curve({a, c});
    for (const auto& [x, y] : {std::array{2.0f, 0.0f}, {-1.0f, 1.7f}, {-1.0f, -1.7f}}) {
        const int p = b.Point(x, y, 0);
        const int q = b.Point(x, y, 2);
        b.Curve({a, p});
        b.Curve({p, q});
        b.Curve({q, c});
    }
    ComputeHandles(object);
    DetectPatches(object);
    ASSERT_EQ(object.Patches().size(), 3u);
    const CurveFields fields = ComputeCurveFields(object);
    const SmoothnessReport report = ReportSmoothness(object, fields);
    ASSERT_EQ(report.creaseSegments.size(), 1u);
    EXPECT_EQ(report.creaseSegments[0].segment, object.SplineStarts()[0]);
    EXPECT_EQ(report.creaseSegments[0].reason, CreaseReason::kManyPatches);
}

bool Finite(const Vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Coincident points, sides of zero length, a patch folded flat and points whose tangents point
// every way: every sample is a number, and every normal unit or zero.
TEST(SmoothSurfacesTest, DegenerateNetworksGiveNoNaN) {
    struct Case {
        const char* name;
        std::function<void(testing::NetworkBuilder&)> build;
    };
    const Case cases[] = {
        {"a quad with two corners on one point",
         [](testing::NetworkBuilder& b) {
             const int p = b.Point(0, 0, 0);
             const int q = b.Point(1, 0, 0);
             const int r = b.Point(1, 0, 0);
             const int s = b.Point(0, 1, 0.5f);
             b.Curve({p, q});
             b.Curve({q, r});
             b.Curve({r, s});
             b.Curve({s, p});
         }},
        {"a triangle on a single point",
         [](testing::NetworkBuilder& b) {
             const int p = b.Point(1, 1, 1);
             const int q = b.Point(1, 1, 1);
             const int r = b.Point(1, 1, 1);
             b.Curve({p, q});
             b.Curve({q, r});
             b.Curve({r, p});
         }},
        {"a triangle folded onto a line",
         [](testing::NetworkBuilder& b) {
             const int p = b.Point(0, 0, 0);
             const int q = b.Point(2, 0, 0);
             const int r = b.Point(1, 0, 0);
             b.Curve({p, q});
             b.Curve({q, r});
             b.Curve({r, p});
         }},
        {"three faces of a cube round a corner",
         [](testing::NetworkBuilder& b) {
             const int o = b.Point(0, 0, 0);
             const int x = b.Point(1, 0, 0);
             const int y = b.Point(0, 1, 0);
             const int z = b.Point(0, 0, 1);
             const int xy = b.Point(1, 1, 0);
             const int yz = b.Point(0, 1, 1);
             const int zx = b.Point(1, 0, 1);
             for (const auto& [from, to] : {std::array{o, x},
                                            {o, y},
                                            {o, z},
                                            {x, xy},
                                            {xy, y},
                                            {y, yz},
                                            {yz, z},
                                            {z, zx},
                                            {zx, x}}) {
                 b.Curve({from, to});
             }
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PatchObject object;
        testing::NetworkBuilder builder(object);
        c.build(builder);
        ComputeHandles(object);
        DetectPatches(object);
        ASSERT_FALSE(object.Patches().empty());
        const CurveFields fields = ComputeCurveFields(object);
        const SmoothnessReport report = ReportSmoothness(object, fields);
        EXPECT_TRUE(std::isfinite(report.worstResidualDegrees));
        for (int resolution : {1, 3}) {
            const SurfaceTessellation surfaces = TessellateSmoothSurfaces(object, resolution);
            ASSERT_FALSE(surfaces.samples.empty());
            for (const SurfaceSample& s : surfaces.samples) {
                ASSERT_TRUE(Finite(s.position) && Finite(s.normal));
                const float length = Length(s.normal);
                EXPECT_TRUE(length == 0.0f || std::fabs(length - 1.0f) < 1e-5f) << length;
            }
        }
    }
}

// The smooth pieces change nothing but the inside of the patches: on the patches' sides the
// samples are today's, bit for bit, so that either kind of surface closes up with the other.
TEST(SmoothSurfacesTest, PatchSidesAreSampledExactlyWhereTodaysAre) {
    PatchObject object;
    BuildConnected(modelgen::MakeSphere(10, 6), object);
    const CurveFields fields = ComputeCurveFields(object);
    std::array<std::vector<SurfaceSample>, 3> today;
    std::array<std::vector<SurfaceSample>, 3> smooth;
    for (const Patch& patch : object.Patches()) {
        const int count = DefaultGrids(object, patch, 2, today);
        ASSERT_EQ(SampleSmoothPatch(object, fields, patch, 2, smooth), count);
        const int steps = SurfaceNetSteps(count, 2);
        const int row = steps + 1;
        bool inside = false;
        for (int piece = 0; piece < count; ++piece) {
            const auto& a = today[static_cast<std::size_t>(piece)];
            const auto& b = smooth[static_cast<std::size_t>(piece)];
            ASSERT_EQ(a.size(), b.size());
            for (int v = 0; v <= steps; ++v) {
                for (int u = 0; u <= steps; ++u) {
                    const auto i = static_cast<std::size_t>(u + row * v);
                    // Sides of the patch: all four of a quad; of a triangle's pieces the
                    // outer halves at v = 0 and u = 0.
                    const bool side = count == 1 ? (u == 0 || v == 0 || u == steps || v == steps)
                                                 : (u == 0 || v == 0);
                    if (side) {
                        EXPECT_EQ(a[i].position.x, b[i].position.x);
                        EXPECT_EQ(a[i].position.y, b[i].position.y);
                        EXPECT_EQ(a[i].position.z, b[i].position.z);
                    } else {
                        inside = inside || Length(Subtract(a[i].position, b[i].position)) > 1e-3f;
                    }
                }
            }
        }
        if (count == 3) {
            EXPECT_TRUE(inside) << "the inside of a triangle at the pole moves";
        }
    }
}

TEST(SmoothSurfacesTest, TessellationCutsEveryCellIntoTwoTrianglesFacingItsNormals) {
    PatchObject object;
    BuildConnected(modelgen::MakeSphere(8, 5), object);
    for (int resolution : {1, 2}) {
        SCOPED_TRACE(resolution);
        const SurfaceTessellation surfaces = TessellateSmoothSurfaces(object, resolution);
        std::size_t samples = 0;
        std::size_t cells = 0;
        for (const Patch& patch : object.Patches()) {
            const int pieces = patch.cornerCount == 4 ? 1 : 3;
            const auto steps = static_cast<std::size_t>(SurfaceNetSteps(pieces, resolution));
            samples += static_cast<std::size_t>(pieces) * (steps + 1) * (steps + 1);
            cells += static_cast<std::size_t>(pieces) * steps * steps;
        }
        ASSERT_EQ(surfaces.samples.size(), samples);
        ASSERT_EQ(surfaces.triangles.size(), 6 * cells);
        for (std::size_t t = 0; t < surfaces.triangles.size(); t += 3) {
            const std::uint32_t a = surfaces.triangles[t];
            const std::uint32_t b = surfaces.triangles[t + 1];
            const std::uint32_t c = surfaces.triangles[t + 2];
            ASSERT_LT(std::max({a, b, c}), samples);
            const Vec3 pa = surfaces.samples[a].position;
            const Vec3 ab = Subtract(surfaces.samples[b].position, pa);
            const Vec3 ac = Subtract(surfaces.samples[c].position, pa);
            const Vec3 facing{ab.y * ac.z - ab.z * ac.y, ab.z * ac.x - ab.x * ac.z,
                              ab.x * ac.y - ab.y * ac.x};
            const Vec3 n = surfaces.samples[a].normal;
            EXPECT_GT(Dot(facing, n), 0.0f) << t;
        }
    }
    // Patches out of date give nothing to draw.
    object.DeletePatches();
    EXPECT_TRUE(TessellateSmoothSurfaces(object, 1).triangles.empty());
}

}  // namespace
}  // namespace korvane
