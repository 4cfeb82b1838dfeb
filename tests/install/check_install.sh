#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR under /usr and checks the tree:
# exactly the expected files, the programs run from it, the desktop entry and
# the AppStream metadata validate, the icons have their sizes and both man
# pages render without a warning.
#   check_install.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

DESTDIR=$dest cmake --install "$build" --prefix /usr >/dev/null
cd "$dest/usr"

id=io.github.dorvelix.Dorvelix
expected=(
  bin/dorvelix
  bin/dorvelix-report
  share/applications/$id.desktop
  share/doc/dorvelix/copyright
  share/icons/hicolor/scalable/apps/$id.svg
  share/man/man1/dorvelix-report.1.gz
  share/man/man1/dorvelix.1.gz
  share/metainfo/$id.metainfo.xml
)
for size in 16 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
if ! diff <(printf '%s\n' "${expected[@]}" | sort) <(find . -type f -printf '%P\n' | sort); then
  fail "the installed files differ from the expected list (< expected, > installed)"
fi
[ -z "$(find "$dest" -mindepth 1 -maxdepth 1 ! -name usr)" ] || fail "something was installed outside /usr"

# The programs run from where they were installed and tell the one version.
for program in dorvelix dorvelix-report; do
  [ -x "bin/$program" ] || fail "bin/$program is not executable"
  out=$(QT_QPA_PLATFORM=offscreen "bin/$program" --version) || fail "$program --version failed"
  [ "$out" = "$program (Dorvelix) $version" ] || fail "$program --version printed '$out'"
done
grep -q "<release version=\"$version\"" "share/metainfo/$id.metainfo.xml" || fail "the metainfo's release is not $version"

# The menu entry starts the installed program and names the installed icon.
desktop=share/applications/$id.desktop
desktop-file-validate "$desktop" | grep -v ': hint: ' && fail "desktop-file-validate reported a problem"
grep -qx "Exec=dorvelix" "$desktop" || fail "Exec is not dorvelix"
grep -qx "Icon=$id" "$desktop" || fail "Icon is not $id"
grep -q "^Comment\[ja\]=" "$desktop" || fail "no Japanese comment"
appstreamcli validate --no-net --no-color "share/metainfo/$id.metainfo.xml" >/dev/null \
  || fail "appstreamcli validate: $(appstreamcli validate --no-net --no-color "share/metainfo/$id.metainfo.xml")"

# Each PNG has its size (width and height are bytes 16..23 of the header).
for size in 16 24 32 48 64 128 256; do
  png=share/icons/hicolor/${size}x${size}/apps/$id.png
  [ -f "$png" ] || continue
  dims=$(od -An -tu4 --endian=big -j16 -N8 "$png" | tr -s ' ')
  [ "$dims" = " $size $size" ] || fail "$png is not ${size}x${size} ($dims)"
done

# The man pages render without a warning and carry the version.
for page in dorvelix dorvelix-report; do
  file=share/man/man1/$page.1.gz
  warnings=$(zcat "$file" | LC_ALL=C.UTF-8 groff -ww -man -Tutf8 -z 2>&1)
  [ -z "$warnings" ] || fail "$page(1): $warnings"
  zcat "$file" | grep -q "\"Dorvelix $version\"" || fail "$page(1) does not carry the version"
  LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$file" 2>&1 | grep -q "^EXIT STATUS" || fail "$page(1) has no exit status section"
done

[ "$failures" -eq 0 ] && echo "the installed tree is complete"
exit "$failures"
