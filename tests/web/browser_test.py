#!/usr/bin/python3
# The page in headless Chromium (SwiftShader's WebGL), driven through Selenium as a
# person would: the question, the canvas and the title, the start view's colours, the keys
# and the sounds they start, the quit key, and every data file missing at once. No uncaught
# error may reach the console in any of it.
#
#     browser_test.py SITE                  the tests
#     browser_test.py SITE --bench NATIVE   frames a second, every effect on at 400 x 400: the
#                                           page, then the native program in NATIVE under Xvfb

import base64
import functools
import http.server
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import wave

from selenium import webdriver
from selenium.common.exceptions import NoAlertPresentException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By

DATA_FILES = ["heightmap.bmp", "image1.bmp", "water.bmp", "plant4.tga", "boom.tga",
              "ambient.wav", "rain.wav", "wind.wav", "whistle.wav", "pop.wav"]
QUESTION = "Fullscreen?\n\nDo you want fullscreen mode?"

# Where the Linux build puts the start view's colours (400 x 400 window, the first seconds):
# canvas point -> (red, green) and the blue at the start. Red and green come from the grey of
# sky and fog, which stays, and on the ground from the fogged grass, which moves by about 2
# levels a second as the fog recedes (the figures are those between 3 and 6 seconds). Blue
# rises 2.55 levels a second as the sky clears, so any blue from the start's up to clear
# sky passes. 8 levels allow for another driver's rounding of
# the fog and the texture filtering; a wrong matrix, texture or fog moves these by far more.
START_COLOURS = {
    "sky": ((200, 40), (64, 64, 71)),
    "far water": ((20, 230), (96, 96, 107)),
    "headland": ((200, 350), (73, 96, 58)),
    "near ground": ((300, 380), (64, 112, 44)),
}
LEVEL_TOLERANCE = 8
CLEAR_SKY_BLUE = 128

failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what, flush=True)
    if not condition:
        failures.append(what)
    return condition


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(QuietHandler, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, "http://127.0.0.1:%d/index.html" % server.server_address[1]


def open_browser():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--enable-unsafe-swiftshader", "--autoplay-policy=no-user-gesture-required",
                     "--window-size=1200,900", "--user-data-dir=" + tempfile.mkdtemp(prefix="quarnholt-chromium-")]:
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    options.set_capability("unhandledPromptBehavior", "ignore")
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def wait_for(condition, seconds):
    end = time.time() + seconds
    while time.time() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    return None


# The next alert or confirm: (its text, the alert), or (None, None).
def next_box(driver, seconds=20):
    def box():
        try:
            alert = driver.switch_to.alert
            return alert.text, alert
        except NoAlertPresentException:
            return None
    return wait_for(box, seconds) or (None, None)


def frames_a_second(driver):
    match = re.fullmatch(r"Quarnholt (\d+) fps", driver.title)
    return int(match.group(1)) if match else None


# RGB rows of the canvas as shown: its screenshot, decoded by the page's own image decoder.
def canvas_picture(driver):
    png = driver.find_element(By.ID, "canvas").screenshot_as_base64
    width, rgba = driver.execute_async_script("""
        const done = arguments[1], image = new Image();
        image.onload = () => {
            const canvas = document.createElement("canvas"), width = canvas.width = image.width;
            canvas.height = image.height;
            const context = canvas.getContext("2d");
            context.drawImage(image, 0, 0);
            let bytes = "";
            for (const value of context.getImageData(0, 0, width, image.height).data) bytes += String.fromCharCode(value);
            done([width, btoa(bytes)]);
        };
        image.src = "data:image/png;base64," + arguments[0];""", png)
    data = base64.b64decode(rgba)
    return [[tuple(data[x:x + 3]) for x in range(row, row + 4 * width, 4)] for row in range(0, len(data), 4 * width)]


def pixels_changed(before, after, by=30):
    return sum(1 for a_row, b_row in zip(before, after) for a, b in zip(a_row, b_row)
               if max(abs(p - q) for p, q in zip(a, b)) > by)


