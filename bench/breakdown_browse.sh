#!/usr/bin/env bash
# Browsing what one search counted: each step of the breakdown into the
# biggest subfolder and back (goal: rows shown in under 50 ms, no folder
# read), against a search of the same folder, which such a step ran
# before; and what the kept folders cost in memory.
#
#   bash bench/breakdown_browse.sh [--runs N] [FOLDER]     (default: /usr)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=3 folder=/usr
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    -*) echo "usage: $0 [--runs N] [FOLDER]" >&2; exit 2 ;;
    *) folder=$1; shift ;;
  esac
done
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" >/dev/null
echo "== browsing the breakdown of $folder, $runs runs"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$root/build/bench/dorvelix-bench-browse" "$folder" "$runs"
