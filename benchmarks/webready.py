#!/usr/bin/python3
"""Loads a built web page again and again in headless Chromium and prints, in milliseconds, the
median and the slowest time from the start of each load until the page shows its first step.

    webready.py PAGE [LOADS]
"""

import os
import statistics
import sys
import tempfile

sys.dont_write_bytecode = True  # nothing is left in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
from webplay import start_browser  # noqa: E402

# The page marks the moment it has shown its first step; marks count from the start of the load.
READY = """
const marks = performance.getEntriesByName("kq-ready");
return marks.length ? marks[0].startTime : null;
"""


def main():
    page = os.path.abspath(sys.argv[1])
    loads = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    times = []
    with tempfile.TemporaryDirectory(prefix="kq-chromium-", ignore_cleanup_errors=True) as profile:
        driver = start_browser(profile, watch=False)
        try:
            # The first load also starts the browser's own machinery; it is not counted.
            for load in range(loads + 1):
                driver.get("file://" + page)
                ready = driver.execute_script(READY)
                if ready is None:
                    raise RuntimeError("the page never showed its first step")
                if load:
                    times.append(ready)
        finally:
            driver.quit()
    print("%.1f %.1f" % (statistics.median(times), max(times)))


if __name__ == "__main__":
    main()
