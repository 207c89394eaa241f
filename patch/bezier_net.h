#pragma once

#include <array>

#include "geometry/vec3.h"
#include "patch/patch_object.h"

namespace korvane {

// The 16 control points of one bicubic Bezier patch in the layout of OpenGL's two-dimensional
// evaluator: 48 floats, point (u, v) for u, v in 0..3 at float offset 3u + 12v (u-stride 3,
// v-stride 12, order 4 in both).
struct BezierNet {
    PatchVec3 Point(int u, int v) const {
        const float* p = &values[static_cast<std::size_t>(3 * u + 12 * v)];
        return PatchVec3(p[0], p[1], p[2]);
    }
    void SetPoint(int u, int v, const PatchVec3& point) {
        float* p = &values[static_cast<std::size_t>(3 * u + 12 * v)];
        p[0] = point.x;
        p[1] = point.y;
        p[2] = point.z;
    }

    std::array<float, 48> values{};
};

// Side i of a patch runs from corner P_i through the handles a_i and b_i to P_(i+1): a_i is the
// handle of edgeStart[i] that faces along the edge, b_i the handle of edgeEnd[i] that faces back.
//
// QuadNet: the four sides go round the border of the grid, and every inner point completes the
// parallelogram of its corner and that corner's two border neighbours.
//
//   v=3   P3 ---- b2 ---- a2 ---- P2
//          |       |       |       |
//   v=2   a3 ---- i ----- i ----- b1
//          |       |       |       |
//   v=1   b3 ---- i ----- i ----- a1
//          |       |       |       |
//   v=0   P0 ---- a0 ---- b0 ---- P1
//         u=0     u=1     u=2     u=3
//
// Needs cornerCount 4, all four edges set to nodes of object, and current handles. Writes net only.
void QuadNet(const PatchObject& object, const Patch& patch, BezierNet& net);

// TriangleNets: the triangle is cut at the side midpoints m_k and at its centre c into three
// four-sided regions; net k covers the region of corner P_k. Side k split at its midpoint gives
// seven points s_k[0..6] (s_k[0] = P_k, s_k[3] = m_k, s_k[6] = P_(k+1)); h_k[0..6] is the row
// halfway between side k and the inner row next to it; K_k is the inner point of corner k and
// M_(i,j) the midpoint of K_i and K_j. With p = k - 1 mod 3, the side that arrives at P_k:
//
//             P2             net k:
//            /  \              v=3  s_p[3] -- h_p[3] -- M_(p,k) -- c
//           /    \                    |         |         |        |
//          / net2 \            v=2  s_p[4] -- h_p[4] -- K_k ------ M_(k,k+1)
//        m2 ---c--- m1                |         |         |        |
//        /     |     \         v=1  h_k[0] -- h_k[1] -- h_k[2] --- h_k[3]
//       / net0 | net1 \               |         |         |        |
//     P0 ----- m0 ----- P1     v=0  s_k[0] -- s_k[1] -- s_k[2] --- s_k[3]
//                                   u=0       u=1       u=2        u=3
//
// Net k's border u=3 (m_k .. c) is net k+1's border v=3, point for point, so the three pieces
// meet without gaps. Needs cornerCount 3, all three edges set to nodes of object, and current
// handles. Writes nets only.
void TriangleNets(const PatchObject& object, const Patch& patch, std::array<BezierNet, 3>& nets);

}  // namespace korvane
