# Reads a cam profile DXF back with ezdxf and checks it against the CSV table written with it.
# Usage: check_dxf.py PROFILE.dxf TABLE.csv BASE_RADIUS; status 0 when every check holds.
import csv, math, sys, ezdxf

doc = ezdxf.readfile(sys.argv[1])
assert doc.header["$INSUNITS"] == 4 and not doc.audit().has_errors, "not millimetres, or the audit finds errors"
msp = doc.modelspace()
polylines, circles = msp.query("POLYLINE"), msp.query("CIRCLE")
centre = [e for e in msp if e.dxftype() in ("POINT", "LINE")]
assert len(polylines) == 1 and polylines[0].is_closed, "not one closed polyline"
rows, vertices = list(csv.DictReader(open(sys.argv[2]))), list(polylines[0].points())
assert len(vertices) == len(rows), "%d vertices for %d table rows" % (len(vertices), len(rows))
for v, row in zip(vertices, rows):
    assert math.hypot(v.x - float(row["x"]), v.y - float(row["y"])) < 1e-6, "vertex off at " + row["theta_deg"]
assert len(circles) == 1 and abs(circles[0].dxf.radius - float(sys.argv[3])) < 1e-9 and \
    circles[0].dxf.center.magnitude < 1e-12 and centre, "no base circle about the centre, or no centre mark"
layers = {polylines[0].dxf.layer, circles[0].dxf.layer} | {e.dxf.layer for e in centre}
assert len(layers) == 3, "contour, base circle and centre not each on a layer of its own"
