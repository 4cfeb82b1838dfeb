#!/usr/bin/env bash
# Stops the FUSE driver of a FAT volume (fusefat) at a random moment of a
# dorvelix-report walk, N times in a row, and tells how each report ended:
# reaped with its status within 15 s of the stop while the driver stays
# stopped, or still running. Needs root (it mounts) and dosfstools, mtools
# and fusefat.
#
#   bash bench/stopped_drive_runs.sh [--runs N] [--report PATH] [-- REPORT OPTIONS...]
#
# The report runs with its real stall limit unless DORVELIX_STALL_LIMIT_MS
# is set in the environment.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=50 report="$root/build/report/dorvelix-report" options=()
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --report) report=$2; shift 2 ;;
    --) shift; options=("$@"); break ;;
    *) echo "usage: $0 [--runs N] [--report PATH] [-- REPORT OPTIONS...]" >&2; exit 2 ;;
  esac
done
work=$(mktemp -d /tmp/dorvelix-stops-XXXXXX)
mnt="$work/mnt"
cleanup() { if mountpoint -q "$mnt"; then [ -n "${driver:-}" ] && kill -CONT "$driver" 2>/dev/null; umount -l "$mnt"; fi; rm -rf "$work"; }
trap cleanup EXIT
mkdir -p "$work/src" "$mnt"
for f in A B C D E F G H; do
  mkdir -p "$work/src/$f"
  for i in $(seq 1 500); do echo x > "$work/src/$f/file$i.txt"; done
done
mkfs.fat -F 16 -C "$work/fat.img" 32768 >/dev/null
mcopy -s -i "$work/fat.img" "$work/src"/* ::/

gaveUp=0 hung=0
declare -A statuses=()
for run in $(seq 1 "$runs"); do
  # A fresh mount each time, so that nothing of the walk is cached.
  fusefat -o ro "$work/fat.img" "$mnt" >/dev/null
  driver=$(pgrep -n -f "fusefat -o ro $work/fat.img") || { echo "no driver" >&2; exit 1; }
  "$report" "${options[@]}" "$mnt" >"$work/out" 2>"$work/err" &
  pid=$!
  delay=$(awk -v r="$RANDOM" 'BEGIN { printf "%.2f", r / 32767 * 1.5 }')
  sleep "$delay"
  kill -STOP "$driver"
  stopped=$(date +%s%N)
  while kill -0 "$pid" 2>/dev/null && [ $(( ($(date +%s%N) - stopped) / 1000000 )) -lt 15000 ]; do sleep 0.05; done
  if kill -0 "$pid" 2>/dev/null; then
    hung=$((hung + 1)); status=hung
    kill -CONT "$driver"; wait "$pid" || true
  else
    wait "$pid" && status=0 || status=$?
    gaveUp=$((gaveUp + 1))
    kill -CONT "$driver"
  fi
  took=$(( ($(date +%s%N) - stopped) / 1000000 ))
  statuses[$status]=$(( ${statuses[$status]:-0} + 1 ))
  printf 'run %2d: stopped after %s s, %s after %d ms\n' "$run" "$delay" "$status" "$took"
  umount "$mnt" 2>/dev/null || umount -l "$mnt"
  driver=
done
echo "runs $runs: reaped within 15 s of the stop $gaveUp, still running $hung"
for s in "${!statuses[@]}"; do echo "  status $s: ${statuses[$s]}"; done
