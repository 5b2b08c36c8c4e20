#!/usr/bin/python3
"""Walks the running Tevlan over the AT-SPI bus as a screen-reader user
would: opens every section of the main window and every dialog reachable
from it, checks names, roles and values there, and operates one control of
each kind (press, set a value, increase), checking the effect in the
profile files.

  atspi_dialogs.py LANGUAGE_SOURCE DATA_DIR [--deadline SECONDS]

LANGUAGE_SOURCE is data/lang/en.po or zh.po: controls are found by the
texts the window shows, so the same walk runs in both languages. Every
check that fails is printed; exit 1 when any did.
"""
import argparse
import os
import re
import subprocess
import sys
import time

import pyatspi

FAILS = []
BUTTON_COMBOS = set()  # "Button 1" .. "Button 8" in the language walked


def fail(msg):
    FAILS.append(msg)
    print("FAIL: " + msg, file=sys.stderr)


def read_texts(path):
    """{number: text} from a language's PO source, the texts the window shows."""
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tools"))
    from lang_txt_to_po import read_po
    return {n: (e.msgstr or e.msgid) for n, e in read_po(path).items()}


def wait_for(what, fn, seconds=8.0):
    end = time.monotonic() + seconds
    while True:
        try:
            r = fn()
            if r:
                return r
        except Exception:  # the tree changes while it is read
            pass
        if time.monotonic() > end:
            fail("timed out waiting for " + what)
            return None
        time.sleep(0.1)


def app():
    for a in pyatspi.Registry.getDesktop(0):
        if a is not None and a.name.lower().startswith("tevlan"):
            return a
    return None


def windows():
    a = app()
    return [a.getChildAtIndex(i) for i in range(a.childCount)] if a else []


def window_named(name, roles=("dialog", "frame", "window")):
    for w in windows():
        if w is not None and w.name == name and w.getRoleName() in roles and w.childCount > 0:
            return w
    return None


def children(w):
    return [c for c in (w.getChildAtIndex(i) for i in range(w.childCount)) if c is not None]


def child(w, name, roles=None):
    for c in children(w):
        if c.name == name and (roles is None or c.getRoleName() in roles):
            return c
    return None


def action(obj, word):
    """Runs the action whose name holds word (press, increase, showmenu...)."""
    try:
        a = obj.queryAction()
    except NotImplementedError:
        fail("%s '%s' has no actions" % (obj.getRoleName(), obj.name))
        return False
    for i in range(a.nActions):
        if word in a.getName(i).lower():
            return a.doAction(i)
    fail("%s '%s' has no %s action (has %s)" % (obj.getRoleName(), obj.name, word,
                                                 [a.getName(i) for i in range(a.nActions)]))
    return False


def focusable(c):
    """Operable now: focusable and enabled."""
    s = c.getState()
    return s.contains(pyatspi.STATE_FOCUSABLE) and s.contains(pyatspi.STATE_ENABLED)


def check_window(w, where):
    """Every operable control named and uniquely so; value controls with a
    range and a value inside it; combos telling their choice."""
    seen = {}
    for c in children(w):
        role = c.getRoleName()
        if not focusable(c):
            continue
        if not c.name:
            fail("%s: a %s has no name" % (where, role))
            continue
        if c.name in seen and seen[c.name] != id(c):
            fail("%s: two controls are named '%s'" % (where, c.name))
        seen[c.name] = id(c)
        if role in ("slider", "dial"):
            try:
                v = c.queryValue()
                if not (v.minimumValue < v.maximumValue and v.minimumValue <= v.currentValue <= v.maximumValue):
                    fail("%s: %s '%s' value %s outside %s..%s" % (where, role, c.name, v.currentValue,
                                                                  v.minimumValue, v.maximumValue))
            except NotImplementedError:
                fail("%s: %s '%s' has no value" % (where, role, c.name))
        if role == "combo box" and c.name in BUTTON_COMBOS and not c.description:
            fail("%s: combo '%s' does not tell its choice" % (where, c.name))
    if where != "main window" and w.name in ("Tevlan", ""):
        fail("%s: the dialog is called '%s'" % (where, w.name))
    return seen


def xdokey(key):
    subprocess.run(["xdotool", "key", key], check=False)


