"""What a screen reader reads of the real program, through the accessibility bus: every
window, button and text box has a name; the countdown and the score say what the screen
shows while a round runs; the answer box describes the problem; the boxes of a lesson
say their colour; decoration is not in the way.

    dbus-run-session -- /usr/bin/python3 tests/a11y/screen_reader_test.py PROGRAM [OUT]
"""
import re
import time

import harness
import pyatspi

# Places of the drill's counters in its design, in twips.
CHRONO = (7680, 3720)
TOTAAL = (6840, 1560)
WINDOW_ROLES = {"frame", "window", "dialog", "alert", "internal frame"}
NAMED_ROLES = {"push button", "text"} | WINDOW_ROLES


def check_names(s, root, screen):
    """Every button, text box and window has a name; no unnamed picture is shown."""
    unnamed = s.find_all(root, lambda a: a.getRoleName() in NAMED_ROLES and not a.name.strip())
    if unnamed:
        s.fail("unnamed-" + screen, "%s: %d unnamed objects: %s" %
               (screen, len(unnamed), [a.getRoleName() for a in unnamed]))
    pictures = s.find_all(root, lambda a: a.getRoleName() == "image" and not a.name.strip())
    if pictures:
        s.fail("pictures-" + screen, "%s: %d unnamed pictures" % (screen, len(pictures)))


def problem_of(s, answer_box):
    match = re.fullmatch(r"(\d+) x (\d+) = \?", answer_box.description)
    if match is None:
        s.fail("problem", "the answer box describes '%s', not a problem" % answer_box.description)
    return int(match.group(1)), int(match.group(2))


def test(s):
    s.start_program()
    names_heard = s.listen("object:property-change:accessible-name")
    main = s.wait_for("the main window", lambda: s.window(
        "Alle kinderen moeten alle kansen krijgen."))
    welcome = s.wait_for("the welcome screen by name",
                         lambda: s.find(main, "frame", "Welkom bij Honderdtafels"))
    check_names(s, main, "welcome")
    s.wait_focus("push button", "Klik hier en start !")
    s.log("welcome screen: named, the start button has the focus")
    del welcome

    s.keys("space")
    drill = s.wait_for("the drill window by name", lambda: s.window("Tafels oefenen"))
    check_names(s, drill, "drill")
    chrono = s.control_at(drill, "label", *CHRONO)
    totaal = s.control_at(drill, "label", *TOTAAL)
    if (chrono.name, totaal.name) != ("60", "0"):
        s.fail("counters", "before a round the counters read %s and %s" % (chrono.name, totaal.name))

    s.tab_to("push button", "x 4")
    s.keys("space")
    started = time.monotonic()
    answer = s.wait_focus("text", "Vul hier zo snel mogelijk de oplossing in")
    getal, tafel = problem_of(s, answer)
    if tafel != 4:
        s.fail("table", "a round of x 4 asks %d x %d" % (getal, tafel))
    s.log("round of x 4: the answer box describes '%s'" % answer.description)

    # The countdown's name follows the clock, second by second, as the screen does.
    heard = set()

    def counted_down():
        name = chrono.name
        elapsed = time.monotonic() - started
        if not name.isdigit() or abs((60 - int(name)) - elapsed) > 3:
            s.fail("chrono", "%.1f s into the round the countdown reads '%s'" % (elapsed, name))
        heard.add(name)
        return len(heard) >= 3 and int(name) <= 58
    s.wait_for("the countdown to be heard counting down", counted_down, 10)
    s.log("countdown heard as %s" % sorted(heard, key=int, reverse=True))
    # A screen reader learns of each change by an event, without asking.
    s.wait_for("the countdown's name-change events", lambda: {
        ("object:property-change:accessible-name", "59"),
        ("object:property-change:accessible-name", "58")} <= set(names_heard), 10)

    # A right answer: the score's name follows, and the box describes the next problem.
    product = str(getal * tafel)
    s.keys(*product)
    s.wait_for("the score to read 1", lambda: totaal.name == "1", 10)
    s.wait_for("the next problem", lambda: s.text(answer) == "" and problem_of(s, answer), 10)
    s.log("score heard as 1; next problem '%s'" % answer.description)

    # The red light opens the classroom, named by its caption.
    s.tab_to("push button", "ik wil uitleg")
    s.keys("space")
    klas = s.wait_for("the classroom window by name", lambda: s.window("A klas"))
    check_names(s, klas, "classroom")
    boxes = s.find_all(klas, lambda a: a.getRoleName() == "text" and re.fullmatch(r"\d+", a.name)
                       and a.getState().contains(pyatspi.STATE_SHOWING))
    if len(boxes) != 101:
        s.fail("boxes", "the hundred-field has %d named boxes, not 101" % len(boxes))
    colours = {box.description for box in boxes}
    if colours != {"geel"}:
        s.fail("yellow", "before a lesson the boxes say %s, not only 'geel'" % colours)
    s.log("classroom: 101 boxes, each 'geel'")

    s.tab_to("push button", "x 7")
    s.keys("space")
    sevens = {str(7 * k) for k in range(11)}

    def field_says(inside, outside):
        return all(box.description == (inside if box.name in sevens else outside)
                   for box in boxes)
    s.wait_for("the lesson's boxes to say 'groen'", lambda: field_says("groen", "geel"), 10)
    s.log("lesson x 7: its eleven boxes say 'groen', the others 'geel'")
    s.wait_for("the lesson's boxes to say 'zwart'", lambda: field_says("zwart", "geel"), 20)
    s.log("after 10 s they say 'zwart'")


if __name__ == "__main__":
    harness.run(test)
