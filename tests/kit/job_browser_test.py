#!/usr/bin/env python3
"""The control page's job runner end to end: headless Chromium against the real program under
Wine and the serial-line simulator, the machine the run command started (with --limits). The
page is driven by its element ids only; what the machine did is read from the simulator (its
path's corners, its cut and travel, its step log) and the program (/pos).

  - a G-code job of 30 lines, the tool switched on and off twice, paused in the middle and
    resumed: it runs to its end, and the simulator's corners are the job's, every one once,
    its cut and travel the job's;
  - Stop during a slow line: the job stops at that line, and after the program's answer to
    /halt the simulator takes at most one more step; a restart from a later line then draws
    only the rest;
  - a job with an unknown code is refused at load, naming the line and the code, and nothing
    moves;
  - a line outside --limits ends the job, naming its line, and the simulator did not move for it;
  - a held arrow key jogs, and the steps stop within one jog after its release.

Screenshots go to OUT_DIR: the job in preview, and the page mid-run beside the live view.

    job_browser_test.py OUT_DIR VIEW_PORT PROGRAM_PORT LIMIT_X,LIMIT_Y STEP_LOG
"""
import base64
import json
import os
import re
import shutil
import sys
import tempfile
import time
import unittest
import urllib.request

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select, WebDriverWait

from chromium import start_chromium

OUT_DIR = sys.argv[1]
VIEW = "http://127.0.0.1:%d/" % int(sys.argv[2])
PROGRAM = "http://127.0.0.1:%d/" % int(sys.argv[3])
LIMITS = tuple(int(v) for v in sys.argv[4].split(","))
STEP_LOG = sys.argv[5]
WAIT_S = 60
STEPS_PER_MM = 10
# Where each part starts: inside the limits, off 0 so that no jog or job meets it.
START = (50, 50)
# The calibration's feed, for G0: 60000 / (20000 × 10) rounds to a step delay of 0.
FAST_FEED = 20000

# 30 lines: a travel, a stepped outline cut, a travel, a spiral cut, the travel back. Every
# move is along one axis and turns from the one before it, so that each ends at a corner of the
# simulator's path.
JOB = """(two shapes, the tool on for each)
G21 G90
G0 X2
Y2
M3
G1 X6 F20000
Y4
X8
Y8
X4
Y6
X2
Y2
M5
G0 X12
Y3
M3
G1 X18
Y9
X12
Y4
X17
Y8
X13
Y5
X16
M5
G0 Y0
X0
M2
"""
# The job's corners in mm, in order, and which stretches are cut.
JOB_CORNERS = [(0, 0), (2, 0), (2, 2), (6, 2), (6, 4), (8, 4), (8, 8), (4, 8), (4, 6), (2, 6), (2, 2),
               (12, 2), (12, 3), (18, 3), (18, 9), (12, 9), (12, 4), (17, 4), (17, 8), (13, 8), (13, 5), (16, 5),
               (16, 0), (0, 0)]
JOB_RUNS = [("travel", 0, 2), ("cut", 2, 10), ("travel", 10, 12), ("cut", 12, 21), ("travel", 21, 23)]

# Line 3 is slow (F60: 60000 / (60 × 10) = 100 ms a step, 30 steps); the rest is fast.
SLOW_JOB = """G21 G90
M3
G1 X3 F60
G1 Y2 F20000
X0
Y0
M5
"""
SLOW_DELAY_MS = 100


def get_json(url):
    with urllib.request.urlopen(url, timeout=WAIT_S) as reply:
        return json.loads(reply.read())


def simulator_state():
    return get_json(VIEW + "state")


def simulator_reset(x, y):
    """The simulator's path begun afresh at x, y (where the machine stands): its picture and its
    step count are then this part's alone."""
    request = urllib.request.Request(VIEW + "reset?x=%d&y=%d" % (x, y), method="POST", data=b"")
    with urllib.request.urlopen(request, timeout=WAIT_S) as reply:
        reply.read()


