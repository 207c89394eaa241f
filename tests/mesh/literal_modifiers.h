#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "geometry/matrix4.h"
#include "geometry/vec3.h"
#include "mesh_test_util.h"

// A literal, slow transcription of edge building, lathe and mirror on plain vectors, with
// plain linear searches. Only for valid input (every corner in range). The tests run it beside the
// mesh operations on random meshes and demand identical output, bit for bit.

namespace korvane::testing::reference {

struct Mesh {
    std::vector<Vec3> positions;
    std::vector<EdgePair> edges;
    bool edgesValid = false;
    std::vector<Corners> lines, triangles, quads;
};

struct Settings {
    std::int32_t mirror = 0;
    std::int32_t mirrorDistanceSet = 0;
    std::int32_t mirrorAxis[3] = {1, 0, 0};
    float mirrorDistance = 100.0f;
    std::int32_t lathe = 0;
    std::int32_t latheAxis = 1;
    std::int32_t latheSegments = 12;
};

inline void BuildEdges(Mesh& m) {
    m.edgesValid = true;
    m.edges.clear();
    const auto v = static_cast<std::int32_t>(m.positions.size());
    if (v < 2) {
        return;
    }
    std::vector<std::vector<std::int32_t>> perVertex(static_cast<std::size_t>(v));
    auto take = [&](std::int32_t a, std::int32_t b) {
        if (a == b) {
            return;
        }
        for (std::int32_t e : perVertex[a]) {
            const EdgePair& edge = m.edges[e];
            if ((edge.first == a && edge.second == b) || (edge.first == b && edge.second == a)) {
                return;
            }
        }
        m.edges.emplace_back(a, b);
        perVertex[a].push_back(static_cast<std::int32_t>(m.edges.size()) - 1);
        perVertex[b].push_back(static_cast<std::int32_t>(m.edges.size()) - 1);
    };
    for (const Corners& l : m.lines) {
        take(l[0], l[1]);
    }
    for (const auto* list : {&m.triangles, &m.quads}) {
        for (const Corners& f : *list) {
            for (std::size_t k = 0; k < f.size(); ++k) {
                take(f[k], f[(k + 1) % f.size()]);
            }
        }
    }
}

inline Mesh Copy(Mesh& source) {
    if (!source.edgesValid) {
        BuildEdges(source);
    }
    return source;
}

inline float& Coordinate(Vec3& p, int axis) {
    return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
}

inline Mesh Lathe(Mesh& s, const Settings& settings) {
    const auto v = static_cast<std::int32_t>(s.positions.size());
    const auto l = static_cast<std::int32_t>(s.lines.size());
    const std::int32_t n = settings.latheSegments;
    if (settings.lathe == 0 || l == 0) {
        return Copy(s);
    }
    std::vector<std::int32_t> profile;
    std::vector<std::vector<std::int32_t>> positionOf;
    for (const Corners& line : s.lines) {
        positionOf.emplace_back();
        for (std::int32_t k = 0; k < 2; ++k) {
            std::int32_t u = 0;
            while (u < static_cast<std::int32_t>(profile.size()) && profile[u] != line[k]) {
                ++u;
            }
            if (u == static_cast<std::int32_t>(profile.size())) {
                profile.push_back(line[k]);
            }
            positionOf.back().push_back(u);
        }
    }
    const auto uCount = static_cast<std::int32_t>(profile.size());
    auto copyOf = [&](std::int32_t u, std::int32_t m) { return v + u * (n - 1) + (m - 1); };
    Mesh t;
    t.positions = s.positions;
    t.positions.resize(static_cast<std::size_t>(v + uCount * (n - 1)));
    if (!s.edgesValid) {
        BuildEdges(s);
    }
    t.edgesValid = true;
    t.edges = s.edges;
    const std::int32_t axis = settings.latheAxis == 0 ? 0 : settings.latheAxis == 1 ? 1 : 2;
    for (std::int32_t u = 0; u < uCount; ++u) {
        Vec3& p = t.positions[profile[u]];
        if (axis == 0) {
            const float r = Length(Vec3{0, p.y, p.z});
            p = Vec3{p.x, r, 0};
        } else if (axis == 1) {
            const float r = Length(Vec3{p.x, 0, p.z});
            p = Vec3{r, p.y, 0};
        } else {
            const float r = Length(Vec3{p.x, p.y, 0});
            p = Vec3{r, 0, p.z};
        }
        const float step = 360.0f / static_cast<float>(n);
        for (std::int32_t m = 1; m < n; ++m) {
            const float angle = static_cast<float>(m) * step;
            Matrix4 matrix;
            matrix.Identity();
            if (axis == 0) {
                matrix.RotateX(angle);
            } else if (axis == 1) {
                matrix.RotateY(angle);
            } else {
                matrix.RotateZ(angle);
            }
            t.positions[copyOf(u, m)] = TransformPoint(p, matrix);
        }
        t.edges.emplace_back(profile[u], copyOf(u, 1));
        for (std::int32_t m = 1; m < n - 1; ++m) {
            t.edges.emplace_back(copyOf(u, m), copyOf(u, m + 1));
        }
        t.edges.emplace_back(copyOf(u, n - 1), profile[u]);
    }
    t.triangles = s.triangles;
    t.quads = s.quads;
    for (std::int32_t i = 0; i < l; ++i) {
        const std::int32_t a = s.lines[i][0];
        const std::int32_t b = s.lines[i][1];
        std::int32_t prev0 = a;
        std::int32_t prev1 = b;
        for (std::int32_t step = 0; step < n; ++step) {
            std::int32_t next0 = a;
            std::int32_t next1 = b;
            if (step < n - 1) {
                next0 = copyOf(positionOf[i][0], step + 1);
                next1 = copyOf(positionOf[i][1], step + 1);
                t.edges.emplace_back(next0, next1);
            }
            t.quads.push_back({prev0, prev1, next1, next0});
            prev0 = next0;
            prev1 = next1;
        }
    }
    return t;
}

inline Corners ReversedMapped(const Corners& f, const std::vector<std::int32_t>& map) {
    Corners out;
    for (std::size_t k = f.size(); k-- > 0;) {
        out.push_back(map[f[k]]);
    }
    return out;
}

inline Mesh Mirror(Mesh& s, const Settings& settings, int axis) {
    const auto v = static_cast<std::int32_t>(s.positions.size());
    if (settings.mirror == 0 || (s.triangles.empty() && s.quads.empty())) {
        return Copy(s);
    }
    Mesh t;
    if (settings.mirror == 1) {
        std::vector<std::int32_t> shift;
        for (std::int32_t i = 0; i < v; ++i) {
            shift.push_back(i + v);
        }
        t.positions = s.positions;
        for (std::int32_t i = 0; i < v; ++i) {
            Vec3 p = s.positions[i];
            Coordinate(p, axis) *= -1.0f;
            t.positions.push_back(p);
        }
        if (s.edgesValid) {
            t.edgesValid = true;
            t.edges = s.edges;
            for (const EdgePair& e : s.edges) {
                t.edges.emplace_back(e.first + v, e.second + v);
            }
        }
        for (auto [from, to] :
             {std::pair{&s.lines, &t.lines}, std::pair{&s.triangles, &t.triangles},
              std::pair{&s.quads, &t.quads}}) {
            *to = *from;
            for (const Corners& f : *from) {
                to->push_back(ReversedMapped(f, shift));
            }
        }
        return t;
    }
    if (settings.mirror != 2) {
        return t;  // empty
    }
    if (!s.edgesValid) {
        BuildEdges(s);
    }
    std::vector<bool> on(static_cast<std::size_t>(v));
    std::vector<std::int32_t> map(static_cast<std::size_t>(v));
    t.positions = s.positions;
    for (std::int32_t i = 0; i < v; ++i) {
        Vec3 p = s.positions[i];
        const float c = Coordinate(p, axis);
        on[i] = !(c < 0.0f) && !(c > 0.0f);
        if (on[i]) {
            map[i] = i;
        } else {
            map[i] = static_cast<std::int32_t>(t.positions.size());
            Coordinate(p, axis) = -c;
            t.positions.push_back(p);
        }
    }
    t.edgesValid = true;
    std::vector<EdgePair> joining;
    std::vector<EdgePair> removed;
    std::vector<Corners> newTriangles;
    std::vector<Corners> newQuads;
    for (const EdgePair& e : s.edges) {
        const std::int32_t a = e.first;
        const std::int32_t b = e.second;
        t.edges.push_back(e);
        if (!(on[a] && on[b])) {
            t.edges.emplace_back(map[a], map[b]);
        }
        if (on[a] && on[b]) {
            continue;
        }
        if (settings.mirrorDistanceSet == 1) {
            Vec3 pa = s.positions[a];
            Vec3 pb = s.positions[b];
            if (std::fabs(static_cast<double>(Coordinate(pa, axis))) > settings.mirrorDistance ||
                std::fabs(static_cast<double>(Coordinate(pb, axis))) > settings.mirrorDistance) {
                continue;
            }
        }
        std::int32_t count = 0;
        bool done = false;
        for (const auto* list : {&s.triangles, &s.quads}) {
            // The faces listed for a: ascending, once per corner that uses a.
            for (const Corners& f : *list) {
                for (std::int32_t corner : f) {
                    if (corner != a || done) {
                        continue;
                    }
                    for (std::int32_t c : f) {
                        count += c == b ? 1 : 0;
                    }
                    if (count >= 2) {
                        done = true;
                    }
                }
            }
        }
        if (count >= 2) {
            continue;
        }
        if (count == 0) {
            removed.emplace_back(a, b);
        }
        if (!on[a] && !on[b]) {
            newQuads.push_back({b, a, map[a], map[b]});
        } else {
            const std::int32_t o = on[a] ? b : a;
            newTriangles.push_back({b, a, map[o]});
        }
        for (std::int32_t end : {a, b}) {
            if (on[end]) {
                continue;
            }
            bool found = false;
            for (const EdgePair& j : joining) {
                found = found || (j.first == end && j.second == map[end]);
            }
            if (!found) {
                joining.emplace_back(end, map[end]);
            }
        }
    }
    t.edges.insert(t.edges.end(), joining.begin(), joining.end());
    for (const Corners& line : s.lines) {
        bool gone = false;
        for (const EdgePair& r : removed) {
            gone = gone || (r.first == line[0] && r.second == line[1]) ||
                   (r.first == line[1] && r.second == line[0]);
        }
        if (!gone) {
            t.lines.push_back(line);
            t.lines.push_back({map[line[0]], map[line[1]]});
        }
    }
    t.triangles = s.triangles;
    for (const Corners& f : s.triangles) {
        t.triangles.push_back(ReversedMapped(f, map));
    }
    t.triangles.insert(t.triangles.end(), newTriangles.begin(), newTriangles.end());
    t.quads = s.quads;
    for (const Corners& f : s.quads) {
        t.quads.push_back(ReversedMapped(f, map));
    }
    t.quads.insert(t.quads.end(), newQuads.begin(), newQuads.end());
    return t;
}

// ApplyModifiers on a mesh; returns false when nothing ran (the mesh stays as it was).
inline bool Apply(Mesh& m, const Settings& settings) {
    bool ran = false;
    Mesh current = m;
    if (settings.lathe != 0) {
        current = Lathe(current, settings);
        ran = true;
    }
    if (settings.mirror != 0) {
        for (int axis = 0; axis < 3; ++axis) {
            if (settings.mirrorAxis[axis] != 0) {
                current = Mirror(current, settings, axis);
                ran = true;
            }
        }
    }
    if (ran) {
        m = Copy(current);
    }
    return ran;
}

}  // namespace korvane::testing::reference
