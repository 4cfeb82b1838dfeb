// The version and release month as the generated program_version.h gives
// them, in the forms the window shows, so that no test writes the version.
#pragma once

#include "program_version.h"

#include <QString>

namespace dorvelix {

// The window caption: "DORVELIX  Ver 0.982 2001.3", two spaces after the name.
inline QString expectedWindowCaption()
{
    return QStringLiteral("DORVELIX  Ver %1 %2").arg(QLatin1String(ProgramVersion), QLatin1String(ReleaseMonth));
}

// The version box: the program and version, the month under it, the address.
inline QString expectedVersionBoxText()
{
    return QStringLiteral("\u3000\u3000Dorvelix.exe Ver %1\r\n\r\n         %2\r\n\r\n\u3000\u3000support@dorvelix.example")
        .arg(QLatin1String(ProgramVersion), QLatin1String(ReleaseMonth));
}

}  // namespace dorvelix
