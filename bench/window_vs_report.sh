#!/usr/bin/env bash
# The window's search of a folder under a 16 ms repaint timer: the longest
# gap between two paints of the window during the search (goal: 100 ms at
# most), the window's peak resident memory during the search (goal: under
# 50 MB), and its time against dorvelix-report's on the same folder in the
# same run (alternating runs, medians, ratio; goal: window <= report).
#
#   bash bench/window_vs_report.sh [--runs N] [FOLDER]
#
# Without FOLDER: the generated tree of about 1,000,000 entries in
# /tmp/dorvelix-bench-trees/tree (made there when missing). Runs the window
# on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=5 folder=
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    -*) echo "usage: $0 [--runs N] [FOLDER]" >&2; exit 2 ;;
    *) folder=$1; shift ;;
  esac
done

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" >/dev/null
if [ -z "$folder" ]; then
  folder=/tmp/dorvelix-bench-trees/tree
  if [ ! -e "$folder.done" ]; then
    rm -rf "$folder"; mkdir -p "$(dirname "$folder")"
    echo "generating $folder ..."
    "$root/build/bench/dorvelix-bench-tree" tree "$folder"; touch "$folder.done"
  fi
fi
echo "== window search of $folder, $runs runs"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
  "$root/build/bench/dorvelix-bench-window" "$root/build/report/dorvelix-report" "$folder" "$runs"