class Files:
    def __init__(self, data):
        self.config = os.path.join(data, "config")

    def active(self):
        try:
            with open(os.path.join(self.config, "config.ini"), encoding="utf-16") as f:
                m = re.search(r"CurrentProfile=(\d+)", f.read())
            return int(m.group(1)) if m else 0
        except OSError:
            return 0

    def line(self, key):
        """KEY=value of the active profile's file, or None."""
        try:
            with open(os.path.join(self.config, "default%d.psf" % self.active()), encoding="utf-16") as f:
                for line in f:
                    k, _, v = line.strip().partition("=")
                    if k == key:
                        return v
        except (OSError, UnicodeError):
            return None
        return None

    def wait(self, key, value, what):
        return wait_for("%s (%s=%s in the profile file; it holds %s)" % (what, key, value, self.line(key)),
                        lambda: self.line(key) == value, 15)


def open_dialog(opener, title, where):
    """Runs opener, waits for the dialog titled title and checks it."""
    if not opener():
        fail("%s: could not open '%s'" % (where, title))
        return None
    d = wait_for("the dialog '%s' (%s)" % (title, where), lambda: window_named(title, ("dialog",)))
    if d is not None:
        wait_for("the controls of '%s'" % title, lambda: any(focusable(c) for c in children(d)))
        check_window(d, "dialog '%s'" % title)
    return d


def close_dialog(d, T, title):
    if d is None:
        return
    target = child(d, T[5], ("push button",)) or child(d, T[408], ("push button",))
    if target is None:
        fail("dialog '%s' has neither Cancel nor Close" % title)
        xdokey("Escape")
    else:
        action(target, "press")
    wait_for("'%s' to close" % title, lambda: window_named(title, ("dialog",)) is None)


def menu_window(names):
    for w in windows():
        if w is not None and w.getRoleName() in ("popup menu", "menu", "window") and \
                any(c.name in names for c in children(w)):
            return w
    return None


def walk_main(main, T, files):
    # Every section open, so that its controls are on the bus.
    for n in (11, 12, 13, 14, 19, 272):
        header = child(main, T[n], ("check box",))
        if header is not None and not header.getState().contains(pyatspi.STATE_CHECKED):
            action(header, "press")
    time.sleep(0.5)
    check_window(main, "main window")
    labelled = 0
    for c in children(main):
        for r in c.getRelationSet():
            if r.getRelationType() == pyatspi.RELATION_LABELLED_BY and r.getNTargets() > 0:
                label = r.getTarget(0)
                if label is None or label.getRoleName() != "label" or not label.name:
                    fail("'%s' is labelled by something that is no label" % c.name)
                labelled += 1
    if labelled < 2:
        fail("only %d controls say which text labels them" % labelled)
    for n in (16, 17, 18):
        if child(main, T[n]) is None:
            fail("the battery legend '%s' is not on the bus under its own name" % T[n])

    # Set a value: the key debounce slider to 8 ms.
    debounce = child(main, T[537], ("slider",))
    if debounce is None:
        fail("no key debounce slider named '%s'" % T[537])
    else:
        v = debounce.queryValue()
        if v.maximumValue < 20:
            fail("the debounce slider is not in milliseconds (maximum %s)" % v.maximumValue)
        v.currentValue = 8
        files.wait("KeyDebounce", "8", "setting the debounce slider to 8 ms")

    # Increase: DPI level 1's bar, in DPI.
    bar = child(main, T[402].replace("%1", "1"), ("slider",))
    step = files.line("XYSetting1Value")
    if bar is None or step is None:
        fail("no DPI level 1 bar, or no step for it in the file")
    else:
        before = bar.queryValue().currentValue
        if before < 50:
            fail("the DPI bar reads %s, not a DPI" % before)
        action(bar, "increase")
        files.wait("XYSetting1Value", "%04X" % (int(step, 16) + 1), "increasing DPI level 1")
        after = wait_for("the bar to read more", lambda: bar.queryValue().currentValue > before and
                         bar.queryValue().currentValue)
        if after is not None and after - before > 1000:
            fail("one step of the DPI bar went from %s to %s" % (before, after))

    # Press: DPI level 4 on or off.
    check = child(main, T[403].replace("%1", "4"), ("check box",))
    mask = files.line("DPIOffOnFlagValue")
    if check is None or mask is None:
        fail("no check box for DPI level 4, or no mask in the file")
    else:
        action(check, "press")
        files.wait("DPIOffOnFlagValue", "%02X" % (int(mask, 16) ^ 0x08), "pressing DPI level 4 on/off")


