#!/usr/bin/python3
"""Checks what a screen reader finds in the running Tevlan's main window
against the list a11y_expected printed for the same data folder: every
operable control must be on the AT-SPI bus with its name and a role that
fits its kind, and check boxes and radios checked exactly when expected. Polls the bus until the list is complete or the deadline
passes (the window appears and fills in while the program starts).

  atspi_check.py EXPECTED_FILE [--deadline SECONDS] [--chinese]

--chinese also requires the names to be the Chinese texts (most of them
hold a CJK character), so a language setting the program ignored cannot
pass just because both sides fell back to English.
Prints one summary line; on failure the missing controls and what the bus
had instead. Exit 0 on success, 1 on a mismatch or timeout.
"""
import argparse
import collections
import sys
import time

import pyatspi

# The headless host's role words and the AT-SPI roles that fit each.
FITTING = {
    "button": {"push button", "toggle button"},
    "check box": {"check box"},
    "radio": {"radio button"},
    "combo": {"combo box"},
    "slider": {"slider"},
    "dial": {"dial"},
    "list": {"list", "list box"},
    "list item": {"list item"},
    "tab": {"page tab"},
    "link": {"link"},
    "static text": {"label", "static"},
    "image": {"image", "icon"},
    "level": {"progress bar", "level bar"},
    "menu": {"popup menu", "menu"},
    "menu item": {"menu item"},
    "dialog": {"dialog"},
}


def read_expected(path):
    rows = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            parts = line.rstrip("\n").split("\t")
            if len(parts) == 4:
                rows.append((parts[0] == "1", parts[1], parts[2], parts[3] == "checked"))
    return rows


def main_window():
    """The Tevlan application's largest frame, or None."""
    best = None
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None or not app.name.lower().startswith("tevlan"):
            continue
        for i in range(app.childCount):
            w = app.getChildAtIndex(i)
            if w is not None and w.getRoleName() == "frame" and (best is None or w.childCount > best.childCount):
                best = w
    return best


def controls(window):
    found = []
    for i in range(window.childCount):
        c = window.getChildAtIndex(i)
        if c is not None:
            found.append((c.getRoleName(), c.name, c.getState().contains(pyatspi.STATE_CHECKED)))
    return found


def missing(expected, found):
    """The operable controls not on the bus with a fitting role, their name
    and, for boxes and radios, their checked state."""
    have = collections.Counter(found)
    out = []
    for operable, role, name, checked in expected:
        if not operable:
            continue
        hit = None
        for r in FITTING.get(role, {role}):
            for c in ((checked,) if role in ("check box", "radio") else (False, True)):
                if have[(r, name, c)] > 0:
                    hit = (r, name, c)
                    break
            if hit:
                break
        if hit is None:
            out.append((role, name, checked))
        else:
            have[hit] -= 1
    return out


def has_cjk(text):
    return any("\u4e00" <= ch <= "\u9fff" for ch in text)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("expected")
    p.add_argument("--deadline", type=float, default=10)
    p.add_argument("--chinese", action="store_true")
    args = p.parse_args()
    expected = read_expected(args.expected)
    operable = [e for e in expected if e[0]]
    if len(operable) < 20:
        print("the expected list holds only %d operable controls" % len(operable), file=sys.stderr)
        return 1
    if args.chinese:
        chinese = sum(1 for e in operable if has_cjk(e[2]))
        if chinese * 2 < len(operable):
            print("only %d of %d expected names are Chinese" % (chinese, len(operable)), file=sys.stderr)
            return 1

    end = time.monotonic() + args.deadline
    found, lacking = [], operable
    while True:
        try:
            window = main_window()
            if window is not None:
                found = controls(window)
                lacking = missing(expected, found)
                if not lacking:
                    break
        except Exception as e:  # the window may go or change while it is read
            print("reading the bus: %s" % e, file=sys.stderr)
        if time.monotonic() > end:
            break
        time.sleep(0.2)

    if lacking:
        print("%d of %d operable controls missing on the bus:" % (len(lacking), len(operable)), file=sys.stderr)
        for role, name, checked in lacking:
            print("  %s '%s'%s" % (role, name, " [checked]" if checked else ""), file=sys.stderr)
        print("the bus had %d objects in the main window:" % len(found), file=sys.stderr)
        for role, name, checked in found:
            print("  %s '%s'%s" % (role, name, " [checked]" if checked else ""), file=sys.stderr)
        return 1
    chinese = sum(1 for _, name, _ in found if has_cjk(name))
    checked = sum(1 for e in operable if e[3])
    print("%d operable controls found with their names and roles (%d checked, as expected) among %d objects on "
          "the bus (%d Chinese names)" % (len(operable), checked, len(found), chinese))
    return 0


if __name__ == "__main__":
    sys.exit(main())