def simulator_picture():
    """The simulator's path: its corners, and its cut and travel stretches, each a list of points."""
    with urllib.request.urlopen(VIEW + "path.svg", timeout=WAIT_S) as reply:
        svg = reply.read().decode()
    points = lambda d: [(int(x), int(y)) for x, y in re.findall(r"[ML](-?\d+) (-?\d+)", d)]
    corners = points(re.search(r'<path id="tool-path" d="([^"]*)"', svg).group(1))
    runs = {kind: [points(d) for d in re.findall(r'<path class="%s" d="([^"]*)"' % kind, svg)]
            for kind in ("cut", "travel")}
    return corners, runs


def logged_steps_after(wall_ms):
    """The steps the simulator's log holds since its last reset with a time after wall_ms."""
    times = []
    with open(STEP_LOG) as log:
        for line in log:
            if line.startswith("# reset"):
                times = []
            fields = line.split()
            if len(fields) == 5 and fields[1] in "ABCD":
                times.append(int(fields[4]))
    return sum(1 for t in times if t > wall_ms * 1000)


def in_steps(point, origin=START):
    return (origin[0] + point[0] * STEPS_PER_MM, origin[1] + point[1] * STEPS_PER_MM)


class JobsOnTheMachine(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        os.makedirs(OUT_DIR, exist_ok=True)
        cls.folder = tempfile.mkdtemp(prefix="mt-jobs-")
        cls.browser = start_chromium(os.path.join(cls.folder, "profile"), (480, 1000),
                                     ("--disable-background-timer-throttling", "--disable-renderer-backgrounding"))
        cls.browser.set_page_load_timeout(WAIT_S)
        b = cls.browser
        b.get(PROGRAM)
        b.execute_script("localStorage.clear()")
        b.get(PROGRAM)
        WebDriverWait(b, WAIT_S).until(lambda d: d.find_element(By.TAG_NAME, "body").get_attribute("data-api") == "true")
        cls.page = b.current_window_handle

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        shutil.rmtree(cls.folder, ignore_errors=True)

    # --- The page, by its element ids.
    def find(self, element_id):
        return self.browser.find_element(By.ID, element_id)

    def text(self, element_id):
        return self.find(element_id).text

    def type_into(self, element_id, value):
        element = self.find(element_id)
        element.clear()
        element.send_keys(str(value) + Keys.TAB)

    def shown(self):
        return int(self.text("target-x")), int(self.text("target-y"))

    def idle(self):
        return self.find("move").is_enabled()

    def status_becomes(self, *wanted):
        WebDriverWait(self.browser, WAIT_S, poll_frequency=0.05).until(lambda b: self.text("job-status").startswith(wanted))
        return self.text("job-status")

    def load(self, name, text):
        path = os.path.join(self.folder, name)
        with open(path, "w") as f:
            f.write(text)
        self.find("job-file").send_keys(path)

    def shot(self, name):
        path = os.path.join(OUT_DIR, name)
        self.browser.save_screenshot(path)
        print("   screenshot %s" % path)
        return path

    def show_job_section(self):
        """The job's part of the page in the window, below the page's header (for the screenshots)."""
        self.browser.execute_script(
            "var section = document.getElementById('job-file').closest('section');"
            " var header = document.querySelector('header');"
            " window.scrollTo(0, section.getBoundingClientRect().top + window.scrollY - header.offsetHeight - 8);")

    def setUp(self):
        """Each part starts at START, with the page's calibration and the simulator's path begun
        afresh there."""
        b = self.browser
        b.switch_to.window(self.page)
        for field, value in (("steps-per-mm-x", STEPS_PER_MM), ("steps-per-mm-y", STEPS_PER_MM), ("feed", FAST_FEED)):
            self.type_into(field, value)
        if simulator_state()["x"] != START[0] or simulator_state()["y"] != START[1]:
            for field, value in (("x", START[0]), ("y", START[1]), ("delay", 0)):
                self.type_into(field, value)
            self.find("move").click()
            WebDriverWait(b, WAIT_S).until(lambda d: self.idle() and self.shown() == START)
        self.type_into("delay", 0)
        pos = get_json(PROGRAM + "pos")
        state = simulator_state()
        self.assertEqual((pos["x"], pos["y"]), START)
        self.assertEqual((state["x"], state["y"]), START)
        simulator_reset(*START)
        self.started = time.monotonic()

    def tearDown(self):
        print("   (%.1f s)" % (time.monotonic() - self.started))

    # --- The parts, in this order.
    def test_1_a_job_paused_and_resumed_runs_to_its_end_as_drawn(self):
        self.load("shapes.gcode", JOB)
        preview = self.find("job-preview")
        cut = preview.find_element(By.CLASS_NAME, "cut").get_attribute("d")
        travel = preview.find_element(By.CLASS_NAME, "travel").get_attribute("d")
        print("loaded: %s; preview %d cut and %d travel moves; %s" %
              (self.text("job-status"), cut.count("M"), travel.count("M"), self.text("job-summary")))
        self.assertEqual(self.text("job-status"), "loaded shapes.gcode")
        self.assertEqual((cut.count("M"), travel.count("M")), (17, 6))
        self.assertIn("Size 18.00 × 9.00 mm (180 × 90 steps)", self.text("job-summary"))
        self.assertIn("27 job lines, 23 moves, 1020 steps (660 cutting)", self.text("job-summary"))
        self.show_job_section()
        self.shot("job_preview.png")

        self.find("job-run").click()
        # Pause in the middle of the first shape, resume once it has paused.
        WebDriverWait(self.browser, WAIT_S, poll_frequency=0.02).until(lambda b: simulator_state()["steps"] >= 150)
        self.find("job-pause").click()
        paused = self.status_becomes("paused", "done", "error", "stopped")
        line = int(paused.split()[-1])
        at_pause = simulator_state()
        time.sleep(0.3)
        quiet = simulator_state()
        corners, _ = simulator_picture()
        print("%s: simulator at %d,%d after %d steps, the tool %s; the page %s, %s" %
              (paused, at_pause["x"], at_pause["y"], at_pause["steps"], at_pause["tool"], self.text("job-done"),
               self.text("job-time")))
        self.assertTrue(paused.startswith("paused at line "), paused)
        self.assertEqual(quiet["steps"], at_pause["steps"], "steps while paused")
        self.assertEqual(at_pause["tool"], 0, "the tool is on while paused")
        expected = [in_steps(p) for p in JOB_CORNERS]
        self.assertEqual(corners, expected[:len(corners)], "the corners so far are not the job's")
        self.assertEqual(self.shown(), (at_pause["x"], at_pause["y"]))
        self.mid_run_picture()

        self.find("job-pause").click()
        self.assertEqual(self.status_becomes("done", "error", "stopped"), "done")
        corners, runs = simulator_picture()
        state = simulator_state()
        print("done (paused at line %d): %s; %s; simulator %d steps, %d corners, %d cut and %d travel stretches" %
              (line, self.text("job-done"), self.text("job-time"), state["steps"], len(corners), len(runs["cut"]),
               len(runs["travel"])))
        self.assertEqual(corners, expected, "the simulator's corners are not the job's, each once")
        want = {"cut": [], "travel": []}
        for kind, first, last in JOB_RUNS:
            want[kind].append(expected[first:last + 1])
        self.assertEqual(runs, want, "the cut and the travel are not the job's")
        self.assertEqual(state["steps"], 1020)
        self.assertEqual(state["tool"], 0)
        progress = self.find("job-progress")
        self.assertEqual(progress.get_attribute("value"), progress.get_attribute("max"))
        self.assertEqual(self.shown(), START)

    def mid_run_picture(self):
        """The page as it stands beside the live view, one picture."""
        b = self.browser
        self.show_job_section()
        page = b.get_screenshot_as_base64()
        with open(os.path.join(OUT_DIR, "job_paused_page.png"), "wb") as f:
            f.write(base64.b64decode(page))
        b.switch_to.new_window("window")
        try:
            b.set_window_size(760, 1000)
            b.get(VIEW)
            WebDriverWait(b, WAIT_S).until(lambda d: d.execute_script(
                "var p = document.getElementById('tool-path'); return p && p.getAttribute('d').length > 20;"))
            time.sleep(0.5)
            view = b.get_screenshot_as_base64()
            with open(os.path.join(OUT_DIR, "job_paused_view.png"), "wb") as f:
                f.write(base64.b64decode(view))
            side_by_side = os.path.join(OUT_DIR, "job_mid_run.html")
            with open(side_by_side, "w") as f:
                f.write('<!DOCTYPE html><html><body style="margin:0;background:#37474f;display:flex;gap:8px;'
                        'padding:8px;align-items:flex-start"><img src="job_paused_page.png" width="480">'
                        '<img src="job_paused_view.png" width="760"></body></html>')
            b.set_window_size(1264, 1016)
            b.get("file://" + side_by_side)
            WebDriverWait(b, WAIT_S).until(lambda d: d.execute_script(
                "return Array.from(document.images).every(function (i) { return i.complete && i.naturalWidth; });"))
            self.shot("job_mid_run.png")
        finally:
            b.close()
            b.switch_to.window(self.page)

    def test_2_stop_ends_a_line_within_a_step_and_a_restart_draws_only_the_rest(self):
        self.load("slow.gcode", SLOW_JOB)
        self.find("job-run").click()
        WebDriverWait(self.browser, WAIT_S, poll_frequency=0.02).until(lambda b: simulator_state()["steps"] >= 5)
        # The page's requests are timed by the browser (its resource timing, a buffer of 250
        # entries): emptied here, so that the answer to /halt is in it.
        self.browser.execute_script("performance.clearResourceTimings()")
        clicked = time.time()
        self.find("job-stop").click()
        status = self.status_becomes("stopped", "done", "error")
        halt = self.browser.execute_script(
            "var e = performance.getEntriesByType('resource').filter(function (r) { return /\\/halt$/.test(r.name); });"
            " return e.length ? performance.timeOrigin + e[e.length - 1].responseEnd : null;")
        time.sleep(3 * SLOW_DELAY_MS / 1000)
        state = simulator_state()
        after = logged_steps_after(halt)
        pos = get_json(PROGRAM + "pos")
        print("%s: the /halt answer %.0f ms after the click; %d steps of line 3 made, %d after the answer; the last"
              " %.0f ms after the answer; simulator %d,%d, /pos %d,%d, the page %s" %
              (status, halt - clicked * 1000, state["steps"], after, state["last_byte_us"] / 1000 - halt,
               state["x"], state["y"], pos["x"], pos["y"], self.shown()))
        self.assertEqual(status, "stopped at line 3")
        self.assertLessEqual(after, 1, "steps after the answer to /halt")
        self.assertLess(state["steps"], 30, "the slow line ran to its end")
        self.assertEqual(state["y"], START[1])
        self.assertEqual((pos["x"], pos["y"]), (state["x"], state["y"]))
        self.assertEqual(self.shown(), (state["x"], state["y"]))
        self.assertEqual(pos["tool"], 0)

        stopped = (state["x"], state["y"])
        simulator_reset(*stopped)
        self.type_into("job-restart-line", 5)
        self.find("job-restart").click()
        self.assertEqual(self.status_becomes("done", "error", "stopped"), "done")
        corners, runs = simulator_picture()
        state = simulator_state()
        line5 = in_steps((3, 2))
        print("restart from line 5: simulator %d steps, corners %s; cut %s; travel from %s to %s" %
              (state["steps"], corners, runs["cut"], runs["travel"][0][0], runs["travel"][0][-1]))
        # The travel from where it stopped to where line 5 starts, then lines 5 and 6 cut.
        self.assertEqual(runs["cut"], [[line5, in_steps((0, 2)), START]])
        self.assertEqual(len(runs["travel"]), 1)
        self.assertEqual((runs["travel"][0][0], runs["travel"][0][-1]), (stopped, line5))
        travel = abs(line5[0] - stopped[0]) + abs(line5[1] - stopped[1])
        self.assertEqual(state["steps"], travel + 30 + 20, "steps of anything but the travel and lines 5 and 6")
        self.assertEqual(self.shown(), START)

    def test_3_an_unknown_code_is_refused_at_load(self):
        self.load("tool_change.gcode", "G21\nG0 X1\nT1 M6\nG1 X2\n")
        time.sleep(0.5)
        state = simulator_state()
        print("load: %s; simulator %d steps" % (self.text("job-status"), state["steps"]))
        self.assertEqual(self.text("job-status"), "error at line 3: T1 is not supported")
        self.assertFalse(self.find("job-run").is_enabled())
        self.assertEqual(state["steps"], 0)

    def test_4_a_line_outside_the_limits_ends_the_job_unmoved(self):
        beyond = (LIMITS[0] - START[0]) // STEPS_PER_MM + 5
        self.load("beyond.gcode", "G21 G90\nG1 X2 F20000\nY2\nX%d\nY0\n" % beyond)
        self.find("job-run").click()
        status = self.status_becomes("error", "done", "stopped")
        time.sleep(0.3)
        corners, _ = simulator_picture()
        state = simulator_state()
        pos = get_json(PROGRAM + "pos")
        print("X%d mm is %d steps, beyond %d: %s; simulator corners %s, %d steps; /pos %d,%d, the tool %s" %
              (beyond, START[0] + beyond * STEPS_PER_MM, LIMITS[0], status, corners, state["steps"], pos["x"], pos["y"],
               pos["tool"]))
        self.assertEqual(status, "error at line 4: the program refused the line (outside --limits, or out of reach)")
        self.assertEqual(corners, [START, in_steps((2, 0)), in_steps((2, 2))])
        self.assertEqual(state["steps"], 40)
        self.assertEqual((pos["x"], pos["y"]), in_steps((2, 2)))
        self.assertEqual(pos["tool"], 0)

    def test_5_a_held_arrow_key_jogs_until_released(self):
        b = self.browser
        # Jogs of 10 steps at 10 ms: at least 110 ms each, so that a release falls inside one.
        # The key is held for half a second, and on until the third jog has begun.
        Select(self.find("step-size")).select_by_value("10")
        self.type_into("delay", 10)
        b.execute_script("document.activeElement.blur()")
        ActionChains(b).key_down(Keys.ARROW_UP).perform()
        time.sleep(0.5)
        WebDriverWait(b, WAIT_S, poll_frequency=0.02).until(lambda d: simulator_state()["steps"] > 20)
        ActionChains(b).key_up(Keys.ARROW_UP).perform()
        released = simulator_state()
        WebDriverWait(b, WAIT_S).until(lambda d: self.idle())
        time.sleep(0.5)
        state = simulator_state()
        print("held: %d steps, %d of them after the release; simulator %d,%d; the page %s, %r" %
              (state["steps"], state["steps"] - released["steps"], state["x"], state["y"], self.shown(),
               self.text("message")))
        self.assertGreaterEqual(state["steps"], 30, "fewer than three jogs")
        self.assertLess(START[1] + state["steps"], LIMITS[1], "the jogs ran into the limit")
        self.assertEqual(self.text("message"), "At X %d, Y %d." % (state["x"], state["y"]))
        self.assertEqual(state["steps"] % 10, 0, "a jog cut short")
        self.assertLessEqual(state["steps"] - released["steps"], 10, "more than one jog after the release")
        self.assertEqual((state["x"], state["y"]), (START[0], START[1] + state["steps"]))
        self.assertEqual(self.shown(), (state["x"], state["y"]))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
