#!/usr/bin/env bash
# Builds the program and runs it: the window on a desktop, and without a
# display the headless report of the folder this was started in.
set -euo pipefail
here=$(pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
cd "$here"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$root/build/window/dorvelix" ]; then
  exec "$root/build/window/dorvelix"
fi
exec "$root/build/report/dorvelix-report" "$@"
