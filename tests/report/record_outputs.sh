#!/bin/bash
# Records what dorvelix-report prints (standard output, standard error and
# exit status) over a set of command lines covering every mode, text and
# JSON, so that two builds can be compared byte for byte:
#
#   bash tests/report/record_outputs.sh build/report/dorvelix-report /tmp/before
#   ... change and rebuild ...
#   bash tests/report/record_outputs.sh build/report/dorvelix-report /tmp/after
#   diff -r /tmp/before /tmp/after
#
# Run as root: it mounts, in a private mount namespace of its own (nothing
# outside it sees the mounts, and they end with it), a tmpfs holding the
# folders searched and a FAT32 image as a second drive, so that the drives'
# figures do not move between two runs. The searched trees are a snapshot of
# /usr/share/doc, taken once into WORK (default /tmp/dorvelix-outputs) and
# reused, and a generated tree of files of known lengths and names.
set -euo pipefail

if [[ $# -lt 2 ]]; then
    echo "usage: $0 DORVELIX-REPORT OUTPUT-FOLDER [WORK]" >&2
    exit 2
fi
report=$(realpath "$1")
out=$(realpath -m "$2")
work=$(realpath -m "${3:-/tmp/dorvelix-outputs}")
[[ $(id -u) == 0 ]] || { echo "$0: run as root (it mounts in a namespace of its own)" >&2; exit 2; }

mkdir -p "$work" "$out"
if [[ ! -s "$work/doc.tar" ]]; then
    tar -C /usr/share -cf "$work/doc.tar.part" doc
    mv "$work/doc.tar.part" "$work/doc.tar"
fi

if [[ "${DORVELIX_OUTPUTS_INSIDE:-}" != 1 ]]; then
    exec env DORVELIX_OUTPUTS_INSIDE=1 unshare --mount --propagation private bash "$0" "$report" "$out" "$work"
fi

# Inside the namespace from here on.
mnt=$work/mnt
mkdir -p "$mnt/src" "$mnt/target" "$mnt/fat"
mount -t tmpfs -o size=400m,nr_inodes=200000 dorvelix-src "$mnt/src"
mount -t tmpfs -o size=64m,nr_inodes=5000 dorvelix-target "$mnt/target"
rm -f "$work/fat.img"
truncate -s 96M "$work/fat.img"
mkfs.fat -F 32 -i 12345678 -n DORVELIX "$work/fat.img" >/dev/null

tar -C "$mnt/src" -xf "$work/doc.tar"

# A tree of known lengths: around the cluster lengths, long and non-ASCII
# names (long-name entries), a folder whose table spans several clusters,
# hidden and special files, hard and symbolic links, a chain deeper than the
# window's fifteen levels.
gen=$mnt/src/gen
mkdir -p "$gen/lengths" "$gen/names" "$gen/wide" "$gen/.hidden" "$gen/links"
for n in 0 1 31 32 511 512 513 4095 4096 4097 32767 32768 32769 1000000; do
    head -c "$n" /dev/zero >"$gen/lengths/file_$n"
done
for name in a.txt exactly12chr longer_than_twelve.txt 'ファイル名.txt' 'über.dat' 'MiXeD.Case'; do
    echo "$name" >"$gen/names/$name"
done
for i in $(seq 1 700); do
    printf '%*s' $((i * 7)) x >"$gen/wide/entry_with_a_long_name_$i"
done
echo hidden >"$gen/.hidden/.dot"
mkfifo "$gen/.hidden/fifo"
head -c 10000 /dev/zero >"$gen/links/first"
ln "$gen/links/first" "$gen/links/second"
ln -s first "$gen/links/symbolic"
deep=$gen/deep
for level in $(seq 1 20); do
    deep=$deep/level_$level
    mkdir -p "$deep"
    head -c $((level * 1000)) /dev/zero >"$deep/file"
done
# The same tree on the FAT drive (without what FAT cannot hold), written
# into the image with mtools and served read-only by fusefat.
for part in lengths names wide deep; do
    MTOOLS_SKIP_CHECK=1 mcopy -s -i "$work/fat.img" "$gen/$part" ::/ 2>/dev/null || true
done
(cd "$work" && exec fusefat -f -o ro fat.img "$mnt/fat" >/dev/null 2>&1) &
fuse_driver=$!
trap 'fusermount -u "$mnt/fat" 2>/dev/null; kill "$fuse_driver" 2>/dev/null' EXIT
for _ in $(seq 1 100); do
    mountpoint -q "$mnt/fat" && break
    sleep 0.1
done

run() {
    local name=$1
    shift
    local status=0
    (cd "$mnt" && "$report" "$@") >"$out/$name.out" 2>"$out/$name.err" || status=$?
    echo "$status" >"$out/$name.status"
}

modes=(
    "plain:"
    "folders:--folders"
    "complete:--complete"
    "complete-folders:--complete --folders"
    "convert:--convert 32768"
    "convert-folders:--folders --convert 512"
    "target-tmpfs:--target $mnt/target"
    "target-fat:--target $mnt/fat"
    "lengths:--lengths"
    "lengths-capacity:--lengths --capacity 64G"
    "lengths-small:--lengths --capacity 40M"
    "depth:--depth 3"
    "complete-depth:--complete --depth 20"
)
folders=("doc:$mnt/src/doc" "gen:$gen" "fat:$mnt/fat" "names:$gen/names" "target-root:$mnt/target")
for f in "${folders[@]}"; do
    for m in "${modes[@]}"; do
        # shellcheck disable=SC2086
        run "${f%%:*}.${m%%:*}" ${m#*:} "${f#*:}"
        # shellcheck disable=SC2086
        run "${f%%:*}.${m%%:*}.json" --json ${m#*:} "${f#*:}"
    done
done
# The generated tree against its own saved scan (nothing changed), and
# against the one of the documentation (everything did).
run compare-same --compare "$out/gen.depth.json.out" "$gen"
run compare-same.json --json --compare "$out/gen.depth.json.out" "$gen"
run compare-other --compare "$out/doc.depth.json.out" "$gen"
run compare-other.json --json --complete --compare "$out/doc.depth.json.out" "$gen"
run usage-error --lengths --convert 512 "$gen"
run help --help
ls "$out" | wc -l
