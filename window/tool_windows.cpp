#include "tool_windows.h"

#include "breakdown_window.h"
#include "copy_check_dialog.h"
#include "main_window.h"
#include "search_progress_window.h"
#include "tool_texts.h"
#include "ui_text.h"
#include "volume_queries.h"
#include "window_placement.h"

#include <QMenuBar>

namespace dorvelix {

ToolWindows::ToolWindows(MainWindow& form) : QObject(&form), form_(form)
{
    QMenuBar* bar = form.menuBar();
    menu_ = bar->addMenu(uiText(tool_text::ToolsMenu));
    menu_->setObjectName(QStringLiteral("tools"));
    menu_->setFont(bar->font());
    breakdownEntry_ = menu_->addAction(uiText(tool_text::BreakdownEntry));
    breakdownEntry_->setObjectName(QStringLiteral("breakdownItem"));
    breakdownEntry_->setEnabled(false);  // until a search has run
    copyCheckEntry_ = menu_->addAction(uiText(tool_text::CopyCheckEntry));
    copyCheckEntry_->setObjectName(QStringLiteral("copyCheckItem"));
    connect(breakdownEntry_, &QAction::triggered, this, [this] { showBreakdown(); });
    connect(copyCheckEntry_, &QAction::triggered, this, [this] { showCopyCheck(); });
    lengthsEntry_ = menu_->addAction(uiText(tool_text::LengthsEntry));
    lengthsEntry_->setObjectName(QStringLiteral("lengthsItem"));
    connect(lengthsEntry_, &QAction::triggered, this, [this] { showLengths(); });

    contextMenu_ = new QMenu(&form);
    contextMenu_->setObjectName(QStringLiteral("folderContext"));
    contextMenu_->setFont(bar->font());
    QAction* breakdown = contextMenu_->addAction(uiText(tool_text::BreakdownEntry));
    breakdown->setObjectName(QStringLiteral("contextBreakdown"));
    QAction* copyCheck = contextMenu_->addAction(uiText(tool_text::CopyCheckEntry));
    copyCheck->setObjectName(QStringLiteral("contextCopyCheck"));
    connect(breakdown, &QAction::triggered, this, [this] { showBreakdown(contextFolder_); });
    connect(copyCheck, &QAction::triggered, this, [this] { showCopyCheck(contextFolder_); });
    QAction* lengths = contextMenu_->addAction(uiText(tool_text::LengthsEntry));
    lengths->setObjectName(QStringLiteral("contextLengths"));
    connect(lengths, &QAction::triggered, this, [this] { showLengths(contextFolder_); });
    form.folderListBox()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(form.folderListBox(), &QWidget::customContextMenuRequested, this, &ToolWindows::showContextMenu);

    progress_ = new SearchProgressWindow(form.search(), form.form(), &form);
    FolderSearch& search = form.search();
    search.onStarted = [this] { progress_->searchStarted(); };
    search.onProgress = [this] { progress_->searchAdvanced(); };
    search.onFinished = [this] {
        progress_->searchFinished();
        searchFinished();
    };
}

void ToolWindows::showContextMenu(const QPoint& at)
{
    FolderListBox* openFolders = form_.folderListBox();
    QTreeWidgetItem* item = openFolders->itemAt(at);
    if (!item)
        item = openFolders->currentItem();
    if (!item)
        return;
    contextFolder_ = FolderListBox::pathOf(item);
    contextMenu_->popup(openFolders->viewport()->mapToGlobal(at));
}

std::string ToolWindows::lastFolder() const
{
    return searched_ ? form_.search().searchedFolder() : form_.folderListBox()->list().path();
}

void ToolWindows::openFolder(const std::string& folder)
{
    form_.folderListBox()->openPath(folder);
}

void ToolWindows::searchFinished()
{
    searched_ = true;
    breakdownEntry_->setEnabled(true);
    if (breakdown_)
        breakdown_->showResult(form_.search().result(), form_.search().searchedFolder());
}

void ToolWindows::showBreakdown(const std::string& folder)
{
    if (!folder.empty() && (!searched_ || folder != form_.search().searchedFolder()))
        openFolder(folder);
    if (!searched_)
        return;
    const bool opened = !breakdown_;
    if (opened) {
        breakdown_ = new BreakdownWindow(&form_);
        breakdown_->openFolder = [this](const std::string& f) { openFolder(f); };
        breakdown_->showMessage = [this](const QString& text) { form_.services().messageBox(text); };
    }
    if (!form_.search().isSearching())
        breakdown_->showResult(form_.search().result(), form_.search().searchedFolder());
    // Placed once it has the width its columns need.
    if (opened)
        placeBeside(breakdown_, &form_);
    breakdown_->show();
    breakdown_->raise();
    breakdown_->activateWindow();
}

void ToolWindows::showCopyCheck(const std::string& folder)
{
    if (!copyCheck_) {
        copyCheck_ = new CopyCheckDialog(systemVolumes(), &form_);
        placeBeside(copyCheck_, &form_);
    }
    copyCheck_->setFolder(folder.empty() ? lastFolder() : folder);
    copyCheck_->show();
    copyCheck_->raise();
    copyCheck_->activateWindow();
}

void ToolWindows::showLengths(const std::string& folder)
{
    if (!lengths_) {
        lengths_ = new LengthsWindow(&form_);
        placeBeside(lengths_, &form_);
    }
    const DriveFigures& drive = form_.driveQuery().figures();
    lengths_->setFolder(folder.empty() ? lastFolder() : folder, drive.searchClusterLength.value_or(0),
                        form_.form().convertLength);
    lengths_->show();
    lengths_->raise();
    lengths_->activateWindow();
}

}  // namespace dorvelix
