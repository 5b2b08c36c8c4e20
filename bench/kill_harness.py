#!/usr/bin/env python3
"""SIGKILL the save code and the window in the middle of their writes, start
again, and count what a user would lose. Not a test (it takes minutes); rerun
it after any change to the file code:

    bench/kill_harness.py [--build build] [--save-kills 1000] [--sensor-kills 300]

1. The save loop: bench_data_safety save-loop writes all six files over and
   over; it is killed at a random moment, then `check` counts files that do
   not read (torn) and temporary files (stray) before and after a start.
2. A sensor change: tevlan starts on a simulated mouse with another sensor
   than the data folder's, and is killed at a random moment of the change
   (timed from its status answer). A start without a mouse must then find
   the settings and all five profiles agreeing (all old or all new).

Needs the targets tevlan and bench_data_safety built. Prints the counts and
exits 1 when a file was torn or stray after a start or a state was mixed.
"""
import argparse
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time


def run_save_loop(helper, work, kills):
    data = os.path.join(work, "save")
    os.makedirs(os.path.join(data, "config"))
    subprocess.run([helper, "prepare", data], check=True)
    totals = {"torn-before": 0, "stray-before": 0, "torn-after": 0, "stray-after": 0}
    bad_rounds = 0
    for _ in range(kills):
        p = subprocess.Popen([helper, "save-loop", data], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(random.uniform(0.01, 0.12))
        p.send_signal(signal.SIGKILL)
        p.wait()
        out = subprocess.run([helper, "check", data], capture_output=True, text=True)
        words = out.stdout.split()
        for k, v in zip(words[0::2], words[1::2]):
            totals[k] += int(v)
        bad_rounds += out.returncode != 0
    # The counts above are per round; what piled up is what is there now.
    words = subprocess.run([helper, "check", data], capture_output=True, text=True).stdout.split()
    totals["left-at-end"] = int(dict(zip(words[0::2], words[1::2])).get("stray-before", -1))
    return totals, bad_rounds


def sensor_env(work):
    run = os.path.join(work, "run")
    os.makedirs(run, mode=0o700, exist_ok=True)
    env = dict(os.environ)
    env.update({"QT_QPA_PLATFORM": "offscreen", "XDG_RUNTIME_DIR": run, "HOME": work,
                "XDG_CONFIG_HOME": os.path.join(work, "xdg")})
    return env


def start_window(tevlan, data, err_path, env):
    err = open(err_path, "wb")
    p = subprocess.Popen([tevlan, "--device", "sim", "--sim-sensor", "0x60", "--trace", "--data-dir", data],
                         stdout=subprocess.DEVNULL, stderr=err, env=env)
    err.close()
    return p


def wait_for_status_answer(p, err_path, limit=30.0):
    """Seconds since the start when the status answer was traced, or None."""
    start = time.monotonic()
    while time.monotonic() - start < limit:
        with open(err_path, "rb") as f:
            if b"\nR " in b"\n" + f.read():
                return time.monotonic()
        if p.poll() is not None:
            return None
        time.sleep(0.0005)
    return None


def committed(data):
    path = os.path.join(data, "config", "config.ini")
    try:
        with open(path, "rb") as f:
            return "PreST=0xCC9F".encode("utf-16-le") in f.read()
    except OSError:
        return False


def run_sensor_change(tevlan, helper, work, kills):
    env = sensor_env(work)
    err_path = os.path.join(work, "tevlan-stderr")

    def fresh(name):
        # Prepared in place: the settings hold the slot files' full paths.
        data = os.path.join(work, name)
        shutil.rmtree(data, ignore_errors=True)
        os.makedirs(os.path.join(data, "config"))
        subprocess.run([helper, "prepare", data], check=True)
        return data

    # How long a change takes here, from the status answer to the settings
    # file that ends it: the kills are spread over that time.
    spans = []
    for _ in range(3):
        data = fresh("calibrate")
        p = start_window(tevlan, data, err_path, env)
        t0 = wait_for_status_answer(p, err_path)
        while t0 is not None and not committed(data) and time.monotonic() - t0 < 10:
            time.sleep(0.0005)
        if t0 is not None:
            spans.append(time.monotonic() - t0)
        p.send_signal(signal.SIGKILL)
        p.wait()
    if not spans:
        sys.exit("tevlan did not reach its status answer; is it built?")
    span = max(spans)

    before = {}
    after = {}
    for _ in range(kills):
        data = fresh("sensor")
        p = start_window(tevlan, data, err_path, env)
        t0 = wait_for_status_answer(p, err_path)
        if t0 is not None:
            time.sleep(random.uniform(0, span))
        p.send_signal(signal.SIGKILL)
        p.wait()
        out = subprocess.run([helper, "check-sensor", data], capture_output=True, text=True).stdout.split()
        state = dict(zip(out[0::2], out[1::2]))
        before[state.get("before", "?")] = before.get(state.get("before", "?"), 0) + 1
        after[state.get("after", "?")] = after.get(state.get("after", "?"), 0) + 1
    return span, before, after


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default="build")
    ap.add_argument("--save-kills", type=int, default=1000)
    ap.add_argument("--sensor-kills", type=int, default=300)
    ap.add_argument("--seed", type=int, default=None)
    args = ap.parse_args()
    random.seed(args.seed)
    build = os.path.abspath(args.build)
    helper = os.path.join(build, "bench", "bench_data_safety")
    tevlan = os.path.join(build, "tevlan")
    for exe in (helper, tevlan):
        if not os.access(exe, os.X_OK):
            sys.exit("build " + exe + " first")

    work = tempfile.mkdtemp(prefix="tevlan-kill-")
    failed = False
    try:
        if args.save_kills:
            totals, bad = run_save_loop(helper, work, args.save_kills)
            print("save loop: %d SIGKILLs; summed over the rounds: before the restart %d torn, %d temporary "
                  "files; after it %d torn, %d stray (%d rounds with a fault); temporary files in config/ "
                  "at the end: %d"
                  % (args.save_kills, totals["torn-before"], totals["stray-before"], totals["torn-after"],
                     totals["stray-after"], bad, totals["left-at-end"]))
            failed |= bad > 0
        if args.sensor_kills:
            span, before, after = run_sensor_change(tevlan, helper, work, args.sensor_kills)
            print("sensor change: %d SIGKILLs spread over %.1f ms after the status answer; "
                  "states at the kill %s; after a restart without the mouse %s"
                  % (args.sensor_kills, span * 1000, dict(sorted(before.items())), dict(sorted(after.items()))))
            failed |= any(k not in ("old", "new") for k in after)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
