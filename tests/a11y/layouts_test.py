"""Digits on every keyboard layout: with the Belgian AZERTY, Dutch and US layouts, the
number row without Shift and the keypad with NumLock off type digits into the answer
box, and the answers count; a letter still brings the message. Keys are pressed by
their place on the keyboard (XTest key codes), as a child presses them.

    dbus-run-session -- /usr/bin/python3 tests/a11y/layouts_test.py PROGRAM [OUT]
"""
import re
import subprocess

import harness

TOTAAL = (6840, 1560)  # the round's score in the drill's design, in twips
ANSWER_BOX = "Vul hier zo snel mogelijk de oplossing in"
# XKB key codes: the number row 1 .. 9, 0 and the keypad 0 .. 9.
NUMBER_ROW = {d: 9 + d for d in range(1, 10)} | {0: 19}
KEYPAD = {7: 79, 8: 80, 9: 81, 4: 83, 5: 84, 6: 85, 1: 87, 2: 88, 3: 89, 0: 90}
LETTER_A = {"be": 24, "nl": 38, "us": 38}  # where each layout has its "a"


class Keyboard:
    def __init__(self):
        from Xlib import display
        self.display = display.Display()

    def press(self, keycode):
        from Xlib import X
        from Xlib.ext import xtest
        xtest.fake_input(self.display, X.KeyPress, keycode)
        xtest.fake_input(self.display, X.KeyRelease, keycode)
        self.display.sync()

    def character(self, keycode):
        from Xlib import XK
        keysym = self.display.get_keyboard_mapping(keycode, 1)[0][0]  # asked afresh
        return XK.keysym_to_string(keysym) or hex(keysym)

    def num_lock_on(self):
        return self.display.get_keyboard_control().led_mask & 2 != 0


def product(s, answer):
    match = re.fullmatch(r"(\d+) x (\d+) = \?", answer.description)
    if match is None:
        s.fail("problem", "the answer box describes '%s'" % answer.description)
    return int(match.group(1)) * int(match.group(2))


def type_answer(s, keyboard, keys, answer, score, how):
    before = int(score.name)
    digits = str(product(s, answer))
    for digit in digits:
        keyboard.press(keys[int(digit)])
    if not s.poll(lambda: score.name == str(before + 1), 10):
        s.fail("score-" + how, "%s: typing %s left '%s' in the box and the score at %s" %
               (how, digits, s.text(answer), score.name))


def test(s):
    s.start_program()
    s.wait_focus("push button", "Klik hier en start !")
    keyboard = Keyboard()
    if keyboard.num_lock_on():
        s.keys("Num_Lock")
    s.keys("space")
    drill = s.wait_for("the drill", lambda: s.window("Tafels oefenen"))
    score = s.control_at(drill, "label", *TOTAAL)
    s.tab_to("push button", "x 4")
    s.keys("space")
    answer = s.wait_focus("text", ANSWER_BOX)

    for layout in ("be", "nl", "us"):
        subprocess.run(["setxkbmap", layout], check=True)
        # The test means something only when the layout is in force.
        want_one = {"be": "&", "nl": "1", "us": "1"}[layout]
        s.wait_for("the %s layout" % layout, lambda: keyboard.character(10) == want_one, 10)
        if keyboard.num_lock_on():
            s.fail("num-lock", "NumLock is on")
        type_answer(s, keyboard, NUMBER_ROW, answer, score, layout + " number row")
        type_answer(s, keyboard, KEYPAD, answer, score, layout + " keypad")
        s.log("%s: the number row and the keypad type digits; score %s" % (layout, score.name))

        keyboard.press(LETTER_A[layout])
        message = s.wait_for("the message", lambda: s.window("Let eens op !!"), 10)
        if s.find(message, "label", "Je mag alleen cijfers invoegen") is None:
            s.fail("message", "the message does not say 'Je mag alleen cijfers invoegen'")
        s.wait_focus("push button", "OK")
        s.keys("Return")
        s.wait_for("the message to close", lambda: s.window("Let eens op !!") is None, 10)
        s.wait_focus("text", ANSWER_BOX)
        if s.text(answer) != "":
            s.fail("cleared", "after the message the box holds '%s'" % s.text(answer))
        s.log("%s: a letter brings the message and an empty box" % layout)


if __name__ == "__main__":
    harness.run(test)
