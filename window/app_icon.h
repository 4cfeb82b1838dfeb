// The program's own icon: a disk with its usage bar, drawn at run time so
// that no image file has to be shipped.
#pragma once

#include <QIcon>

namespace dorvelix {

QIcon applicationIcon();

}  // namespace dorvelix
