// The four help texts of the explanations menu and the version box. The texts
// are constants; a help text is assembled line by line in the form's message
// slot before it is shown.
#pragma once

#include "form_state.h"
#include "window_services.h"

#include <QString>

namespace dorvelix {

// Number of help texts (menu entries 0 .. HelpTextCount - 1).
inline constexpr int HelpTextCount = 4;

// The message box title of help text index; "" for an index outside 0..3.
QString helpTitle(int index);

// Assembles help text index into msgText: the banner, an empty line, then the
// lines each ended by CR LF (texts 0 and 1 end with one more). Returns false
// and leaves msgText as it was for an index outside 0..3.
bool assembleHelpText(int index, QString& msgText);

// The version box's text (shown under the application's own title).
QString versionText();

// The menu clicks: show help text index (nothing for an index outside 0..3)
// and the version box.
void showHelpText(FormState& form, WindowServices& window, int index);
void showVersion(WindowServices& window);

}  // namespace dorvelix
