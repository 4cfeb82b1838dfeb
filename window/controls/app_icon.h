// The program's own icon: the installed theme icon (a disk with its cluster
// units and usage bar), or the same picture painted at run time where no
// icon theme has it (a program started from the build folder).
#pragma once

#include <QIcon>
#include <QString>

namespace dorvelix {

// The desktop entry's id, which is also the installed icon's name.
inline const QString ApplicationId = QStringLiteral("io.github.dorvelix.Dorvelix");

QIcon applicationIcon();

}  // namespace dorvelix
