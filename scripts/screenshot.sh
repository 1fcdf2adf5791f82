#!/usr/bin/env bash
# Takes docs/screenshot.png: the window under openbox on a virtual display,
# with a line of text typed into it. Usage: scripts/screenshot.sh [bbcolour]
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(realpath "${1:-build/release/desktop/bbcolour}")
exec python3 - "$bin" <<'PY'
import os, subprocess, sys
sys.path.insert(0, "desktop/tests")
from e2e_test import Session, TITLE, wait_for
s = Session(window_manager=True)
try:
    app = s.spawn([sys.argv[1]], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    window = wait_for(lambda: s.windows(TITLE), "the window")[0]
    s.x("xdotool", "windowactivate", "--sync", window, check=True)
    s.x("xdotool", "type", "--delay", "60", "Hello, forum!", check=True)
    s.x("xdotool", "key", "Return", check=True)
    s.x("xdotool", "type", "--delay", "60", "BBCode colours", check=True)
    shot = "docs/screenshot.png"
    x, y = s.window_origin(window)
    left, right, top, bottom = wait_for(lambda: s.frame_extents(window), "the window's frame")
    geometry = f"336x516+{x - left}+{y - top}"
    def coloured():
        s.x("import", "-window", "root", "-crop", geometry, "+repage", shot, check=True)
        sat = s.x("convert", shot, "-crop", f"296x152+{16 + left}+{296 + top}", "-colorspace", "HSL",
                  "-channel", "G", "-separate", "-format", "%[fx:mean]", "info:")
        return float(sat) > 0.01
    wait_for(coloured, "the coloured preview")
    print("wrote", shot)
finally:
    s.close()
PY
