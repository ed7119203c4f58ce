#!/usr/bin/python3
"""Plays built web pages in headless Chromium through WebDriver and writes what each showed.

    webplay.py CASES.json RESULTS.json

CASES.json is a list of {"name", "page", "presses"}; a press is "1" or "2" (click that button),
"tap:1" (touch it), "close" (the close box), "esc", "enter", "enter-held" (Enter with its
repeats), "text-enter" (a click on the text, then Enter), "tab", "backtab", "alt:X" (keys) or
"wait" (let the bar fill). RESULTS.json maps each name to {"events", "again", "alerts", "images", "violations",
"unlabelled"}: the windows, pauses and the end in the order the page showed them, in the form
the runner's side of the test writes them; what "Play again" showed first after the end; what
the page ran or was refused that it should not have; and the windows that were no dialog
labelled by their caption with the focus on their first button.

One browser serves all cases. The page's timers are recorded and run at once, so a pause or a
bar takes no real time; the delays the page asked for are part of the events.
"""

import json
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions import interaction
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.pointer_input import PointerInput
from selenium.webdriver.common.keys import Keys

# No sandbox, since CI runs as root; /tmp instead of /dev/shm, which containers keep small.
FLAGS = ("--headless --no-sandbox --disable-dev-shm-usage --disable-gpu --disable-quic "
         "--no-first-run --disable-background-networking --disable-component-update "
         "--disable-sync").split()

# Runs before the page's own script: timers are logged, a pause's runs at once, a bar's ticks
# only when the test waits for it (so the bar never races a press); whatever the page would
# alert, or had refused by its policy, is counted.
WATCH = """
window.__kq = {timers: [], ticking: new Map(), alerts: 0, violations: 0, unlabelled: 0};
const setTimeoutOf = window.setTimeout, clearTimeoutOf = window.clearTimeout;
window.setTimeout = (f, ms) => { __kq.timers.push(["timeout", ms]); return setTimeoutOf(f, 1); };
window.setInterval = (f, ms) => {
  __kq.timers.push(["interval", ms]);
  const id = setTimeoutOf(() => {}, 0);
  __kq.ticking.set(id, f);
  return id;
};
window.clearTimeout = window.clearInterval = id => { __kq.ticking.delete(id); clearTimeoutOf(id); };
window.alert = window.confirm = window.prompt = () => { __kq.alerts += 1; };
document.addEventListener("securitypolicyviolation", () => { __kq.violations += 1; });
"""

# Ticks the bar of the window shown until the window goes.
TICK = """
const w = document.querySelector("#desk .window");
for (let i = 0; i < 100000 && document.querySelector("#desk .window") === w; ++i) {
  const ticks = [...__kq.ticking.values()];
  if (!ticks.length) { return false; }
  ticks.forEach(f => f());
}
return true;
"""

# What the desk shows now; a window not seen before is fresh. The logged timers are handed over.
READ = """
const w = document.querySelector("#desk .window");
const e = document.querySelector("#desk .ended");
const state = {timers: __kq.timers.splice(0), ended: e && e.querySelector(".said").textContent};
if (w) {
  const icon = w.querySelector(".icon");
  const shown = icon ? [...icon.classList].find(c => /^i[0-9]$/.test(c)) : null;
  state.window = {
    fresh: !w.__kqSeen,
    kind: w.classList.contains("progress") ? "progress" : "message",
    caption: w.querySelector(".caption").textContent,
    text: w.querySelector(".text").textContent,
    icon: icon ? (shown ? Number(shown.slice(1)) : 0) : -1,
    buttons: [...w.querySelectorAll(".buttons button")].map(b => b.textContent),
  };
  if (!w.__kqSeen) {
    const label = document.getElementById(w.getAttribute("aria-labelledby"));
    const first = w.querySelector(".buttons button");
    const named = w.getAttribute("role") === "dialog" && label === w.querySelector(".caption");
    __kq.unlabelled += named && document.activeElement === (first || w) ? 0 : 1;
  }
  w.__kqSeen = true;
}
return state;
"""


def start_browser(profile, watch=True):
    """Headless Chromium with its profile in the folder `profile`; with watch, the page's timers
    are taken over as WATCH says."""
    options = webdriver.ChromeOptions()
    for flag in FLAGS:
        options.add_argument(flag)
    options.add_argument("--user-data-dir=" + profile)
    options.add_argument("--window-size=800,600")
    options.binary_location = "/usr/bin/chromium"
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    if watch:
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WATCH})
    return driver


