#!/usr/bin/env bash
# Times the folder search (dorvelix-report) and the report's --complete walk
# (which, like du, counts every level and entry) against `du -sx` side by side
# in one run: alternating runs, medians, their ratios; then the report's peak
# memory and, where valgrind is at hand, the instructions it runs per entry.
# Before timing a folder it checks that the report's JSON equals the one of a
# walk that reads each folder when it enters it (DORVELIX_NO_READ_AHEAD=1).
# It prints what the tree of counted folders (kept for --depth, --compare
# and the window's browsing) costs per folder, beside its names.
# On the generated tree it then measures the window's search as well
# (bench/window_vs_report.sh: longest gap between paints, time against the
# report).
#
#   bash bench/search_vs_du.sh [--runs N] [--cold] [--trees DIR] [--no-instructions] [FOLDER...]
#
# Without FOLDER: /usr, a generated tree of about 1,000,000 entries and a
# generated folder of 100,000 files. The trees are made once in DIR (default
# /tmp/dorvelix-bench-trees) and kept for later runs; remove DIR to drop them.
# --cold drops the page cache before every run (needs root).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=7 cold=0 trees=/tmp/dorvelix-bench-trees instructions=1 folders=()
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --cold) cold=1; shift ;;
    --trees) trees=$2; shift 2 ;;
    --no-instructions) instructions=0; shift ;;
    -*) echo "usage: $0 [--runs N] [--cold] [--trees DIR] [--no-instructions] [FOLDER...]" >&2; exit 2 ;;
    *) folders+=("$1"); shift ;;
  esac
done

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" >/dev/null
report="$root/build/report/dorvelix-report"
generator="$root/build/bench/dorvelix-bench-tree"
if [ "$cold" = 1 ] && [ "$(id -u)" -ne 0 ]; then
  echo "--cold needs root (it writes /proc/sys/vm/drop_caches)" >&2; exit 2
fi
if [ "$instructions" = 1 ] && ! command -v valgrind >/dev/null; then
  if [ "$(id -u)" -eq 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends valgrind >/dev/null
  else
    echo "valgrind is missing: no instruction counts" >&2; instructions=0
  fi
fi

if [ "${#folders[@]}" -eq 0 ]; then
  mkdir -p "$trees"
  for kind in tree wide; do
    if [ ! -e "$trees/$kind.done" ]; then
      rm -rf "${trees:?}/$kind"
      echo "generating $trees/$kind ..."
      s=$(date +%s); "$generator" "$kind" "$trees/$kind"; echo "  in $(( $(date +%s) - s )) s"
      touch "$trees/$kind.done"
    fi
  done
  folders=(/usr "$trees/tree" "$trees/wide")
fi

work=$(mktemp -d /tmp/dorvelix-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/empty"

us() { local s e; s=$(date +%s%N); "$@" >/dev/null 2>&1 || true; e=$(date +%s%N); echo $(( (e - s) / 1000 )); }
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
dropCaches() { if [ "$cold" = 1 ]; then sync; echo 3 > /proc/sys/vm/drop_caches; fi; }
peakKiB() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
# The drive panel changes as the disk fills; the rest must not.
searchJson() { "$@" --json --folders 2>/dev/null | sed 's/^{"drive": {[^}]*}, //' || true; }
# User-space instructions of one run, counted by callgrind.
userInstructions() {
  { valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null || true; } \
    | sed -n 's/.*Collected : *\([0-9]*\).*/\1/p' | tail -1
}

goalFor() {
  case $1 in
    /usr) [ "$cold" = 1 ] && echo 0.8 || echo 0.6 ;;
    */wide) echo 1.0 ;;
    *) echo 0.6 ;;
  esac
}

if [ "$instructions" = 1 ]; then
  baseReport=$(userInstructions "$report" "$work/empty")
  baseDu=$(userInstructions du -sx "$work/empty")
fi

for folder in "${folders[@]}"; do
  entries=$(find "$folder" -xdev 2>/dev/null | wc -l)
  echo "== $folder: $entries entries, $([ "$cold" = 1 ] && echo cold || echo warm) cache, $runs runs each"
  fast=$(searchJson "$report" "$folder")
  reference=$(DORVELIX_NO_READ_AHEAD=1 searchJson "$report" "$folder")
  if [ -n "$fast" ] && [ "$fast" = "$reference" ]; then
    echo "result: equal to the reference walk's"
  else
    echo "result: DIFFERS from the reference walk's"; diff <(echo "$reference") <(echo "$fast") | head -5 || true
  fi

  "$report" "$folder" >/dev/null 2>&1 || true; du -sx "$folder" >/dev/null 2>&1 || true
  : > "$work/t_report"; : > "$work/t_complete"; : > "$work/t_du"
  for i in $(seq 1 "$runs"); do
    # Alternate who goes first, so that none always finds another's cache.
    if [ $(( i % 2 )) -eq 1 ]; then
      dropCaches; us "$report" "$folder" >> "$work/t_report"
      dropCaches; us "$report" --complete "$folder" >> "$work/t_complete"
      dropCaches; us du -sx "$folder" >> "$work/t_du"
    else
      dropCaches; us du -sx "$folder" >> "$work/t_du"
      dropCaches; us "$report" --complete "$folder" >> "$work/t_complete"
      dropCaches; us "$report" "$folder" >> "$work/t_report"
    fi
  done
  r=$(median < "$work/t_report"); c=$(median < "$work/t_complete"); d=$(median < "$work/t_du")
  echo "median: dorvelix-report ${r} us, dorvelix-report --complete ${c} us, du -sx ${d} us"
  awk -v r="$r" -v c="$c" -v d="$d" -v g="$(goalFor "$folder")" \
    'BEGIN { printf "ratio (report / du): %.2f  (goal: <= %s); ratio (report --complete / du): %.2f\n", r / d, g, c / d }'
  echo "peak memory: dorvelix-report $(peakKiB "$report" "$folder") KiB (goal: <= 16384)," \
    "--complete $(peakKiB "$report" --complete "$folder") KiB (goal: <= 16384), du -sx $(peakKiB du -sx "$folder") KiB"
  echo "kept tree: $("$root/build/bench/dorvelix-bench-tree-memory" "$folder" | sed 's/^[^:]*: //')"
  if [ "$instructions" = 1 ]; then
    ir=$(userInstructions "$report" "$folder"); id=$(userInstructions du -sx "$folder")
    awk -v r="$ir" -v br="$baseReport" -v d="$id" -v bd="$baseDu" -v n="$entries" \
      'BEGIN { printf "user instructions per entry: dorvelix-report %.0f, du -sx %.0f\n", (r - br) / n, (d - bd) / n }'
  fi
done

for folder in "${folders[@]}"; do
  if [ "$folder" = "$trees/tree" ]; then
    bash "$root/bench/window_vs_report.sh" --runs "$runs" "$folder"
  fi
done
