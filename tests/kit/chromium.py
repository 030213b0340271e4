"""Headless Chromium for the kit's browser tests, on loopback only."""
from selenium import webdriver
from selenium.webdriver.chrome.service import Service

# Without the background-networking switches Chromium reaches for the internet, which these
# machines refuse.
SWITCHES = ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
            "--disable-background-networking", "--disable-component-update", "--disable-sync")


def start_chromium(profile, window_size=None, extra=()):
    """Chromium with its profile in the folder `profile`, a window of `window_size` (width,
    height) where one is given, and the `extra` switches."""
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    switches = list(SWITCHES) + list(extra) + ["--user-data-dir=" + profile]
    if window_size is not None:
        switches.append("--window-size=%d,%d" % window_size)
    for switch in switches:
        options.add_argument(switch)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
