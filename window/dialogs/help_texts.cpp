#include "help_texts.h"

#include "program_version.h"
#include "text.h"
#include "ui_text.h"
#include "help_texts_ja.h"
#include "window_texts.h"

namespace dorvelix {

QString helpTitle(int index)
{
    if (index < 0 || index >= HelpTextCount)
        return {};
    return uiText(texts::helpTexts()[static_cast<size_t>(index)].title);
}

bool assembleHelpText(int index, QString& msgText)
{
    if (index < 0 || index >= HelpTextCount)
        return false;
    const texts::HelpText& t = texts::helpTexts()[static_cast<size_t>(index)];
    msgText.clear();
    msgText += uiText(t.banner) + CrLf + CrLf;
    for (const char* line : t.lines)
        msgText += uiText(line) + CrLf;
    if (t.endsWithEmptyLine)
        msgText += CrLf;
    return true;
}

QString versionText()
{
    return uiText(texts::VersionProgram) + QLatin1String(ProgramVersion) + CrLf + CrLf
        + QStringLiteral("         ") + QLatin1String(ReleaseMonth) + CrLf + CrLf + uiText(texts::VersionContact);
}

void showHelpText(FormState& form, WindowServices& window, int index)
{
    if (!assembleHelpText(index, form.messageText))
        return;
    window.messageBox(form.messageText, helpTitle(index));
}

void showVersion(WindowServices& window)
{
    window.messageBox(versionText());
}

}  // namespace dorvelix