# The sky's blue along a row near the top: the median, so that a burst there counts not.
def sky_blue(picture):
    return sorted(p[2] for p in picture[40])[len(picture[40]) // 2]


# The sources playing the named sound file (told by its length in frames), looping or not when asked.
def playing_sources(driver, site, name, looping=None):
    with wave.open(os.path.join(site, name)) as sound:
        frames = sound.getnframes()
    sources = driver.execute_script("return Module.soundSources()")
    return [s for s in sources if s["playing"] and s["frames"] == frames and (looping is None or s["looping"] == looping)]


def hold_key(driver, key, seconds=0.3):
    ActionChains(driver).key_down(key).pause(seconds).key_up(key).perform()


# Console entries that are errors: uncaught exceptions, aborts, failed loads not allowed.
def page_errors(driver, allowed=()):
    return [e["message"] for e in driver.get_log("browser") if not any(name in e["message"] for name in allowed) and
            (e["level"] == "SEVERE" or "Uncaught" in e["message"] or "abort" in e["message"].lower())]


def start_page(driver, url, answer_yes=False):
    driver.get(url)
    text, alert = next_box(driver, 60)
    check(text == QUESTION, "the question is asked: %r" % text)
    if alert:
        alert.accept() if answer_yes else alert.dismiss()


def test_scene(driver, url, site):
    start_page(driver, url)
    canvas = driver.find_element(By.ID, "canvas")
    check(wait_for(canvas.is_displayed, 20) and canvas.size == {"width": 400, "height": 400},
          "No gives the 400 x 400 canvas: %s" % canvas.size)
    check(wait_for(lambda: frames_a_second(driver), 20), "the title counts frames: %r" % driver.title)

    picture = canvas_picture(driver)
    for name, ((x, y), (red, green, blue)) in START_COLOURS.items():
        r, g, b = picture[y][x]
        check(abs(r - red) <= LEVEL_TOLERANCE and abs(g - green) <= LEVEL_TOLERANCE and
              blue - LEVEL_TOLERANCE <= b <= CLEAR_SKY_BLUE + LEVEL_TOLERANCE,
              "the %s is where the Linux build puts it: %s at %s, Linux %s" % (name, (r, g, b), (x, y), (red, green, blue)))
    check(playing_sources(driver, site, "ambient.wav", looping=True), "the ambient sound loops")

    before = canvas_picture(driver)
    hold_key(driver, "e", 1.5)
    check(pixels_changed(before, canvas_picture(driver)) > 2000, "E walks: the view moves")

    # The bursts are looked for under a clear sky: the start's fog, and the rain's, would
    # grey any burst beyond their reach, and how far they reach depends on the seconds passed.
    check(wait_for(lambda: sky_blue(canvas_picture(driver)) >= CLEAR_SKY_BLUE - LEVEL_TOLERANCE, 40),
          "the sky clears: blue %d" % sky_blue(canvas_picture(driver)))
    hold_key(driver, "y")
    check(wait_for(lambda: playing_sources(driver, site, "whistle.wav") or playing_sources(driver, site, "pop.wav"), 10),
          "Y launches fireworks: a whistle or a pop sounds")
    # Sky, water and hill are grey, blue or nearly so: red and green apart are bursts.
    coloured = wait_for(lambda: sum(1 for row in canvas_picture(driver)[:200] for p in row if abs(p[0] - p[1]) > 30), 20)
    check(coloured, "Y brings bursts: %s coloured pixels in the sky" % coloured)

    sky_before = sky_blue(canvas_picture(driver))
    hold_key(driver, "t")
    check(wait_for(lambda: playing_sources(driver, site, "rain.wav", looping=True), 5), "T starts the rain's sound, looping")
    check(wait_for(lambda: sky_blue(canvas_picture(driver)) < sky_before, 8),
          "T greys the sky: blue %d, then %d" % (sky_before, sky_blue(canvas_picture(driver))))

    hold_key(driver, "u")
    started = wait_for(lambda: playing_sources(driver, site, "wind.wav", looping=True), 5)
    check(started, "U starts the wind's sound, looping")
    # The whirlwind travels along the shore, and its sound with it.
    moved = started and wait_for(lambda: [s["position"] for s in playing_sources(driver, site, "wind.wav")] != [started[0]["position"]], 5)
    check(moved, "U brings the whirlwind: the wind's sound travels from %s" % (started and started[0]["position"]))

    # The first click locks the pointer; then the mouse turns the view. A headless browser
    # may refuse the lock, quietly: then only the refusal's quiet is checked.
    canvas.click()
    if wait_for(lambda: driver.execute_script("return document.pointerLockElement === Module.canvas"), 3):
        before = canvas_picture(driver)
        ActionChains(driver).move_by_offset(40, 0).pause(0.3).move_by_offset(40, 0).perform()
        check(wait_for(lambda: pixels_changed(before, canvas_picture(driver)) > 2000, 5), "the mouse turns the view")
    else:
        print("skip  the browser gave no pointer lock: the mouse is not tried")

    hold_key(driver, "q")
    ended = wait_for(lambda: driver.execute_script("return window.quarnholtEnded"), 10)
    check(ended == {"code": 0}, "Q ends the program with code 0: %s" % ended)
    status = driver.find_element(By.ID, "status").text
    check("Quarnholt has ended" in status, "the page says that it has ended: %r" % status)
    check(not canvas.is_displayed(), "the canvas is gone")
    errors = page_errors(driver)
    check(not errors, "no error in the console: %s" % errors)


def test_full_screen_answer(driver, url):
    start_page(driver, url, answer_yes=True)
    text, alert = next_box(driver, 3)
    if alert:  # a browser that may not go full screen says so, as a display without the mode does
        check(text == "doh\n\nahhh...crap...sorry. no fullscreen", "the doh box: %r" % text)
        alert.accept()
    size = {"width": 400, "height": 400} if alert else {"width": 1024, "height": 768}
    canvas = driver.find_element(By.ID, "canvas")
    check(wait_for(lambda: canvas.is_displayed() and canvas.size == size, 20), "Yes gives the %s canvas" % size)
    check(wait_for(lambda: frames_a_second(driver), 20), "and the scene runs: %r" % driver.title)
    check(not page_errors(driver), "no error in the console")


def test_missing_data(driver, site):
    bare = tempfile.mkdtemp(prefix="quarnholt-bare-site-")
    for name in os.listdir(site):
        if name not in DATA_FILES:
            shutil.copy(os.path.join(site, name), bare)
    server, url = serve(bare)
    try:
        start_page(driver, url)
        captions = []
        while (box := next_box(driver, 8))[1]:
            captions.append(box[0].split("\n")[0])
            box[1].accept()
        check(captions == ["Error"] * 5 + ["error"] * 11, "every file missing: the boxes in order: %s" % captions)
        check(wait_for(lambda: frames_a_second(driver), 20), "then the scene runs: %r" % driver.title)
        errors = page_errors(driver, allowed=DATA_FILES)
        check(not errors, "no error in the console beyond the missing files: %s" % errors)
    finally:
        server.shutdown()
        shutil.rmtree(bare)


# Frames a second with rain, fireworks and whirlwind on, read from the title after 8 s.
def bench(driver, url, native):
    start_page(driver, url)
    wait_for(lambda: frames_a_second(driver), 30)
    for key in "tyu":
        hold_key(driver, key)
    time.sleep(8)
    web = [frames_a_second(driver) for _ in range(3) if time.sleep(1.1) is None]
    script = ("cd %s && (ALSOFT_DRIVERS=null ./quarnholt --windowed & pid=$!; sleep 4; "
              "id=$(xdotool search --name 'OpenGl Window|Quarnholt' | head -1); for k in t y u; do xdotool keydown $k; sleep 0.3; xdotool keyup $k; done; "
              "sleep 8; for i in 1 2 3; do sleep 1.1; xdotool getwindowname $id; done; kill $pid)") % native
    titles = subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", "bash", "-c", script],
                            capture_output=True, text=True, timeout=120).stdout
    print("web (headless Chromium) fps:", web)
    print("native (Xvfb, Mesa) fps:", re.findall(r"(\d+) fps", titles))


def main():
    site = os.path.abspath(sys.argv[1])
    server, url = serve(site)
    driver = open_browser()
    try:
        if len(sys.argv) > 3 and sys.argv[2] == "--bench":
            bench(driver, url, os.path.abspath(sys.argv[3]))
            return 0
        test_scene(driver, url, site)
        test_full_screen_answer(driver, url)
        test_missing_data(driver, site)
    finally:
        driver.quit()
        server.shutdown()
    print("%d failed" % len(failures) if failures else "all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
