#include "file_dialogs.h"

#include <QFile>

namespace dorvelix {

namespace {

std::string run(FileChooser* dialog)
{
    const bool chosen = dialog->exec() == QDialog::Accepted;
    const std::string path = chosen ? dialog->chosenPath() : std::string();
    delete dialog;
    return path;
}

}  // namespace

FileChooser* makeFolderDialog(QWidget* parent, const QString& title, const std::vector<std::string>& startFolders)
{
    return new FileChooser(parent, FileChooser::Mode::Folder, title, {}, startFolders);
}

FileChooser* makeSaveDialog(QWidget* parent, const QString& title, const QString& nameFilter,
                            const std::vector<std::string>& startFolders)
{
    return new FileChooser(parent, FileChooser::Mode::Save, title, nameFilter, startFolders);
}

FileChooser* makeOpenDialog(QWidget* parent, const QString& title, const QString& nameFilter,
                            const std::vector<std::string>& startFolders)
{
    return new FileChooser(parent, FileChooser::Mode::Open, title, nameFilter, startFolders);
}

std::string runFolderDialog(QWidget* parent, const QString& title, const std::vector<std::string>& startFolders)
{
    return run(makeFolderDialog(parent, title, startFolders));
}

QString runSaveDialog(QWidget* parent, const QString& title, const QString& nameFilter,
                      const std::vector<std::string>& startFolders)
{
    return QFile::decodeName(QByteArray::fromStdString(run(makeSaveDialog(parent, title, nameFilter, startFolders))));
}

QString runOpenDialog(QWidget* parent, const QString& title, const QString& nameFilter,
                      const std::vector<std::string>& startFolders)
{
    return QFile::decodeName(QByteArray::fromStdString(run(makeOpenDialog(parent, title, nameFilter, startFolders))));
}

}  // namespace dorvelix
