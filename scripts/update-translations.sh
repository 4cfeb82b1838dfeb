#!/usr/bin/env bash
# Brings translations/dorvelix_en.ts up to date with the window's texts:
# Qt's lupdate (Debian's qt6-l10n-tools) adds every text marked in form/ and
# window/ that the file lacks, as unfinished, and drops the texts no longer
# there. Translate the new ones (Qt Linguist, or by hand: fill in
# <translation> and remove type="unfinished"); the test
# translations_complete fails while any text is left untranslated.
#   update-translations.sh [TS_FILE]   (default: translations/dorvelix_en.ts)
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
"$lupdate" -silent -locations none -no-obsolete -source-language ja -target-language en \
  form window -ts "${1:-translations/dorvelix_en.ts}"
