#!/usr/bin/env bash
# Runs a command on a virtual X server of its own, 1280 x 1024, which ends with it.
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" "$@"
