#!/usr/bin/env bash
# Runs scripts/install-deps.sh against stand-ins for dpkg-query, apt-get and
# id: a package whose triggers are still pending counts as installed, apt is
# asked for the missing packages alone and waits for dpkg's lock, and an
# update refused for the lists' lock is tried again.
#   check_install_deps.sh SOURCE_DIR
set -euo pipefail
script=$1/scripts/install-deps.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

mkdir "$work/bin"
cat > "$work/bin/dpkg-query" <<'STUB'
#!/usr/bin/env bash
# The status of "$3" from status.txt (name status...), like -W -f='${Status}'.
line=$(grep "^${3} " "$WORK/status.txt") || exit 1
printf '%s' "${line#* }"
STUB
cat > "$work/bin/apt-get" <<'STUB'
#!/usr/bin/env bash
echo "$*" >> "$WORK/apt.log"
if [[ " $* " == *" update "* ]] && [ -s "$WORK/locked" ]; then
  sed -i 1d "$WORK/locked"
  echo "E: Could not get lock /var/lib/apt/lists/lock. It is held by process 1 (apt-get)" >&2
  exit 100
fi
STUB
printf '#!/bin/sh\necho 0\n' > "$work/bin/id"
chmod +x "$work/bin/"*

# status.txt: every package the script asks for, installed unless listed.
run() {  # run NAME:STATUS...
  : > "$work/apt.log"
  grep -o '^  [a-z0-9 .+-]*$' "$script" | tr ' ' '\n' | grep . | sed 's/$/ install ok installed/' > "$work/status.txt"
  for change in "$@"; do
    sed -i "s/^${change%%:*} .*/${change%%:*} ${change#*:}/" "$work/status.txt"
  done
  WORK=$work PATH="$work/bin:$PATH" bash "$script" > "$work/out" 2>&1 || fail "install-deps.sh failed: $(cat "$work/out")"
}

run "cmake:install ok triggers-pending" "lintian:install ok triggers-awaited" "time:hold ok installed"
[ -s "$work/apt.log" ] && fail "apt-get ran for installed packages: $(cat "$work/apt.log")"

printf 'locked\n' > "$work/locked"
run "lintian:deinstall ok config-files" "xvfb:unknown ok not-installed"
[ "$(grep -c ' update ' "$work/apt.log")" -eq 2 ] || fail "an update refused for its lock was not tried again: $(cat "$work/apt.log")"
grep -qx -- "-o DPkg::Lock::Timeout=300 install -y -qq --no-install-recommends xvfb lintian" "$work/apt.log" \
  || fail "apt-get install was not asked for the missing packages alone, waiting for the lock: $(cat "$work/apt.log")"

[ "$failures" -eq 0 ] && echo "install-deps.sh asks apt only for what is missing"
exit "$failures"
