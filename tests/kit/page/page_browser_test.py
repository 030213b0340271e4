#!/usr/bin/env python3
"""The control page's job runner in headless Chromium, against a stand-in for the program on a
loopback port (fake_program_server.py) that serves the reply files the build made: a G-code job
with two tool changes runs to its end, drawn in the preview; an unknown code is refused at load;
a line outside the limits ends the job naming its line; Stop halts a line at once; restart from
a line draws only the rest; a held arrow key jogs until it is released; without the API the
page says so and still runs a job. The page is driven by its element ids only.

    page_browser_test.py REPLY_DIR
"""
import os
import shutil
import sys
import tempfile
import time
import unittest

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from chromium import start_chromium  # noqa: E402
from fake_program_server import FakeProgram  # noqa: E402

REPLY_DIR = sys.argv[1]
WAIT_S = 60
# A square cut with the tool on, a travel, a triangle with the tool on again; F in mm/min at 10
# steps per mm gives delays of a few ms.
JOB = """G21 G90 (two shapes)
G0 X1 Y1
M3
G1 X3 F3000
Y3
X1
Y1
M5
G0 X4 Y1
M3
G1 X6 Y1 F3000
X5 Y3
X4 Y1
M5
G0 X0 Y0
"""


class ControlPageJobs(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="mt-page-")
        cls.browser = start_chromium(os.path.join(cls.folder, "profile"), (412, 915))

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def open(self, **program):
        self.program = FakeProgram(REPLY_DIR, **program)
        self.addCleanup(self.program.close)
        b = self.browser
        b.get("http://127.0.0.1:%d/" % self.program.port)
        b.execute_script("localStorage.clear()")
        b.get("http://127.0.0.1:%d/" % self.program.port)
        WebDriverWait(b, WAIT_S).until(lambda d: d.find_element(By.TAG_NAME, "body").get_attribute("data-api") in ("true", "false"))
        for field, value in (("steps-per-mm-x", "10"), ("steps-per-mm-y", "10")):
            self.type_into(field, value)
        errors = [e for e in b.get_log("browser") if e["level"] == "SEVERE"]
        self.assertEqual(errors, [], "the page reported errors")

    def type_into(self, field, value):
        element = self.browser.find_element(By.ID, field)
        element.clear()
        element.send_keys(value + Keys.TAB)

    def load(self, name, text):
        path = os.path.join(self.folder, name)
        with open(path, "w") as f:
            f.write(text)
        self.browser.find_element(By.ID, "job-file").send_keys(path)

    def text(self, element_id):
        return self.browser.find_element(By.ID, element_id).text

    def status_becomes(self, *wanted):
        WebDriverWait(self.browser, WAIT_S).until(lambda b: self.text("job-status").startswith(wanted))
        return self.text("job-status")

    def cuts(self):
        return [(line["to"], bool(line["tool"])) for line in self.program.lines]

    def test_a_job_runs_to_its_end_drawn_first_with_its_tool_changes(self):
        self.open(api=True)
        self.load("shapes.gcode", JOB)
        preview = self.browser.find_element(By.ID, "job-preview")
        cut = preview.find_element(By.CLASS_NAME, "cut").get_attribute("d")
        travel = preview.find_element(By.CLASS_NAME, "travel").get_attribute("d")
        print("preview: cut %s; travel %s; %s" % (cut, travel, self.text("job-summary")))
        self.assertEqual(cut.count("M"), 7)
        self.assertEqual(travel.count("M"), 3)
        self.assertIn("Size 6.00 × 3.00 mm (60 × 30 steps)", self.text("job-summary"))
        self.browser.find_element(By.ID, "job-run").click()
        self.assertEqual(self.status_becomes("done", "error", "stopped"), "done")
        print("lines run: %s; tool values %s; %s; %s" % (self.cuts(), self.program.tools, self.text("job-done"), self.text("job-time")))
        self.assertEqual(self.cuts(), [((10, 10), False), ((30, 10), True), ((30, 30), True), ((10, 30), True),
                                       ((10, 10), True), ((40, 10), False), ((60, 10), True), ((50, 30), True),
                                       ((40, 10), True), ((0, 0), False)])
        self.assertEqual(self.program.tools, [1, 0, 1, 0, 0])
        progress = self.browser.find_element(By.ID, "job-progress")
        self.assertEqual(progress.get_attribute("value"), progress.get_attribute("max"))
        self.assertEqual((self.text("target-x"), self.text("target-y")), ("0", "0"))

    def test_refusals_name_their_line(self):
        self.open(api=True, limits=(45, 100))
        self.load("bad.gcode", "G0 X1\nG28\n")
        print("load of a G28: %s" % self.text("job-status"))
        self.assertEqual(self.text("job-status"), "error at line 2: G28 is not supported")
        self.assertFalse(self.browser.find_element(By.ID, "job-run").is_enabled())
        self.load("shapes.gcode", JOB)
        self.browser.find_element(By.ID, "job-run").click()
        status = self.status_becomes("error", "done")
        print("beyond the limits: %s; lines run %s; tool %s" % (status, self.cuts(), self.program.tool))
        self.assertEqual(status, "error at line 11: the program refused the line (outside --limits, or out of reach)")
        self.assertEqual([to for to, _ in self.cuts()][-1], (40, 10), "a line after the refused one")
        self.assertEqual(self.program.tool, 0)

    def test_stop_halts_the_line_and_restart_draws_only_the_rest(self):
        self.open(api=True)
        self.load("long.gcode", "G1 X30 F60\nG1 Y2\nG1 X0 F3000\n")
        self.browser.find_element(By.ID, "job-run").click()
        WebDriverWait(self.browser, WAIT_S).until(lambda b: self.program.running and self.program.x >= 20)
        clicked = time.monotonic()
        self.browser.find_element(By.ID, "stop").click()
        status = self.status_becomes("stopped", "done", "error")
        halted_after = [t for t in self.program.requests if t == "/halt"]
        print("stopped: %s at X %d; %s" % (status, self.program.x, self.text("job-done")))
        self.assertEqual(status, "stopped at line 1")
        self.assertEqual(halted_after, ["/halt"])
        self.assertLess(self.program.x, 300)
        self.assertLess(time.monotonic() - clicked, 10)
        self.assertEqual(self.text("target-x"), str(self.program.x))
        self.type_into("job-restart-line", "3")
        self.browser.find_element(By.ID, "job-restart").click()
        self.assertEqual(self.status_becomes("done", "error", "stopped"), "done")
        print("after the restart: %s" % self.cuts()[1:])
        self.assertEqual([to for to, _ in self.cuts()[1:]], [(300, 20), (0, 20)])

    def test_a_held_arrow_key_jogs_until_released(self):
        self.open(api=False)
        print("without the API: %s" % self.text("pos-source"))
        self.assertIn("The API is off", self.text("pos-source"))
        self.browser.execute_script("document.activeElement.blur()")
        chain = ActionChains(self.browser)
        chain.key_down(Keys.ARROW_RIGHT).pause(1.5).key_up(Keys.ARROW_RIGHT).perform()
        WebDriverWait(self.browser, WAIT_S).until(lambda b: not b.find_element(By.ID, "move").get_attribute("disabled"))
        lines = len(self.program.lines)
        time.sleep(0.5)
        print("held 1.5 s: %d jogs of 10 to X %d; page X %s" % (lines, self.program.x, self.text("target-x")))
        self.assertGreater(lines, 1)
        self.assertEqual(len(self.program.lines), lines, "a jog after the release")
        self.assertEqual(self.program.x, 10 * lines)
        self.assertEqual(self.text("target-x"), str(self.program.x))
        self.load("shapes.gcode", JOB)
        self.browser.find_element(By.ID, "job-run").click()
        self.assertEqual(self.status_becomes("done", "error", "stopped"), "done")
        self.assertEqual(self.cuts()[-1][0], (10 * lines, 0))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