def settle(driver):
    """Waits until the desk shows a window or the end; a pause shows neither."""
    deadline = time.monotonic() + 20
    timers = []
    while True:
        state = driver.execute_script(READ)
        timers += state["timers"]
        if state["ended"] is not None or state.get("window"):
            state["timers"] = timers
            return state
        if time.monotonic() > deadline:
            raise RuntimeError("the page shows nothing")
        time.sleep(0.005)


def hold_enter(driver):
    """Enter held down: one press, then the repeats a keyboard sends, then the release."""
    enter = {"key": "Enter", "code": "Enter", "windowsVirtualKeyCode": 13,
             "nativeVirtualKeyCode": 13}
    driver.execute_cdp_cmd("Input.dispatchKeyEvent", dict(enter, type="keyDown", text="\r"))
    for _ in range(3):
        driver.execute_cdp_cmd("Input.dispatchKeyEvent",
                               dict(enter, type="keyDown", text="\r", autoRepeat=True))
    driver.execute_cdp_cmd("Input.dispatchKeyEvent", dict(enter, type="keyUp"))


def press(driver, what):
    if what in ("1", "2"):
        driver.find_elements("css selector", "#desk .buttons button")[int(what) - 1].click()
    elif what.startswith("tap:"):
        button = driver.find_elements("css selector", "#desk .buttons button")[int(what[4:]) - 1]
        actions = ActionBuilder(driver, mouse=PointerInput(interaction.POINTER_TOUCH, "finger"))
        actions.pointer_action.move_to(button).pointer_down().pointer_up()
        actions.perform()
    elif what == "close":
        driver.find_element("css selector", "#desk .closebox").click()
    elif what == "esc":
        ActionChains(driver).send_keys(Keys.ESCAPE).perform()
    elif what == "enter":
        ActionChains(driver).send_keys(Keys.ENTER).perform()
    elif what == "enter-held":
        hold_enter(driver)
    elif what == "text-enter":
        driver.find_element("css selector", "#desk .text").click()
        ActionChains(driver).send_keys(Keys.ENTER).perform()
    elif what == "tab":
        ActionChains(driver).send_keys(Keys.TAB).perform()
    elif what == "backtab":
        ActionChains(driver).key_down(Keys.SHIFT).send_keys(Keys.TAB).key_up(Keys.SHIFT).perform()
    elif what.startswith("alt:"):
        ActionChains(driver).key_down(Keys.ALT).send_keys(what[4:].lower()).key_up(
            Keys.ALT).perform()
    elif what == "wait":
        if not driver.execute_script(TICK):
            raise RuntimeError("nothing ends the window by itself")
    else:
        raise ValueError("unknown press " + what)


def shown(state):
    """The pauses, the fresh window and the end that a settled state shows, as events."""
    events = []
    interval = 0
    for kind, ms in state["timers"]:
        if kind == "timeout":
            events.append(["pause", ms])
        else:
            interval = ms
    window = state.get("window")
    if state["ended"] is not None:
        events.append(["ended", state["ended"]])
    elif window["fresh"]:
        events.append([window["kind"], window["caption"], window["text"], window["icon"],
                       window["buttons"], interval])
    return events


def play(driver, case):
    driver.get("file://" + case["page"])
    presses = list(case["presses"])
    events = []
    state = settle(driver)
    while True:
        events += shown(state)
        if state["ended"] is not None:
            break
        if not presses:
            events.append(["ran out"])
            break
        press(driver, presses.pop(0))
        state = settle(driver)
    # "Play again" starts the run from its beginning.
    again = None
    if state["ended"] is not None:
        driver.find_element("css selector", "#desk .ended .again").click()
        again = next(e for e in shown(settle(driver)) if e[0] != "pause")
    counts = driver.execute_script("return [__kq.alerts, __kq.violations, "
                                   "document.querySelectorAll('img').length, __kq.unlabelled];")
    return {"events": events, "again": again, "alerts": counts[0], "violations": counts[1],
            "images": counts[2], "unlabelled": counts[3]}


def main():
    with open(sys.argv[1], encoding="utf-8") as file:
        cases = json.load(file)
    results = {}
    with tempfile.TemporaryDirectory(prefix="kq-chromium-", ignore_cleanup_errors=True) as profile:
        driver = start_browser(profile)
        try:
            for case in cases:
                try:
                    results[case["name"]] = play(driver, case)
                except Exception as error:  # one broken case must not hide the others
                    results[case["name"]] = {"error": repr(error)}
        finally:
            driver.quit()
    with open(sys.argv[2], "w", encoding="utf-8") as file:
        json.dump(results, file, ensure_ascii=False)


if __name__ == "__main__":
    main()
