#!/usr/bin/env bash
# Times the folder search (dorvelix-report) against `du -sx` on the same tree
# of about 150,000 entries, warm cache, several alternating runs, and prints
# the median times and their ratio, for the window's search and for the
# report's --complete walk (which, like du, counts every level and entry).
# Then compares the report's peak memory on trees of half and full size, for
# both walks: it should stay flat as the tree grows.
#
#   bash bench/search_vs_du.sh [RUNS]      (default 7 runs each)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-7}
report="$root/build/tools/dorvelix-report"
[ -x "$report" ] || bash "$root/scripts/build.sh" >/dev/null
command -v /usr/bin/time >/dev/null || { apt-get install -y -qq time >/dev/null; }

work=$(mktemp -d /tmp/dorvelix-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

# A tree of top/mid/leaf folders, each leaf with 99 files of 1 to 20,000 bytes
# (sparse, so the tree costs no disk space).
make_tree() {
  local dest=$1 tops=$2
  for a in $(seq 1 "$tops"); do
    for b in $(seq 1 10); do
      for c in $(seq 1 15); do
        local d="$dest/top$a/mid$b/leaf$c"
        mkdir -p "$d"
        (cd "$d" && touch f{1..99} && truncate -s $(( (a * 7919 + b * 104729 + c * 1299709) % 20000 + 1 )) f{1..49})
      done
    done
  done
}

ms() { date +%s%N; }
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

echo "building trees in $work ..."
make_tree "$work/half" 5
make_tree "$work/full" 10
entries=$(find "$work/full" | wc -l)
echo "tree: $entries entries"

# Warm the cache.
"$report" "$work/full" >/dev/null 2>&1 || true
du -sx "$work/full" >/dev/null

: > "$work/t_report"; : > "$work/t_du"
for _ in $(seq 1 "$runs"); do
  s=$(ms); "$report" "$work/full" >/dev/null 2>&1 || true; e=$(ms); echo $(( (e - s) / 1000 )) >> "$work/t_report"
  s=$(ms); du -sx "$work/full" >/dev/null; e=$(ms); echo $(( (e - s) / 1000 )) >> "$work/t_du"
done
r=$(median < "$work/t_report")
d=$(median < "$work/t_du")
echo "median of $runs runs: dorvelix-report ${r} us, du -sx ${d} us"
awk -v r="$r" -v d="$d" 'BEGIN { printf "ratio (report / du): %.2f  (goal: <= 1.00)\n", r / d }'

: > "$work/t_complete"; : > "$work/t_du"
for _ in $(seq 1 "$runs"); do
  s=$(ms); "$report" --complete "$work/full" >/dev/null 2>&1 || true; e=$(ms); echo $(( (e - s) / 1000 )) >> "$work/t_complete"
  s=$(ms); du -sx "$work/full" >/dev/null; e=$(ms); echo $(( (e - s) / 1000 )) >> "$work/t_du"
done
c=$(median < "$work/t_complete")
d=$(median < "$work/t_du")
echo "median of $runs runs: dorvelix-report --complete ${c} us, du -sx ${d} us"
awk -v r="$c" -v d="$d" 'BEGIN { printf "ratio (report --complete / du): %.2f  (goal: <= 1.00)\n", r / d }'

peak() { /usr/bin/time -f %M "$report" "$@" 2>&1 >/dev/null | tail -1; }
for walk in "" --complete; do
  h=$(peak $walk "$work/half"); f=$(peak $walk "$work/full")
  echo "peak memory${walk:+ ($walk)}: half tree ${h} KiB, full tree ${f} KiB"
  awk -v h="$h" -v f="$f" 'BEGIN { printf "memory growth (full / half): %.2f  (flat: about 1.00)\n", f / h }'
done
