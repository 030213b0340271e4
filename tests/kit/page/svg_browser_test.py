#!/usr/bin/env python3
"""SVG drawings to jobs in headless Chromium, with the browser's own SVG geometry: the control
page's modules (tools/reply_pages/svg.js, svg_geometry.js), served from a loopback server,
turn drawings of every shape kind, in mm, cm, in and px, with viewBoxes and transforms, into
moves. Each shape's moves must lie within half a step of the shape as computed here, and cover
it (no point of the shape farther than half a step from them), the tool on along each shape.

    svg_browser_test.py SOURCE_ROOT
"""
import functools
import http.server
import math
import os
import shutil
import sys
import tempfile
import threading
import unittest

from selenium.webdriver.support.ui import WebDriverWait

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from chromium import start_chromium  # noqa: E402

SOURCE = sys.argv[1]
DENSE = 4000  # points per expected shape: its own chords stray far below a step's thousandth


def arc(cx, cy, rx, ry, a0, a1):
    return [(cx + rx * math.cos(a0 + (a1 - a0) * k / DENSE), cy + ry * math.sin(a0 + (a1 - a0) * k / DENSE))
            for k in range(DENSE + 1)]


def polyline(points, closed=False):
    points = points + points[:1] if closed else points
    out = []
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        out += [(x0 + (x1 - x0) * k / 200, y0 + (y1 - y0) * k / 200) for k in range(200)]
    return out + [points[-1]]


def bezier(*p):
    def at(t):
        pts = list(p)
        while len(pts) > 1:
            pts = [(a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t) for a, b in zip(pts, pts[1:])]
        return pts[0]
    return [at(k / DENSE) for k in range(DENSE + 1)]


def rounded_rect(x, y, w, h, r):
    q = math.pi / 2
    return (polyline([(x + r, y), (x + w - r, y)]) + arc(x + w - r, y + r, r, r, -q, 0) +
            polyline([(x + w, y + r), (x + w, y + h - r)]) + arc(x + w - r, y + h - r, r, r, 0, q) +
            polyline([(x + w - r, y + h), (x + r, y + h)]) + arc(x + r, y + h - r, r, r, q, 2 * q) +
            polyline([(x, y + h - r), (x, y + r)]) + arc(x + r, y + r, r, r, 2 * q, 3 * q))


def mapped(points, matrix):
    a, b, c, d, e, f = matrix
    return [(a * x + c * y + e, b * x + d * y + f) for x, y in points]


def to_steps(sx, sy, scale, height):
    """User units (scale mm each, Y down on a page `height` mm high) to steps, Y up."""
    return (sx * scale, 0, 0, -sy * scale, 0, sy * height)


def rotate_about(matrix, degrees, tx, ty):
    """matrix · translate(tx, ty) · rotate(degrees)."""
    cos, sin = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))
    a, b, c, d, e, f = matrix
    t = (cos, sin, -sin, cos, tx, ty)
    return (a * t[0] + c * t[1], b * t[0] + d * t[1], a * t[2] + c * t[3], b * t[2] + d * t[3],
            a * t[4] + c * t[5] + e, b * t[4] + d * t[5] + f)


def segment_distance(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    span = dx * dx + dy * dy
    t = 0 if span == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / span))
    return math.hypot(p[0] - a[0] - t * dx, p[1] - a[1] - t * dy)


def farthest(points, line):
    """How far the farthest of the points lies from the polyline."""
    worst = 0.0
    for p in points:
        worst = max(worst, min(segment_distance(p, a, b) for a, b in zip(line, line[1:])))
    return worst


