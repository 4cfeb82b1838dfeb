// The window's language and the translations that give it: the window's own
// texts (written in Japanese, translated to English in
// translations/dorvelix_en.ts) and Qt's own texts (the standard buttons, the
// file dialogs, the context menus of text fields), which follow the same
// choice. Qt's Japanese texts come from Debian's qt6-translations-l10n;
// where those are missing, Qt's English texts stay.
#pragma once

#include <QStringList>

namespace dorvelix {

enum class UiLanguage { Japanese, English };

// The window's language for the user's interface languages, most wanted
// first, as QLocale::uiLanguages() reads them from LANGUAGE, LC_ALL,
// LC_MESSAGES and LANG ("ja-JP", "fr", "C"): the first of them the window
// has, Japanese or English, as gettext takes the first language it has a
// translation for; the C/POSIX locale (no language chosen) and an empty list
// give Japanese, the program's own; a list of other languages only gives
// English, the one translation there is.
UiLanguage uiLanguageFor(const QStringList& uiLanguages);

// uiLanguageFor() of the system locale.
UiLanguage systemUiLanguage();

// Installs the translations of language in the running application,
// replacing those of a language installed before (tests switch languages in
// one process): for Japanese Qt's own Japanese texts, for English the
// window's English texts from the program's resources. Widgets take their
// texts when they are made: install before making them. Returns whether the
// translation was found.
bool installTranslations(UiLanguage language);

}  // namespace dorvelix
