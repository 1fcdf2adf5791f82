#!/usr/bin/env python3
"""Start-up time and memory of the real bbcolour window, measured from outside.

For each of 5 runs, on a fresh X server: time from starting the process to
the window being shown, to the first preview painted (a typed full block
appears in its colour), and the resident memory of all the program's
processes (the window process and its web-engine helpers) once the preview
shows. Usage: bench/desktop_startup.py [path/to/bbcolour]
"""
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "desktop", "tests"))
from e2e_test import Session, TITLE, wait_for  # noqa: E402

BINARY = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(__file__), "..", "build", "release", "desktop", "bbcolour")


def tree(pid):
    """pid and all its descendants."""
    children = subprocess.run(["pgrep", "-P", str(pid)], capture_output=True, text=True).stdout.split()
    return [pid] + [p for c in children for p in tree(int(c))]


def memory_kib(pids):
    rss = pss = 0
    for pid in pids:
        try:
            with open(f"/proc/{pid}/smaps_rollup") as f:
                for line in f:
                    if line.startswith("Rss:"):
                        rss += int(line.split()[1])
                    elif line.startswith("Pss:"):
                        pss += int(line.split()[1])
        except FileNotFoundError:
            pass
    return rss, pss


def one_run():
    s = Session()
    try:
        s.x("xmodmap", "-e", "keycode 252 = U2588", check=True)
        env = dict(s.env)
        start = time.monotonic()
        app = s.spawn([os.path.abspath(BINARY)], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        window = wait_for(lambda: s.windows(TITLE), "the window", timeout=60)[0]
        shown = time.monotonic() - start
        s.x("xdotool", "windowfocus", "--sync", window, check=True)
        x, y = s.window_origin(window)
        shot = os.path.join(s.tmp, "shot.png")
        last_press = [0.0]

        def painted():
            # Qt drops keys that arrive before it has taken the focus, so
            # the block is typed again until one shows; the first counts.
            if time.monotonic() - last_press[0] > 0.2:
                s.x("xdotool", "key", "U2588", check=True)
                last_press[0] = time.monotonic()
            s.x("import", "-window", "root", "-crop", f"296x152+{x + 16}+{y + 296}", shot, check=True)
            saturation = s.x("convert", shot, "-colorspace", "HSL", "-channel", "G", "-separate",
                             "-format", "%[fx:maxima]", "info:")
            return float(saturation or 0) > 0.3

        wait_for(painted, "the first preview", timeout=60)
        preview = time.monotonic() - start
        processes = tree(app.pid)
        return shown, preview, memory_kib(processes), len(processes)
    finally:
        s.close()


runs = [one_run() for _ in range(5)]
print(f"start -> window shown:    median {statistics.median(r[0] for r in runs) * 1000:.0f} ms")
print(f"start -> preview painted: median {statistics.median(r[1] for r in runs) * 1000:.0f} ms "
      "(includes typing one key; screenshot polling adds up to ~50 ms)")
rss = statistics.median(r[2][0] for r in runs)
pss = statistics.median(r[2][1] for r in runs)
print(f"memory of all {runs[0][3]} processes: RSS {rss / 1024:.0f} MiB, PSS {pss / 1024:.0f} MiB (median)")
