"""The real program played with the keyboard alone (xdotool keys, no pointer): the start
button, the drill in its tab order, a round with typed answers, the red light, a lesson
in the classroom and "terug" back into the round. The accessibility bus tells where the
focus is and what the counters say.

    dbus-run-session -- /usr/bin/python3 tests/a11y/keyboard_test.py PROGRAM [OUT]
"""
import harness

TOTAAL = (6840, 1560)  # the round's score in the drill's design, in twips
TABLE_BUTTONS = ["alles", "x 2", "x 3", "x 4", "x 5", "x 6", "x 7", "x 8", "x 9"]
LESSON_BUTTONS = ["x %d" % n for n in range(1, 11)]
ANSWER_BOX = "Vul hier zo snel mogelijk de oplossing in"


def tab_cycle(s, count):
    """The names Tab visits, starting with the focused control."""
    names = []
    for _ in range(count):
        focused = s.focused()
        names.append(focused.name if focused is not None else None)
        before = s.place(focused)
        s.keys("Tab")
        s.wait_for("the focus to move on", lambda: s.place(s.focused()) != before, 10)
    return names


def in_order(s, names, expected, where):
    """`expected` is visited as one run, in its order, within one cycle of `names`."""
    start = names.index(expected[0]) if expected[0] in names else -1
    if start < 0 or names[start:start + len(expected)] != expected:
        s.fail("tab-order-" + where, "%s: Tab visits %s" % (where, names))


def answer_one(s, score):
    """Types the products of 4 in turn, clearing a wrong one with BackSpace, until the
    score goes up."""
    before = score.name
    for k in range(1, 11):
        s.keys(*str(400 * k))
        if s.poll(lambda: score.name != before, 0.5):
            return
        s.keys(*["BackSpace"] * 4)
    s.fail("answer", "no product of 4 counted")


def test(s):
    s.start_program()
    s.wait_focus("push button", "Klik hier en start !")
    s.keys("space")
    drill = s.wait_for("the drill", lambda: s.window("Tafels oefenen"))
    score = s.control_at(drill, "label", *TOTAAL)

    names = tab_cycle(s, 2 * (len(TABLE_BUTTONS) + 2))
    in_order(s, names, TABLE_BUTTONS, "drill")
    in_order(s, names, ["Stop de oefening"] + TABLE_BUTTONS[:1], "drill")
    s.log("drill: Tab visits %s" % names[:len(TABLE_BUTTONS) + 2])

    s.tab_to("push button", "x 4")
    s.keys("space")
    s.wait_focus("text", ANSWER_BOX)
    while int(score.name) < 3:
        answer_one(s, score)
    s.log("answers typed and counted: %s" % score.name)

    s.tab_to("push button", "ik wil uitleg")
    s.keys("space")
    klas = s.wait_for("the classroom", lambda: s.window("A klas"))
    names = tab_cycle(s, len(LESSON_BUTTONS) + 2)
    in_order(s, names, LESSON_BUTTONS, "classroom")
    s.log("classroom: Tab visits %s" % names)

    s.tab_to("push button", "x 7")
    s.keys("space")
    terug = s.find(klas, "push button", "terug")
    s.wait_for("terug after the lesson", lambda: terug.getState().contains(harness.showing()), 20)
    s.log("lesson x 7 over, terug shown")
    s.tab_to("push button", "terug")
    s.keys("space")
    s.wait_for("the drill again", lambda: s.window("Tafels oefenen"), 10)
    s.wait_focus("text", ANSWER_BOX)
    before = int(score.name)
    answer_one(s, score)
    s.wait_for("one more answer", lambda: int(score.name) > before)
    s.log("back in the round: one more answer counted, score %s" % score.name)


if __name__ == "__main__":
    harness.run(test)
