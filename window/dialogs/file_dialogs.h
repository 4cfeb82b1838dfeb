// The program's file dialogs: Qt's own dialog (its widgets, whatever the
// desktop offers) made unable to change the disk. Its model is read-only, so
// nothing can be renamed, deleted, moved or dropped; it has no "new folder"
// button, and its context menu offers only to show hidden files. A save
// dialog returns the name the user chose: only the caller writes that file.
// Qt's dialog remembers its history, shortcuts and view; it keeps them in
// the program's own settings file, never in the one Qt programs share. It
// starts in a folder whose drive has answered within a bound (the one the
// caller names, else the home folder), never in the process's working
// folder, and remembers only the folders whose drives answer, so that a
// drive that has stopped answering never holds the window.
#pragma once

#include <QFileDialog>
#include <QString>
#include <string>
#include <vector>

namespace dorvelix {

// The file the file dialogs keep their state in:
// $XDG_CONFIG_HOME/dorvelix/QtProject.conf (~/.config/dorvelix/ by default).
QString dialogSettingsFile();

// A read-only dialog, not yet shown: a folder chooser (FileMode Directory)
// or a save dialog (AcceptSave) with the given name filter.
// startFolders are the folders to start in, the first that answers.
QFileDialog* makeFolderDialog(QWidget* parent, const QString& title, const std::vector<std::string>& startFolders = {});
QFileDialog* makeSaveDialog(QWidget* parent, const QString& title, const QString& nameFilter,
                            const std::vector<std::string>& startFolders = {});

// An open dialog for an existing file with the given name filter.
QFileDialog* makeOpenDialog(QWidget* parent, const QString& title, const QString& nameFilter,
                            const std::vector<std::string>& startFolders = {});

// Runs the dialog modally and returns the chosen path, empty when cancelled.
QString runFolderDialog(QWidget* parent, const QString& title, const std::vector<std::string>& startFolders = {});
QString runSaveDialog(QWidget* parent, const QString& title, const QString& nameFilter,
                      const std::vector<std::string>& startFolders = {});
QString runOpenDialog(QWidget* parent, const QString& title, const QString& nameFilter,
                      const std::vector<std::string>& startFolders = {});

}  // namespace dorvelix
