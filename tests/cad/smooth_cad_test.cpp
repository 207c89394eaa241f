// The network's headers come before OpenCASCADE's, whose Handle macro would otherwise rewrite
// SplineNode::Handle.
#include "document/object_store.h"
#include "export/cad/cad_export.h"
#include "export/cad/network_shape.h"
#include "export/cad/smooth_piece_surface.h"
#include "patch/curve_connector.h"
#include "patch/curve_fields.h"
#include "patch/patch_builder.h"
#include "patch/smooth_patches.h"
#include "support/generated_network.h"
#include "tools/modelgen/model_shapes.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <BRepCheck_Analyzer.hxx>
#include <BRep_Tool.hxx>
#include <GeomLProp_SLProps.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <optional>
#include <string>

#include "cad/cad_readback.h"

// The smooth surfaces written as STEP and read back: faces that meet along every curve of a smooth
// network without a bend, on the same edges and shells as today's.

namespace korvane {
namespace {

namespace fs = std::filesystem;
using testing::ShellSummary;

constexpr int kEdgeSamples = 16;  // per edge, its ends left out

// The unit normal of face at parameter t of edge, where the edge's curve on the face puts it,
// turned as the face is.
std::optional<gp_Dir> FaceNormal(const TopoDS_Face& face, const TopoDS_Edge& edge, double t) {
    const Handle(Geom_Surface) surface = BRep_Tool::Surface(face);
    double first = 0.0;
    double last = 0.0;
    const Handle(Geom2d_Curve) onFace = BRep_Tool::CurveOnSurface(edge, face, first, last);
    if (onFace.IsNull()) {
        return std::nullopt;
    }
    double u = 0.0;
    double v = 0.0;
    onFace->Value(t).Coord(u, v);
    GeomLProp_SLProps properties(surface, u, v, 1, 1e-9);
    if (!properties.IsNormalDefined()) {
        return std::nullopt;
    }
    gp_Dir normal = properties.Normal();
    if (face.Orientation() == TopAbs_REVERSED) {
        normal.Reverse();
    }
    return normal;
}

struct Bends {
    double widestDegrees = 0.0;
    int sharedEdges = 0;
    int samplesMissed = 0;  // where a face had no curve for the edge or no normal
};

// The widest angle between the normals of the two faces on each edge they share, sampled along
// the edge with its ends left out.
Bends MeasureBends(const TopoDS_Shape& shape) {
    TopTools_IndexedDataMapOfShapeListOfShape facesOf;
    TopExp::MapShapesAndAncestors(shape, TopAbs_EDGE, TopAbs_FACE, facesOf);
    Bends bends;
    for (int e = 1; e <= facesOf.Extent(); ++e) {
        const TopTools_ListOfShape& faces = facesOf(e);
        if (faces.Extent() != 2 || faces.First().IsSame(faces.Last())) {
            continue;
        }
        ++bends.sharedEdges;
        const TopoDS_Edge& edge = TopoDS::Edge(facesOf.FindKey(e));
        double first = 0.0;
        double last = 0.0;
        BRep_Tool::Range(edge, first, last);
        for (int k = 1; k < kEdgeSamples; ++k) {
            const double t = first + (last - first) * k / kEdgeSamples;
            const std::optional<gp_Dir> a = FaceNormal(TopoDS::Face(faces.First()), edge, t);
            const std::optional<gp_Dir> b = FaceNormal(TopoDS::Face(faces.Last()), edge, t);
            if (!a || !b) {
                ++bends.samplesMissed;
                continue;
            }
            bends.widestDegrees =
                std::max(bends.widestDegrees, a->Angle(*b) * 180.0 / std::numbers::pi);
        }
    }
    return bends;
}

// Every piece of a sphere's smooth surfaces, four-sided and the three of each triangle fan patch:
// the B-spline's border is the piece's border cubic, its normals along the sides stay within the
// allowance of the Gregory patch's, and inside it stays close to the Gregory surface.
TEST(SmoothCadTest, PieceSurfacesKeepTheBordersAndFollowTheGregoryPatches) {
    PatchObject object;
    testing::BuildGenerated(modelgen::MakeSphere(12, 8), object);
    ConnectCurves(object, 150.0f, nullptr);
    ComputeHandles(object);
    DetectPatches(object);
    const CurveFields fields = ComputeCurveFields(object);
    std::array<int, 5> piecesOf{};  // by the patch's corner count
    double widestSide = 0.0;
    double farthest = 0.0;
    for (const Patch& patch : object.Patches()) {
        std::array<GregoryPatch, 3> gregory;
        const int count = SmoothPieces(object, fields, patch, gregory);
        for (int k = 0; k < count; ++k) {
            const GregoryPatch& piece = gregory[static_cast<std::size_t>(k)];
            const SmoothPieceSurface made = BuildSmoothPieceSurface(piece);
            ASSERT_FALSE(made.surface.IsNull());
            ++piecesOf[static_cast<std::size_t>(patch.cornerCount)];
            EXPECT_GT(made.knot, 0.0);
            EXPECT_LE(made.knot, 0.25);
            widestSide = std::max(widestSide, made.sideDegrees);
            for (int i = 0; i <= 8; ++i) {
                for (int j = 0; j <= 8; ++j) {
                    const Vec3 g = EvaluateGregory(piece, i / 8.0f, j / 8.0f).position;
                    const gp_Pnt b = made.surface->Value(i / 8.0, j / 8.0);
                    const double distance = b.Distance(gp_Pnt(g.x, g.y, -double{g.z}));
                    const bool onBorder = i == 0 || i == 8 || j == 0 || j == 8;
                    if (onBorder) {
                        EXPECT_LT(distance, 1e-4) << "the border is the piece's own cubic";
                    }
                    farthest = std::max(farthest, distance);
                }
            }
        }
    }
    EXPECT_GT(piecesOf[3], 0);
    EXPECT_GT(piecesOf[4], 0);
    EXPECT_LE(widestSide, kSmoothSideDegrees);
    // A piece of this sphere of radius 500 is about 260 across: the fit is within 1% of that.
    EXPECT_LT(farthest, 2.6);
    std::printf(
        "[ measured ] %d + %d pieces: widest side deviation %.5f degrees, farthest from "
        "the Gregory surface %.4f\n",
        piecesOf[4], piecesOf[3], widestSide, farthest);
}

TEST(SmoothCadTest, SmoothFacesMeetWithoutABendWhereTodaysBend) {
    ObjectStore store;
    PatchObject& object = *store.AddObject();
    testing::BuildGenerated(modelgen::MakeSphere(24, 16), object);
    ConnectCurves(object, 150.0f, nullptr);
    ComputeHandles(object);
    DetectPatches(object);
    object.name = "sphere";

    const struct {
        bool smooth;
        double atLeastDegrees;
        double belowDegrees;
    } kCases[] = {{false, 1.0, 90.0}, {true, 0.0, 0.1}};
    std::vector<ShellSummary> todaysShells;
    int todaysEdges = 0;
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.smooth ? "smooth" : "today's");
        const ObjectShape built = BuildObjectShape(object, c.smooth);
        EXPECT_EQ(built.patchesLeftOut, 0);
        ASSERT_FALSE(built.shape.IsNull());
        EXPECT_TRUE(BRepCheck_Analyzer(built.shape).IsValid());
        const std::vector<ShellSummary> shells = testing::SummariseShells(built.shape);

