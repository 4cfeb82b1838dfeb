#include "file_dialogs.h"

#include "answer_in_time.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QUrl>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QToolButton>

namespace dorvelix {

namespace {

QString settingsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/dorvelix");
}

// Qt's file dialog saves its state with QSettings(UserScope, "QtProject"),
// which would be the QtProject.conf every Qt program shares. The program
// keeps no other settings, so its user-scope settings all go to a folder of
// its own.
void keepDialogStateApart()
{
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, settingsFolder());
}

// Hides an action of Qt's dialog for good: it is neither shown nor triggered.
void removeAction(QFileDialog& dialog, const char* objectName)
{
    if (auto* action = dialog.findChild<QAction*>(QLatin1String(objectName))) {
        action->setVisible(false);
        action->setEnabled(false);
    }
}

void makeReadOnly(QFileDialog& dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly);
    if (auto* newFolder = dialog.findChild<QToolButton*>(QStringLiteral("newFolderButton")))
        newFolder->hide();
    removeAction(dialog, "qt_rename_action");
    removeAction(dialog, "qt_delete_action");
    removeAction(dialog, "qt_new_folder_action");
    QAction* showHidden = dialog.findChild<QAction*>(QStringLiteral("qt_show_hidden_action"));
    for (const char* name : {"listView", "treeView"}) {
        auto* view = dialog.findChild<QAbstractItemView*>(QLatin1String(name));
        if (!view)
            continue;
        // A drag to another program could move what it carries.
        view->setDragEnabled(false);
        view->setDragDropMode(QAbstractItemView::NoDragDrop);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        // Qt's menu would list rename, delete and new folder, disabled; this
        // one offers only what changes nothing.
        QObject::disconnect(view, &QWidget::customContextMenuRequested, nullptr, nullptr);
        if (!showHidden) {
            view->setContextMenuPolicy(Qt::NoContextMenu);
            continue;
        }
        QObject::connect(view, &QWidget::customContextMenuRequested, &dialog, [view, showHidden](const QPoint& at) {
            auto* menu = new QMenu(view);
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->addAction(showHidden);
            menu->popup(view->viewport()->mapToGlobal(at));
        });
    }
}

// Qt's dialogs share the folder one of them showed last for the life of the
// process, and the next one made goes there before anything else: each
// forgets it as it goes, so that the next one starts where it is told.
class ForgetfulFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    ~ForgetfulFileDialog() override { setDirectory(QString()); }
};

// A shortcut or history entry kept: a folder whose drive answers. The
// computer's own entry ("file:") goes: Qt resolves it as the process's
// working folder, which may be on any drive.
bool urlAnswers(const QUrl& url)
{
    return url.isLocalFile() && folderAnswers(QFile::encodeName(url.toLocalFile()).toStdString());
}

// Qt's dialog goes to the folder it last showed and lists its shortcuts and
// history as it is made, asking their drives on the window's thread. What it
// remembers is brought in line first: it starts in start, and keeps only the
// shortcuts and history whose drives answer.
void rememberOnlyAnswering(const QString& start)
{
    QSettings settings(QSettings::UserScope, QStringLiteral("QtProject"));
    settings.beginGroup(QStringLiteral("FileDialog"));
    settings.setValue(QStringLiteral("lastVisited"), QUrl::fromLocalFile(start));
    // Both are lists of addresses ("file:///home/user"), or of paths.
    for (const QString key : {QStringLiteral("shortcuts"), QStringLiteral("history")}) {
        if (!settings.contains(key))
            continue;
        QStringList kept;
        for (const QString& entry : settings.value(key).toStringList()) {
            const QUrl url = entry.startsWith(u'/') ? QUrl::fromLocalFile(entry) : QUrl(entry);
            if (urlAnswers(url))
                kept << entry;
        }
        settings.setValue(key, kept);
    }
    // Without shortcuts of its own Qt's dialog lists the computer's entry,
    // which it resolves as the process's working folder.
    if (!settings.contains(QStringLiteral("shortcuts")))
        settings.setValue(QStringLiteral("shortcuts"), QStringList{QUrl::fromLocalFile(QDir::homePath()).toString()});
}

QFileDialog* makeDialog(QWidget* parent, const QString& title, const std::vector<std::string>& startFolders)
{
    keepDialogStateApart();
    const QString start = QFile::decodeName(firstAnsweringFolder(startFolders).c_str());
    rememberOnlyAnswering(start);
    auto* dialog = new ForgetfulFileDialog(parent, title, start);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    return dialog;
}

QString runDialog(QFileDialog* dialog)
{
    const bool chosen = dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty();
    const QString path = chosen ? dialog->selectedFiles().constFirst() : QString();
    delete dialog;
    return path;
}

}  // namespace

QString dialogSettingsFile()
{
    return settingsFolder() + QStringLiteral("/QtProject.conf");
}

QFileDialog* makeFolderDialog(QWidget* parent, const QString& title, const std::vector<std::string>& startFolders)
{
    QFileDialog* dialog = makeDialog(parent, title, startFolders);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    makeReadOnly(*dialog);
    return dialog;
}

QFileDialog* makeSaveDialog(QWidget* parent, const QString& title, const QString& nameFilter,
                            const std::vector<std::string>& startFolders)
{
    QFileDialog* dialog = makeDialog(parent, title, startFolders);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(nameFilter);
    makeReadOnly(*dialog);
    return dialog;
}

QFileDialog* makeOpenDialog(QWidget* parent, const QString& title, const QString& nameFilter,
                            const std::vector<std::string>& startFolders)
{
    QFileDialog* dialog = makeDialog(parent, title, startFolders);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilter(nameFilter);
    makeReadOnly(*dialog);
    return dialog;
}

QString runOpenDialog(QWidget* parent, const QString& title, const QString& nameFilter,
                      const std::vector<std::string>& startFolders)
{
    return runDialog(makeOpenDialog(parent, title, nameFilter, startFolders));
}

QString runFolderDialog(QWidget* parent, const QString& title, const std::vector<std::string>& startFolders)
{
    return runDialog(makeFolderDialog(parent, title, startFolders));
}

QString runSaveDialog(QWidget* parent, const QString& title, const QString& nameFilter,
                      const std::vector<std::string>& startFolders)
{
    return runDialog(makeSaveDialog(parent, title, nameFilter, startFolders));
}

}  // namespace dorvelix
