// The tests' own distance between two closed curves given as dense point chains: each point's distance to the
// other chain's polyline, which differs from the distance to the curve itself by at most the chords' sagitta. mm.
#pragma once

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

struct XY { double x, y; };

// Distance from p to the segment ab.
inline double segmentDistance(XY p, XY a, XY b)
{
    const double dx = b.x - a.x, dy = b.y - a.y, l2 = dx * dx + dy * dy;
    const double t = l2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / l2, 0.0, 1.0) : 0;
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

struct DistanceRange { double smallest, largest; };

// Smallest and largest distance from the points to the closed polyline through `chain`: the segments sorted into
// square cells, and the cells searched in growing rings around each point until no nearer segment can remain.
inline DistanceRange distancesToChain(const std::vector<XY>& points, const std::vector<XY>& chain, double cell = 0.25)
{
    const size_t n = chain.size();
    std::map<std::pair<long, long>, std::vector<size_t>> cells;
    auto key = [cell](double v) { return static_cast<long>(std::floor(v / cell)); };
    for (size_t i = 0; i < n; i++) {
        const XY a = chain[i], b = chain[(i + 1) % n];
        for (long cx = key(std::min(a.x, b.x)); cx <= key(std::max(a.x, b.x)); cx++)
            for (long cy = key(std::min(a.y, b.y)); cy <= key(std::max(a.y, b.y)); cy++)
                cells[{cx, cy}].push_back(i);
    }
    DistanceRange range{1e300, 0};
    for (const XY& p : points) {
        double best = 1e300;
        const long px = key(p.x), py = key(p.y);
        for (long ring = 0; ring < 100000 && (ring - 1) * cell < best; ring++)
            for (long cx = px - ring; cx <= px + ring; cx++)
                for (long cy = py - ring; cy <= py + ring; cy++) {
                    if (std::max(std::labs(cx - px), std::labs(cy - py)) != ring)
                        continue;
                    const auto found = cells.find({cx, cy});
                    if (found != cells.end())
                        for (size_t i : found->second)
                            best = std::min(best, segmentDistance(p, chain[i], chain[(i + 1) % n]));
                }
        range.smallest = std::min(range.smallest, best);
        range.largest = std::max(range.largest, best);
    }
    return range;
}
