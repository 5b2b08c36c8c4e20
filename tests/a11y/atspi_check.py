#!/usr/bin/python3
"""Checks what a screen reader finds in the running Tevlan's main window
against the list a11y_expected printed for the same data folder: every
operable control must be on the AT-SPI bus with its name and a role that
fits its kind. Polls the bus until the list is complete or the deadline
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
            if len(parts) == 3:
                rows.append((parts[0] == "1", parts[1], parts[2]))
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
            found.append((c.getRoleName(), c.name))
    return found


def missing(expected, found):
    have = collections.Counter(found)
    out = []
    for operable, role, name in expected:
        if not operable:
            continue
        hit = next((r for r in FITTING.get(role, {role}) if have[(r, name)] > 0), None)
        if hit is None:
            out.append((role, name))
        else:
            have[(hit, name)] -= 1
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
        for role, name in lacking:
            print("  %s '%s'" % (role, name), file=sys.stderr)
        print("the bus had %d objects in the main window:" % len(found), file=sys.stderr)
        for role, name in found:
            print("  %s '%s'" % (role, name), file=sys.stderr)
        return 1
    chinese = sum(1 for _, name in found if has_cjk(name))
    print("%d operable controls found with their names and roles among %d objects on the bus (%d Chinese names)"
          % (len(operable), len(found), chinese))
    return 0


if __name__ == "__main__":
    sys.exit(main())
