// Qt's own texts in the window's language: the standard buttons, the file
// dialogs, the context menus of text fields. They come from Qt's translations
// (Debian's qt6-translations-l10n); where those are missing, Qt's English
// texts stay.
#pragma once

namespace dorvelix {

// Installs Qt's Japanese texts in the running application, once; later
// calls do nothing. Returns whether the translation was found.
bool installQtTranslations();

}  // namespace dorvelix
