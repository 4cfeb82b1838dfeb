// The program's file dialogs: Qt's own dialog (its widgets, whatever the
// desktop offers) made unable to change the disk. Its model is read-only, so
// nothing can be renamed, deleted, moved or dropped; it has no "new folder"
// button, and its context menu offers only to show hidden files. A save
// dialog returns the name the user chose: only the caller writes that file.
// Qt's dialog remembers its last folder, history and view; it keeps them in
// the program's own settings file, never in the one Qt programs share.
#pragma once

#include <QFileDialog>
#include <QString>

namespace dorvelix {

// The file the file dialogs keep their state in:
// $XDG_CONFIG_HOME/dorvelix/QtProject.conf (~/.config/dorvelix/ by default).
QString dialogSettingsFile();

// A read-only dialog, not yet shown: a folder chooser (FileMode Directory)
// or a save dialog (AcceptSave) with the given name filter.
QFileDialog* makeFolderDialog(QWidget* parent, const QString& title, const QString& startFolder = {});
QFileDialog* makeSaveDialog(QWidget* parent, const QString& title, const QString& nameFilter);

// Runs the dialog modally and returns the chosen path, empty when cancelled.
QString runFolderDialog(QWidget* parent, const QString& title, const QString& startFolder = {});
QString runSaveDialog(QWidget* parent, const QString& title, const QString& nameFilter);

}  // namespace dorvelix
