#!/usr/bin/env bash
# Times dorvelix-report --lengths (one walk, every cluster length, FAT32 and
# exFAT) against --complete on the same folders: alternating runs, the
# medians and their ratio (goal: at most 1.1).
#
#   bash bench/lengths_vs_complete.sh [--runs N] [FOLDER...]
#
# Without FOLDER: /usr and the generated trees of bench/search_vs_du.sh
# where they have been made (/tmp/dorvelix-bench-trees).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=9 folders=()
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    -*) echo "usage: $0 [--runs N] [FOLDER...]" >&2; exit 2 ;;
    *) folders+=("$1"); shift ;;
  esac
done
report="$root/build/report/dorvelix-report"
[ -x "$report" ] || bash "$root/scripts/build.sh" >/dev/null
if [ "${#folders[@]}" -eq 0 ]; then
  folders=(/usr)
  for kind in tree wide; do
    [ -e "/tmp/dorvelix-bench-trees/$kind.done" ] && folders+=("/tmp/dorvelix-bench-trees/$kind")
  done
fi

# Microseconds one run takes.
us() {
  local s e
  s=$(date +%s%N); "$@" >/dev/null 2>&1 || true; e=$(date +%s%N)
  echo $(( (e - s) / 1000 ))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for folder in "${folders[@]}"; do
  echo "== $folder"
  "$report" --complete "$folder" >/dev/null 2>&1 || true
  complete=() lengths=()
  for i in $(seq 1 "$runs"); do
    if [ $(( i % 2 )) -eq 1 ]; then
      complete+=("$(us "$report" --complete "$folder")"); lengths+=("$(us "$report" --lengths "$folder")")
    else
      lengths+=("$(us "$report" --lengths "$folder")"); complete+=("$(us "$report" --complete "$folder")")
    fi
  done
  c=$(printf '%s\n' "${complete[@]}" | median); l=$(printf '%s\n' "${lengths[@]}" | median)
  awk -v c="$c" -v l="$l" 'BEGIN { printf "median: --complete %d us, --lengths %d us, ratio %.2f (goal: <= 1.1)\n", c, l, l / c }'
done