        const fs::path path =
            fs::temp_directory_path() / ("korvane_smooth_" + std::to_string(getpid()) + ".step");
        const CadExportReport report =
            WriteCadFile(path.string(), store.objects, CadFormat::kStep, c.smooth);
        ASSERT_EQ(report.written.status, WriteStatus::kWritten) << report.written.error;
        const auto read = testing::ReadCadFile(path.string(), CadFormat::kStep);
        fs::remove(path);
        ASSERT_TRUE(read.has_value());
        ASSERT_EQ(read->size(), 1u);
        const Bends bends = MeasureBends(read->front().shape);
        EXPECT_EQ(bends.samplesMissed, 0);
        EXPECT_GE(bends.widestDegrees, c.atLeastDegrees);
        EXPECT_LT(bends.widestDegrees, c.belowDegrees);
        std::printf("[ measured ] %s: widest bend %.5f degrees over %d shared edges\n",
                    c.smooth ? "smooth" : "today's", bends.widestDegrees, bends.sharedEdges);
        if (!c.smooth) {
            todaysShells = shells;
            todaysEdges = bends.sharedEdges;
        } else {
            EXPECT_EQ(shells, todaysShells) << "the same faces, edges and solid";
            EXPECT_EQ(bends.sharedEdges, todaysEdges);
        }
    }
}

}  // namespace
}  // namespace korvane
