// Accessible interfaces of the drive list and the folder list that say what
// Qt's own do not: the drive list's name (on Linux Qt names a drop-down list
// by its current text) and a folder list without its hidden header row
// (Qt counts a tree's header among its children even while it is hidden).
// Everything else is answered by Qt's own interface of the control.
#pragma once

namespace dorvelix {

// Installs the factory of both interfaces; once per application is enough.
void installListAccessibility();

}  // namespace dorvelix
