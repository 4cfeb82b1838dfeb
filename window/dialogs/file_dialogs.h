// The program's file dialogs, made of its own file chooser (file_chooser.h):
// a folder chooser, a save dialog and an open dialog. Each starts in the
// first of the folders the caller names whose drive answers, else in the
// home folder; none keeps any state on disk.
#pragma once

#include "file_chooser.h"

#include <QString>
#include <string>
#include <vector>

namespace dorvelix {

// A dialog, not yet shown. nameFilter as "CSV (*.csv)".
FileChooser* makeFolderDialog(QWidget* parent, const QString& title, const std::vector<std::string>& startFolders = {});
FileChooser* makeSaveDialog(QWidget* parent, const QString& title, const QString& nameFilter,
                            const std::vector<std::string>& startFolders = {});
FileChooser* makeOpenDialog(QWidget* parent, const QString& title, const QString& nameFilter,
                            const std::vector<std::string>& startFolders = {});

// Runs the dialog modally. The folder chooser gives the chosen folder's
// exact bytes; the save and open dialogs give the file's path as Qt's file
// classes take it. Empty when cancelled.
std::string runFolderDialog(QWidget* parent, const QString& title, const std::vector<std::string>& startFolders = {});
QString runSaveDialog(QWidget* parent, const QString& title, const QString& nameFilter,
                      const std::vector<std::string>& startFolders = {});
QString runOpenDialog(QWidget* parent, const QString& title, const QString& nameFilter,
                      const std::vector<std::string>& startFolders = {});

}  // namespace dorvelix
