#!/usr/bin/env bash
# The English translation is complete: lupdate, run on a copy of
# translations/dorvelix_en.ts as scripts/update-translations.sh runs it,
# finds every text marked in the sources already there and none gone, and
# every text has a finished English translation.
#   check_translations.sh SOURCE_DIR LUPDATE
set -euo pipefail
source_dir=$1
committed=$source_dir/translations/dorvelix_en.ts
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cp "$committed" "$work/dorvelix_en.ts"
LUPDATE=$2 bash "$source_dir/scripts/update-translations.sh" "$work/dorvelix_en.ts"
diff -u "$committed" "$work/dorvelix_en.ts" >&2 \
  || fail "the texts in the sources differ from translations/dorvelix_en.ts (above): run scripts/update-translations.sh and translate"

# A message whose translation is unfinished, empty, or kept for a text that is gone.
awk '/<source>/ { source = $0 }
     /<translation/ && (/type="/ || /<translation><\/translation>/ || /<translation\/>/) { print source }' \
  "$work/dorvelix_en.ts" > "$work/untranslated"
[ -s "$work/untranslated" ] && fail "texts without an English translation:
$(sed 's/^ *//' "$work/untranslated")"

[ "$failures" -eq 0 ] && echo "every text of the window has its English translation"
exit "$failures"
