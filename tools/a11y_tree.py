#!/usr/bin/python3
"""Lists what a screen reader finds in Tevlan's windows over the AT-SPI bus:
one line per accessible object, indented by depth, as "role 'name' = value
[states]". Run inside the desktop session (or a dbus-run-session with the
AT-SPI bus started) while Tevlan runs; exits 1 when no Tevlan application
is on the bus within the wait.

  tools/a11y_tree.py [--wait SECONDS] [--depth N]
"""
import argparse
import sys
import time

import pyatspi


def describe(acc):
    states = acc.getState()
    words = [w for w, s in (("focused", pyatspi.STATE_FOCUSED), ("checked", pyatspi.STATE_CHECKED),
                            ("selected", pyatspi.STATE_SELECTED), ("expanded", pyatspi.STATE_EXPANDED))
             if states.contains(s)]
    if not states.contains(pyatspi.STATE_ENABLED) and states.contains(pyatspi.STATE_FOCUSABLE):
        words.append("disabled")
    line = "%s '%s'" % (acc.getRoleName(), acc.name)
    try:
        value = acc.queryValue().currentValue
        line += " = %g" % value
    except NotImplementedError:
        pass
    if words:
        line += " [" + " ".join(words) + "]"
    return line


def walk(acc, depth, limit, out):
    out.append("  " * depth + describe(acc))
    if depth >= limit:
        return
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, limit, out)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--wait", type=float, default=20)
    p.add_argument("--depth", type=int, default=3)
    args = p.parse_args()
    deadline = time.time() + args.wait
    while True:
        desktop = pyatspi.Registry.getDesktop(0)
        apps = [a for a in desktop if a is not None and a.name.lower().startswith("tevlan")]
        if apps and any(a.childCount for a in apps):
            break
        if time.time() > deadline:
            print("no Tevlan window on the accessibility bus", file=sys.stderr)
            return 1
        time.sleep(0.5)
    out = []
    for app in apps:
        walk(app, 0, args.depth, out)
    print("\n".join(out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
