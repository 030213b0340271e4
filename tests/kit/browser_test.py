#!/usr/bin/env python3
"""The control page in a real browser (headless Chromium driven through chromedriver), against
the program and the simulator that the run command started:
load /, press Tool on (the hook tells the simulator), set X and Y, press Move; the step bytes
reach the simulator (drawn as the cut), Tool off; the page (which stays
where it is: it reaches the program with fetch) shows the machine there, the live view's path
ends there; an arrow key pressed and let go jogs once by the chosen step size. The page's Stop
pressed during a slow line ends it there: the position the page shows is the simulator's, and
the program's own (/pos).
Screenshots of the pages go to OUT_DIR, and the page after the move beside the live view in
one picture (control_page_and_view.png, the README's).

    browser_test.py OUT_DIR [VIEW_PORT [PROGRAM_PORT]]
"""
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
VIEW_PORT = int(sys.argv[2]) if len(sys.argv) > 2 else 8070
PROGRAM_PORT = int(sys.argv[3]) if len(sys.argv) > 3 else 80
PROGRAM = "http://127.0.0.1/" if PROGRAM_PORT == 80 else "http://127.0.0.1:%d/" % PROGRAM_PORT
VIEW = "http://127.0.0.1:%d/" % VIEW_PORT
WAIT_S = 90  # a line of a few dozen steps, each box closed by the helper, with room to spare


def simulator_state():
    with urllib.request.urlopen(VIEW + "state", timeout=10) as reply:
        return json.loads(reply.read())


def wait_for_position(x, y):
    """The simulator's state once it is at x, y (bounded); the last state seen otherwise."""
    state = simulator_state()
    deadline = time.monotonic() + WAIT_S
    while (state["x"], state["y"]) != (x, y) and time.monotonic() < deadline:
        time.sleep(0.1)
        state = simulator_state()
    return state


def program_position():
    with urllib.request.urlopen(PROGRAM + "pos", timeout=WAIT_S) as reply:
        return json.loads(reply.read())


PHONE = (412, 915)


def phone_screen(browser):
    """A phone's screen: a headless window is never narrower than 500 pixels, so it is emulated."""
    browser.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                            {"width": PHONE[0], "height": PHONE[1], "deviceScaleFactor": 1, "mobile": True})


def start_browser(profile):
    browser = start_chromium(profile, PHONE)
    phone_screen(browser)
    browser.set_page_load_timeout(WAIT_S)
    return browser


class ControlPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        os.makedirs(OUT_DIR, exist_ok=True)
        cls.profile = tempfile.mkdtemp(prefix="mt-chromium-")
        cls.browser = start_browser(cls.profile)

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        shutil.rmtree(cls.profile, ignore_errors=True)

    def shot(self, name):
        path = os.path.join(OUT_DIR, name)
        self.browser.save_screenshot(path)
        print("   screenshot %s" % path)

    def page_shows(self, x, y):
        """Waits until the page shows the machine at x, y with no line running; returns its URL."""
        WebDriverWait(self.browser, WAIT_S).until(
            lambda b: self.shown_target() == (str(x), str(y)) and b.find_element(By.ID, "move").is_enabled())
        return self.browser.current_url

    def shown_target(self):
        find = self.browser.find_element
        return find(By.ID, "target-x").text, find(By.ID, "target-y").text

    def switch_tool(self, button, value, shown):
        """Presses Tool on or Tool off; the simulator hears the hook's value, the page shows it."""
        b = self.browser
        b.find_element(By.ID, button).click()
        WebDriverWait(b, WAIT_S).until(lambda d: d.find_element(By.ID, "tool-state").text == shown
                                       and d.find_element(By.ID, "move").is_enabled())
        state = simulator_state()
        print("%s: the page shows the tool %r; the simulator's tool %s" %
              (button, b.find_element(By.ID, "tool-state").text, state["tool"]))
        self.assertEqual(state["tool"], value)

    def test_move_then_jog_with_the_arrow_keys(self):
        b = self.browser
        b.get(PROGRAM)
        width = b.execute_script("return [document.documentElement.scrollWidth, window.innerWidth]")
        print("control page %r, page width %d in a window %d wide" % (b.title, width[0], width[1]))
        self.assertEqual(b.title, "Mini-Tarvo Server: control")
        self.assertEqual(width[1], PHONE[0], "the window is not phone-sized")
        self.assertLessEqual(width[0], width[1], "the page scrolls sideways on a phone-sized window")
        self.shot("control_page.png")

        # The live view's picture is this test's own: begun afresh where the machine stands.
        WebDriverWait(b, WAIT_S).until(lambda d: d.find_element(By.TAG_NAME, "body").get_attribute("data-api") == "true")
        start = simulator_state()
        reset = urllib.request.Request(VIEW + "reset?x=%d&y=%d" % (start["x"], start["y"]), method="POST", data=b"")
        urllib.request.urlopen(reset, timeout=10).read()
        self.switch_tool("tool-on", 1, "on (1)")

        before = simulator_state()
        for field, value in (("x", "10"), ("y", "8"), ("delay", "0")):
            element = b.find_element(By.ID, field)
            element.clear()
            element.send_keys(value)
        b.find_element(By.ID, "move").click()
        url = self.page_shows(10, 8)
        after = wait_for_position(10, 8)
        moved = abs(10 - before["x"]) + abs(8 - before["y"])
        print("Move from %d,%d: %s -> %r; position shown %s; %r; simulator %s" %
              (before["x"], before["y"], url, b.title, self.shown_target(), b.find_element(By.ID, "message").text, after))
        self.assertEqual(url, PROGRAM)
        self.assertEqual(b.title, "Mini-Tarvo Server: control")
        self.assertEqual(b.find_element(By.ID, "message").text, "At X 10, Y 8.")
        self.assertEqual((after["x"], after["y"]), (10, 8))
        self.assertEqual(after["steps"] - before["steps"], moved)
        self.switch_tool("tool-off", 0, "off")

        # Arrow keys, with the focus on the page (not in a field): one jog of the chosen size.
        for key, size, target in ((Keys.ARROW_RIGHT, "10", (20, 8)), (Keys.ARROW_UP, "1", (20, 9))):
            Select(b.find_element(By.ID, "step-size")).select_by_value(size)
            b.execute_script("document.activeElement.blur()")
            start = simulator_state()
            ActionChains(b).send_keys(key).perform()
            self.page_shows(*target)
            state = wait_for_position(*target)
            print("key %s with step %s: position shown %s; simulator %s" %
                  (key.encode("unicode_escape").decode(), size, self.shown_target(), state))
            self.assertEqual((state["x"], state["y"]), target)
            self.assertEqual(state["steps"] - start["steps"], int(size))
        self.shot("page_after_move.png")

        # The live view, as the control page links to it: its path ends at the target; the Move
        # is its one cut, the jogs after Tool off its travel.
        link = b.find_element(By.ID, "view-link").get_attribute("href")
        b.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
        b.set_window_size(640, 915)
        b.get(link)
        # The view redraws itself as it polls, so each reading is taken in one script call:
        # an element found in one call may be gone by the next.
        read_view = ("var p = document.getElementById('tool-path'), x = document.getElementById('x'),"
                     " y = document.getElementById('y');"
                     " var cut = Array.from(document.querySelectorAll('path.cut')).map(function (c) { return c.getAttribute('d'); });"
                     " return p && x && y ? [p.getAttribute('d'), x.textContent, y.textContent, cut] : null;")
        view = WebDriverWait(b, WAIT_S).until(
            lambda d: (lambda v: v if v and v[1] == "20" and v[2] == "9" else None)(d.execute_script(read_view)))
        path = view[0]
        last = re.findall(r"[ML](-?\d+) (-?\d+)", path)[-1]
        print("live view %s: path ends at %s (%d vertices), shows X %s Y %s" %
              (link, last, len(re.findall(r"[ML]", path)), view[1], view[2]))
        self.assertEqual(link, VIEW)
        self.assertEqual(tuple(int(v) for v in last), (20, 9))
        cuts = [re.findall(r"[ML](-?\d+) (-?\d+)", d) for d in view[3]]
        print("live view: %d cut, from %s to %s" % (len(cuts), cuts[0][0] if cuts else None, cuts[0][-1] if cuts else None))
        self.assertEqual(len(cuts), 1)
        self.assertEqual(tuple(int(v) for v in cuts[0][-1]), (10, 8), "the cut is not the Move")
        self.shot("live_view.png")
        self.side_by_side("control_page_and_view.png", "page_after_move.png", "live_view.png")
        phone_screen(b)

    def side_by_side(self, name, *shots):
        """The screenshots named, side by side in one picture."""
        b = self.browser
        page = os.path.join(OUT_DIR, name + ".html")
        with open(page, "w") as f:
            f.write('<!DOCTYPE html><html><body style="margin:0;padding:8px;background:#37474f;display:inline-flex;'
                    'gap:8px;align-items:flex-start">%s</body></html>' % "".join('<img src="%s">' % s for s in shots))
        b.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
        b.set_window_size(1400, 1100)
        b.get("file://" + page)
        size = WebDriverWait(b, WAIT_S).until(lambda d: d.execute_script(
            "var images = Array.from(document.images);"
            " if (!images.every(function (i) { return i.complete && i.naturalWidth; })) return null;"
            " var box = document.body.getBoundingClientRect();"
            " return [Math.ceil(box.width), Math.ceil(box.height)];"))
        # The window's inner size is what the screenshot holds: the window grows by its frame.
        inner = b.execute_script("return [window.innerWidth, window.innerHeight]")
        outer = b.get_window_size()
        b.set_window_size(size[0] + outer["width"] - inner[0], size[1] + outer["height"] - inner[1])
        self.shot(name)

    def test_stop_ends_a_slow_line_where_the_page_and_the_program_say(self):
        b = self.browser
        b.get(PROGRAM)
        WebDriverWait(b, WAIT_S).until(lambda d: d.find_element(By.TAG_NAME, "body").get_attribute("data-api") == "true")
        before = simulator_state()
        # 300 steps at 10 ms: three seconds, which the Stop cuts short.
        target = (before["x"] + 300, before["y"])
        for field, value in (("x", target[0]), ("y", target[1]), ("delay", 10)):
            element = b.find_element(By.ID, field)
            element.clear()
            element.send_keys(str(value))
        b.find_element(By.ID, "move").click()
        deadline = time.monotonic() + WAIT_S
        while simulator_state()["steps"] - before["steps"] < 30 and time.monotonic() < deadline:
            time.sleep(0.02)
        stop = b.find_element(By.ID, "stop")
        self.assertTrue(stop.is_enabled(), "Stop is not enabled during the line")
        stop.click()
        WebDriverWait(b, WAIT_S).until(lambda d: d.find_element(By.ID, "move").is_enabled())
        settled = simulator_state()
        time.sleep(0.5)
        after = simulator_state()
        pos = program_position()
        shown = tuple(int(v) for v in self.shown_target())
        print("Stop during the line from %d,%d to %d,%d: %d steps made; the page shows %s, %r; simulator %d,%d;"
              " /pos %s" % (before["x"], before["y"], target[0], target[1], after["steps"] - before["steps"], shown,
                            b.find_element(By.ID, "message").text, after["x"], after["y"], pos))
        self.assertEqual(after["steps"], settled["steps"], "steps after the line was stopped")
        self.assertGreaterEqual(after["steps"] - before["steps"], 30)
        self.assertLess(after["x"], target[0], "the line ran to its end")
        self.assertEqual(pos["line"], "idle")
        self.assertEqual(pos["tool"], 0, "the tool is not off after Stop")
        self.assertEqual((pos["x"], pos["y"]), (after["x"], after["y"]), "the program and the simulator disagree")
        self.assertEqual(shown, (after["x"], after["y"]), "the page shows another position")
        self.shot("page_after_stop.png")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
