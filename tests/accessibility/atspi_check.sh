#!/usr/bin/env bash
# Runs atspi_check.py against the window in a display and a D-Bus session of
# its own: Xvfb on a free display (1280x1024) and dbus-run-session, whose
# session bus starts the accessibility bus (at-spi-bus-launcher and the
# registry) when the check first asks for it, as a desktop session does;
# all of it ends with the check.
#   atspi_check.sh DORVELIX [LANGUAGE...]     (ja and en by default)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "$1")
shift

for tool in Xvfb xdotool dbus-run-session /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" > /dev/null || { echo "missing: $tool (scripts/install-deps.sh installs it)" >&2; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' 2> /dev/null || { echo "missing: python3-pyatspi (scripts/install-deps.sh installs it)" >&2; exit 1; }

work=$(mktemp -d)
xvfb=
cleanup() {
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2> /dev/null || true
    wait "$xvfb" 2> /dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number once it listens.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3> "$work/display" 2> "$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }

mkdir -m 700 "$work/runtime"
# The window on X, whatever platform the caller's tests use.
env -u QT_QPA_PLATFORM -u SESSION_MANAGER DISPLAY=":$(head -n 1 "$work/display")" XDG_RUNTIME_DIR="$work/runtime" \
  DORVELIX_SOURCE="$(cd "$here/../.." && pwd)" \
  dbus-run-session -- /usr/bin/python3 -B "$here/atspi_check.py" "$program" "$@" 2> >(grep -v -e "Failed to set fd limit" -e "dbus-daemon\[" >&2)