def walk_dialogs(main, T):
    title = T[7]
    d = open_dialog(lambda: action(child(main, T[7], ("push button",)), "press"), title, "reset button")
    close_dialog(d, T, title)

    bar = child(main, T[402].replace("%1", "2"), ("slider",))
    d = open_dialog(lambda: bar is not None and action(bar, "press"), T[11], "DPI level 2 bar")
    if d is not None:
        s = [c for c in children(d) if c.getRoleName() == "slider"]
        if not s or s[0].queryValue().currentValue < 50:
            fail("the DPI dialog's slider is not in DPI")
    close_dialog(d, T, T[11])

    swatch = child(main, T[404].replace("%1", "2"))
    d = open_dialog(lambda: swatch is not None and action(swatch, "press"), T[521], "DPI level 2 colour")
    if d is not None:
        field = child(d, T[531])
        if field is None or not re.search(r"#[0-9A-F]{6}", field.description or ""):
            fail("the colour field does not tell the colour")
        for n in (533, 534, 535):
            if child(d, T[n], ("text", "entry")) is None:
                fail("the colour dialog has no box named '%s'" % T[n])
    close_dialog(d, T, T[521])

    combo = child(main, T[400].replace("%1", "5"), ("combo box",))
    for item, title in ((29, T[180]), (26, T[170])):
        if combo is None:
            fail("no combo for button 5")
            break
        action(combo, "showmenu")
        menu = wait_for("button 5's menu", lambda: menu_window({T[item]}))
        if menu is None:
            continue
        for c in children(menu):
            if not c.name:
                fail("a row of button 5's menu has no name")
        d = open_dialog(lambda: action(child(menu, T[item]), "press"), title, "button 5's menu")
        close_dialog(d, T, title)

    d = open_dialog(lambda: action(child(main, T[8], ("push button",)), "press"), T[8], "macro manager button")
    if d is not None:
        for n in (526, 527, 528, 408):
            if child(d, T[n]) is None:
                fail("the macro manager has no control named '%s'" % T[n])
        sub = open_dialog(lambda: action(child(d, T[200], ("push button",)), "press"), T[239], "macro manager")
        close_dialog(sub, T, T[239])
        action(child(d, T[408], ("push button",)), "press")
        wait_for("the macro manager to close", lambda: window_named(T[8], ("dialog",)) is None)

    tab = None
    for c in children(main):
        if c.getRoleName() == "page tab" and c.getState().contains(pyatspi.STATE_SELECTED):
            tab = c
    if tab is None:
        fail("no selected profile tab")
        return
    for item, title in ((92, T[144]), (396, T[390])):
        action(tab, "contextmenu")
        menu = wait_for("the profile tab's menu", lambda: menu_window({T[92], T[396]}))
        if menu is None:
            continue
        d = open_dialog(lambda: action(child(menu, T[item]), "press"), title, "the profile tab's menu")
        close_dialog(d, T, title)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("texts")
    p.add_argument("data")
    p.add_argument("--deadline", type=float, default=15)
    args = p.parse_args()
    T = read_texts(args.texts)
    BUTTON_COMBOS.update(T[400].replace("%1", str(i)) for i in range(1, 9))
    files = Files(args.data)
    window = wait_for("the main window", lambda: max((w for w in windows() if w.getRoleName() == "frame"),
                                                     key=lambda w: w.childCount, default=None), args.deadline)
    if window is None:
        return 1
    wait_for("the main window's controls", lambda: window.childCount > 20, args.deadline)
    for step in (lambda: walk_main(window, T, files), lambda: walk_dialogs(window, T)):
        try:
            step()
        except Exception as e:  # a bus error ends the walk, not the report
            fail("the walk stopped: %r" % e)
    print("%d failures" % len(FAILS))
    return 1 if FAILS else 0


if __name__ == "__main__":
    sys.exit(main())
