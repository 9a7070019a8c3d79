# Reads a cam profile DXF back with ezdxf: R2000, millimetres, no audit error, the curve one closed LWPOLYLINE of
# arcs, base circle, centre and marks each on a layer of its own; every point of the CSV table (the exact curve)
# within TOLERANCE of the flattened arcs. Writes the flattened points and figures as JSON to FIGURES if given.
# Usage: check_dxf.py PROFILE.dxf TABLE.csv BASE_RADIUS [TOLERANCE [FIGURES.json]]; status 0 when every check holds.
import csv, json, math, sys
from collections import defaultdict
import ezdxf
from ezdxf.math import bulge_to_arc

doc = ezdxf.readfile(sys.argv[1])
tolerance = float(sys.argv[4]) if len(sys.argv) > 4 else 0.001
assert doc.dxfversion == "AC1015" and doc.header["$INSUNITS"] == 4, "not R2000 in millimetres"
assert not doc.audit().has_errors, "the audit finds errors"
msp = doc.modelspace()
polylines, circles = msp.query("LWPOLYLINE"), msp.query("CIRCLE")
assert len(polylines) == 1 and polylines[0].closed, "not one closed LWPOLYLINE"
contour = polylines[0]
assert len(circles) == 1 and abs(circles[0].dxf.radius - float(sys.argv[3])) < 1e-9 and \
    circles[0].dxf.center.magnitude < 1e-12, "no base circle about the centre"
layers = defaultdict(set)
for e in msp:
    layers[e.dxf.layer].add(e.dxftype())
assert layers["CENTRE"] == {"POINT", "LINE"} and layers["CAM_MARKS"] == {"LINE", "ARC"} and \
    layers["BASE_CIRCLE"] == {"CIRCLE"} and layers[contour.dxf.layer] == {"LWPOLYLINE"}, "layers: %s" % dict(layers)

# Each vertex's bulge as ezdxf reads it: centre, angles, radius; the points along it 1e-7 mm of sagitta apart.
vertices = list(contour.get_points("xyb"))
arcs, points = [], []
for i, (x, y, bulge) in enumerate(vertices):
    nx, ny, _ = vertices[(i + 1) % len(vertices)]
    if abs(bulge) < 1e-15:
        arcs.append(None)
        points.append((x, y))
        continue
    centre, start, end, radius = bulge_to_arc((x, y), (nx, ny), bulge)
    arcs.append((centre.x, centre.y, radius, bulge))
    sweep = 4 * math.atan(bulge)
    steps = 1 + int(abs(sweep) / (2 * math.sqrt(2e-7 / radius)))
    a0 = math.atan2(y - centre.y, x - centre.x)
    for k in range(steps):
        a = a0 + sweep * k / steps
        points.append((centre.x + radius * math.cos(a), centre.y + radius * math.sin(a)))

# The direction of the curve leaving and reaching each vertex; at a joint the two must agree.
def direction(i, at_end):
    x, y, bulge = vertices[i]
    nx, ny, _ = vertices[(i + 1) % len(vertices)]
    return math.atan2(ny - y, nx - x) + (1 if at_end else -1) * 2 * math.atan(bulge)
turns = [abs(math.remainder(direction(i, False) - direction(i - 1, True), 2 * math.pi)) for i in range(len(vertices))]

# Every exact point near the arcs: the nearest flattened chord, searched in a grid of 0.5 mm cells.
cells = defaultdict(list)
for i in range(len(points)):
    (ax, ay), (bx, by) = points[i], points[(i + 1) % len(points)]
    for cx in range(math.floor(min(ax, bx) / 0.5), math.floor(max(ax, bx) / 0.5) + 1):
        for cy in range(math.floor(min(ay, by) / 0.5), math.floor(max(ay, by) / 0.5) + 1):
            cells[cx, cy].append(i)
def distance(px, py):
    best, kx, ky = math.inf, math.floor(px / 0.5), math.floor(py / 0.5)
    for cx in range(kx - 1, kx + 2):
        for cy in range(ky - 1, ky + 2):
            for i in cells.get((cx, cy), ()):
                (ax, ay), (bx, by) = points[i], points[(i + 1) % len(points)]
                dx, dy = bx - ax, by - ay
                t = max(0, min(1, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy or 1)))
                best = min(best, math.hypot(px - ax - t * dx, py - ay - t * dy))
    return best
rows = list(csv.DictReader(open(sys.argv[2])))
from_exact = max(distance(float(r["x"]), float(r["y"])) for r in rows)
assert from_exact <= tolerance + 1e-6, "a table point stands %.3g mm from the arcs" % from_exact

if len(sys.argv) > 5:
    json.dump({"vertices": len(vertices), "joint_turn_max": max(turns), "from_exact": from_exact,
               "arcs": arcs, "points": points,
               "entities": {k: sorted(v) for k, v in layers.items()}}, open(sys.argv[5], "w"))
