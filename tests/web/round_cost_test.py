#!/usr/bin/python3
"""What a round costs the browser: the falling problem moves ten times a second, and each
move must be the compositor's alone, with no layout of the page; each tick sets the page's
timer once, for the next.

    round_cost_test.py SITE_DIR [OUTPUT_DIR]

Starts a round of "x 4" in headless Chromium and, over a few seconds of it, counts the
problem's moves (changes of its style) and the layouts Chromium did (its Performance
metrics): the page lays out for the countdown's seconds and for a new problem's text, not
for a move. It counts the timers the page sets meanwhile: one a tick, whether the tick
moves the problem, counts a second down, or both. The problem's style, worked out afresh
at each move, holds no custom properties, which make that dearer; it is still drawn in its
colours, over the falling area, as the countdown is in its own.
"""

import os
import sys
import time

sys.dont_write_bytecode = True  # the shared steps below come from the source tree
from browser import SeleniumPage as Page, check, chromium, log, problem, run, serve

SITE = os.path.abspath(sys.argv[1])
OUT = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "web-round-cost-output")
SECONDS = 3

# Counts from now on the moves of the falling problem, the countdown's seconds, the
# problem's new texts and the timers the page sets.
COUNT_CHANGES = """
window.changes = {moves: 0, seconds: 0, problems: 0, timers: 0};
var setTimer = window.setTimeout;
window.setTimeout = function () {
  window.changes.timers++;
  return setTimer.apply(window, arguments);
};
function watch(name, options, kind) {
  new MutationObserver(function (records) { window.changes[kind] += records.length; })
    .observe(document.querySelector('[data-name="' + name + '"]'), options);
}
watch('lblvalprobleem', {attributes: true, attributeFilter: ['style']}, 'moves');
watch('Lblchrono', {childList: true, characterData: true, subtree: true}, 'seconds');
watch('lblvalprobleem', {childList: true, characterData: true, subtree: true}, 'problems');
"""


# The falling problem's and the countdown's colours as drawn, and the custom properties in
# the problem's own style.
COLOURS = """
function colours(name) {
  var style = getComputedStyle(document.querySelector('[data-name="' + name + '"]'));
  return [style.color, style.backgroundColor];
}
var own = document.querySelector('[data-name="lblvalprobleem"]').style;
return {problem: colours('lblvalprobleem'), countdown: colours('Lblchrono'),
        custom: Array.from(own).filter(function (p) { return p.startsWith('--'); })};
"""
WHITE, BLACK, CLEAR = "rgb(255, 255, 255)", "rgb(0, 0, 0)", "rgba(0, 0, 0, 0)"


def layouts(page):
    metrics = page.d.execute_cdp_cmd("Performance.getMetrics", {})["metrics"]
    return next(m["value"] for m in metrics if m["name"] == "LayoutCount")


def main():
    os.makedirs(OUT, exist_ok=True)
    server = serve(SITE)
    driver = chromium()
    page = Page(driver)

    def steps():
        driver.get("http://127.0.0.1:%d/" % server.server_address[1])
        page.wait("no welcome screen", lambda: page.window_shown("frmmecenaat1"), 20)
        page.control("cmdkombinnen").click()
        page.wait("no drill", lambda: page.window_shown("Tafels"))
        page.control("cmdstarter(3)").click()
        page.wait("no problem falls", lambda: problem(page) is not None)
        driver.execute_cdp_cmd("Performance.enable", {})
        driver.execute_script(COUNT_CHANGES)
        before = layouts(page)
        time.sleep(SECONDS)  # the round plays on its own meanwhile
        changes = driver.execute_script("return window.changes")
        laid_out = layouts(page) - before
        log("in %d s: %s, %d layouts" % (SECONDS, changes, laid_out))
        check(page, "the problem moved only %d times in %d s" % (changes["moves"], SECONDS),
              changes["moves"] >= 8 * SECONDS)
        check(page, "%d layouts for %s" % (laid_out, changes),
              laid_out <= changes["seconds"] + changes["problems"] + 1)
        check(page, "%d timers set for %s" % (changes["timers"], changes),
              changes["timers"] <= changes["moves"] + changes["seconds"] + 1)
        colours = driver.execute_script(COLOURS)
        log("colours: %s" % colours)
        check(page, "custom properties in the falling problem's style: %s" % colours["custom"],
              colours["custom"] == [])
        check(page, "the falling problem drawn in %s" % colours["problem"],
              colours["problem"] == [WHITE, CLEAR])
        check(page, "the countdown drawn in %s" % colours["countdown"],
              colours["countdown"] == [BLACK, WHITE])

    return run(driver, steps, os.path.join(OUT, "fail-round-cost.png"), server.shutdown)


if __name__ == "__main__":
    sys.exit(main())
