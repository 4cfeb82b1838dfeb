#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR under /usr and checks the tree:
# exactly the expected files, the programs run from it, the desktop entry and
# the AppStream metadata validate, the icons have their sizes, both man pages
# render without a warning, the documents are Debian's and the bash
# completions complete.
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
  libexec/dorvelix/dorvelix-reader
  share/applications/$id.desktop
  share/bash-completion/completions/dorvelix
  share/bash-completion/completions/dorvelix-report
  share/doc/dorvelix/README.md.gz
  share/doc/dorvelix/changelog.gz
  share/doc/dorvelix/copyright
  share/dorvelix/translations/dorvelix_en.qm
  share/icons/hicolor/scalable/apps/$id.svg
  share/lintian/overrides/dorvelix
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
out=$(desktop-file-validate "$desktop" 2>&1)
[ -z "$out" ] || fail "desktop-file-validate: $out"
grep -qx "Categories=System;Filesystem;" "$desktop" || fail "the entry is not under System alone"
grep -qx "Exec=dorvelix" "$desktop" || fail "Exec is not dorvelix"
grep -qx "Icon=$id" "$desktop" || fail "Icon is not $id"
grep -q "^Comment\[ja\]=" "$desktop" || fail "no Japanese comment"
appstreamcli validate --no-net --pedantic --no-color "share/metainfo/$id.metainfo.xml" >/dev/null \
  || fail "appstreamcli validate: $(appstreamcli validate --no-net --pedantic --no-color "share/metainfo/$id.metainfo.xml")"

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
  # grep -c reads its input to the end: grep -q would stop at the first match
  # and, under pipefail, fail the check on the writer's broken pipe.
  zcat "$file" | grep -c "\"Dorvelix $version\"" >/dev/null || fail "$page(1) does not carry the version"
  LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$file" 2>&1 | grep -c "^EXIT STATUS" >/dev/null || fail "$page(1) has no exit status section"
done

# The documents: a machine-readable copyright with its year and the licence's
# whole text, a changelog whose latest entry is this version on the
# metainfo's release date, and the README.
doc=share/doc/dorvelix
head -n 1 "$doc/copyright" | grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
  || fail "the copyright is not machine-readable"
grep -Eqx "Copyright: [0-9]{4}(-[0-9]{4})? The Dorvelix developers" "$doc/copyright" || fail "the copyright has no year"
[ "$(grep -c '^ ' "$doc/copyright")" -ge 15 ] && grep -q "^ THE SOFTWARE IS PROVIDED" "$doc/copyright" \
  || fail "the copyright lacks the licence's text"
for file in "$doc"/*.gz; do
  gzip -t "$file" || fail "$file is not whole"
done
released=$(grep -o '<release version="[^"]*" date="[^"]*"' "share/metainfo/$id.metainfo.xml" | sed 's/.*date="//; s/"$//')
zcat "$doc/changelog.gz" > "$dest/changelog"
[ "$(dpkg-parsechangelog -l "$dest/changelog" -S Version)" = "$version" ] || fail "the changelog's latest entry is not $version"
[ "$(date -u -d "$(dpkg-parsechangelog -l "$dest/changelog" -S Date)" +%F)" = "$released" ] \
  || fail "the changelog's date is not the release date $released"
zcat "$doc/README.md.gz" | grep -c "bash scripts/package.sh" >/dev/null || fail "the README does not say how the package is built"

# The completions, as bash-completion loads them: by the program's name.
completions=share/bash-completion/completions
completed() {  # completed FILE FUNCTION WORD...: the candidates for the last word
  (cd "$dest/tree" && source "$dest/usr/$1" && COMP_WORDS=("${@:3}") && COMP_CWORD=$(($# - 3)) \
    && "$2" && printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd ' ')
}
expect_completion() {  # expect_completion "WANTED" FILE FUNCTION WORD...
  local got
  got=$(completed "${@:2}") || true
  [ "$got" = "$1" ] || fail "completing '${*:4}' gave '$got', not '$1'"
}
mkdir -p "$dest/tree/photos/2024" "$dest/tree/-old" && touch "$dest/tree/photo.jpg"
expect_completion "--compare --complete --convert" $completions/dorvelix-report _dorvelix_report dorvelix-report --co
expect_completion "2048 256" $completions/dorvelix-report _dorvelix_report dorvelix-report --json --convert 2
expect_completion "1024 128 16384" $completions/dorvelix-report _dorvelix_report dorvelix-report --convert = 1
expect_completion "photos" $completions/dorvelix-report _dorvelix_report dorvelix-report --target ph
expect_completion "-old" $completions/dorvelix-report _dorvelix_report dorvelix-report -- -
expect_completion "--version" $completions/dorvelix _dorvelix dorvelix --v
for program in dorvelix dorvelix-report; do
  (source "$completions/$program" && complete -p "$program" >/dev/null) || fail "$program has no completion"
done

[ "$failures" -eq 0 ] && echo "the installed tree is complete"
exit "$failures"