# name, steps per mm (x, y), the drawing, the shapes expected as dense polylines in steps
def cases():
    k = 25.4 / 96
    m1 = to_steps(2, 2, 1, 50)
    m2 = to_steps(4, 2, 0.1, 50)
    m3 = to_steps(5, 5, k, 25.4)
    m4 = to_steps(10, 10, 2 * k, 200 * k)
    m5 = to_steps(3, 3, 1, 100)
    group = rotate_about(m5, 30, 50, 50)
    ellipse_in_group = (group[0] * 2, group[1] * 2, group[2], group[3], group[4], group[5])
    return [
        ("mm, a circle", (2, 2),
         '<svg xmlns="http://www.w3.org/2000/svg" width="100mm" height="50mm" viewBox="0 0 100 50">'
         '<circle cx="30" cy="20" r="10"/></svg>',
         [mapped(arc(30, 20, 10, 10, 0, 2 * math.pi), m1)]),
        ("cm, a viewBox of 0.1 mm units, an ellipse, axes of their own steps per mm", (4, 2),
         '<svg xmlns="http://www.w3.org/2000/svg" width="10cm" height="5cm" viewBox="0 0 1000 500">'
         '<ellipse cx="500" cy="250" rx="300" ry="100"/></svg>',
         [mapped(arc(500, 250, 300, 100, 0, 2 * math.pi), m2)]),
        ("in, px user units without a viewBox, a rect", (5, 5),
         '<svg xmlns="http://www.w3.org/2000/svg" width="2in" height="1in">'
         '<rect x="12" y="24" width="96" height="48"/></svg>',
         [mapped(polyline([(12, 24), (108, 24), (108, 72), (12, 72)], True), m3)]),
        ("px with a viewBox, a line, a polyline, a polygon", (10, 10),
         '<svg xmlns="http://www.w3.org/2000/svg" width="400" height="200px" viewBox="0 0 200 100">'
         '<line x1="10" y1="10" x2="150" y2="90"/><polyline points="10,90 50,10 90,90"/>'
         '<polygon points="110,10 190,10 150,60"/></svg>',
         [mapped(polyline([(10, 10), (150, 90)]), m4), mapped(polyline([(10, 90), (50, 10), (90, 90)]), m4),
          mapped(polyline([(110, 10), (190, 10), (150, 60)], True), m4)]),
        ("paths: cubic, quadratic and smooth, an elliptical arc, relative commands, three subpaths", (3, 3),
         '<svg xmlns="http://www.w3.org/2000/svg" width="100mm" height="100mm" viewBox="0 0 100 100">'
         '<path d="M10 80 C 40 10, 65 10, 95 80 M 20 20 q 20 -15 40 0 t 40 0 M 50 50 A 20 10 0 0 1 90 50 L 90 90 Z"/></svg>',
         [mapped(bezier((10, 80), (40, 10), (65, 10), (95, 80)), m5),
          mapped(bezier((20, 20), (40, 5), (60, 20)) + bezier((60, 20), (80, 35), (100, 20)), m5),
          mapped(arc(70, 50, 20, 10, math.pi, 2 * math.pi) + polyline([(90, 50), (90, 90), (50, 50)]), m5)]),
        ("transforms on groups and shapes; nothing from defs or what is not displayed", (3, 3),
         '<svg xmlns="http://www.w3.org/2000/svg" width="100mm" height="100mm" viewBox="0 0 100 100">'
         '<defs><circle id="unused" r="40"/></defs><circle r="30" cx="50" cy="50" display="none"/>'
         '<g transform="translate(50 50) rotate(30)"><rect x="-20" y="-10" width="40" height="20" rx="5"/>'
         '<g transform="scale(2 1)"><circle r="5"/></g></g></svg>',
         [mapped(rounded_rect(-20, -10, 40, 20, 5), group),
          mapped(arc(0, 0, 5, 5, 0, 2 * math.pi), ellipse_in_group)]),
    ]


def strokes(job, sx, sy):
    """The job's shapes as polylines in steps: a travel to each start, the tool on along it."""
    out, tool = [], False
    for action in job["actions"]:
        if action["kind"] == "tool":
            tool = action["on"]
        elif action["kind"] == "move":
            point = (action["x"] * sx, action["y"] * sy)
            if action["tool"] != tool:
                raise AssertionError("a move whose tool state is not the job's: %r" % action)
            if tool:
                out[-1].append(point)
            else:
                out.append([point])
    return out, tool


class SvgJobs(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        handler = functools.partial(QuietHandler, directory=SOURCE)
        cls.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        cls.profile = tempfile.mkdtemp(prefix="mt-chromium-")
        cls.browser = start_chromium(cls.profile)
        cls.browser.get("http://127.0.0.1:%d/tests/kit/page/svg_page.html" % cls.server.server_address[1])
        WebDriverWait(cls.browser, 60).until(lambda b: b.title == "SVG jobs ready")

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        cls.server.shutdown()
        shutil.rmtree(cls.profile, ignore_errors=True)

    def job(self, text, sx, sy):
        return self.browser.execute_script("return window.svgToJob(arguments[0], arguments[1])", text,
                                           {"stepsPerMmX": sx, "stepsPerMmY": sy, "feed": 600})

    def test_every_shape_kind_lies_within_half_a_step(self):
        for name, (sx, sy), text, expected in cases():
            with self.subTest(name):
                job = self.job(text, sx, sy)
                self.assertTrue(job.get("ok"), job.get("message"))
                got, tool_left = strokes(job, sx, sy)
                self.assertFalse(tool_left, "the tool is left on after the last shape")
                self.assertEqual(len(got), len(expected), "shapes drawn")
                for i, (line, shape) in enumerate(zip(got, expected)):
                    off, uncovered = farthest(line, shape), farthest(shape, line)
                    print("%s, shape %d: %d corners, at most %.4f steps off the shape, %.4f uncovered" %
                          (name, i + 1, len(line), off, uncovered))
                    self.assertLessEqual(off, 0.5 + 1e-6, "a corner off the shape")
                    self.assertLessEqual(uncovered, 0.5 + 1e-6, "a chord strays from the shape")

    def test_what_cannot_be_drawn_is_said(self):
        job = self.job('<svg xmlns="http://www.w3.org/2000/svg" width="10mm" height="10mm"><text>hi</text>'
                       '<line x1="0" y1="0" x2="5" y2="5"/></svg>', 1, 1)
        print("text beside a line: ok %s, notes %s" % (job.get("ok"), job.get("notes")))
        self.assertEqual(job.get("notes"), ["Not drawn: 1 text (convert it to paths)."])
        for text, said in (("<html/>", "not an SVG drawing"),
                           ('<svg xmlns="http://www.w3.org/2000/svg" width="10mm" height="10mm"><svg/></svg>', "nested")):
            job = self.job(text, 1, 1)
            print("%s: %s" % (text[:40], job))
            self.assertFalse(job.get("ok"))
            self.assertIn(said, job.get("message"))


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
