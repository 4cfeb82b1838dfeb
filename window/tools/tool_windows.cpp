#include "tool_windows.h"

#include "breakdown_window.h"
#include "copy_check_dialog.h"
#include "folder_list_box.h"
#include "search_progress_window.h"
#include "tool_texts.h"
#include "ui_text.h"
#include "volume_queries.h"
#include "window_placement.h"

#include <QMainWindow>
#include <QMenuBar>

namespace dorvelix {

ToolWindows::ToolWindows(QMainWindow& window, Session& session, FolderListBox& folderList, WindowServices& services)
    : QObject(&window), window_(window), session_(session), folderList_(folderList), services_(services)
{
    QMenuBar* bar = window.menuBar();
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

    contextMenu_ = new QMenu(&window);
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
    folderList.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&folderList, &QWidget::customContextMenuRequested, this, &ToolWindows::showContextMenu);

    progress_ = new SearchProgressWindow(session.search(), &window);
    session.addObserver(this);
}

ToolWindows::~ToolWindows()
{
    session_.removeObserver(this);
}

void ToolWindows::searchStarted()
{
    progress_->searchStarted();
}

void ToolWindows::searchAdvanced(const SearchProgress& progress)
{
    progress_->searchAdvanced(progress);
}

void ToolWindows::showContextMenu(const QPoint& at)
{
    QTreeWidgetItem* item = folderList_.itemAt(at);
    if (!item)
        item = folderList_.currentItem();
    if (!item)
        return;
    contextFolder_ = FolderListBox::pathOf(item);
    contextMenu_->popup(folderList_.viewport()->mapToGlobal(at));
}

std::string ToolWindows::lastFolder() const
{
    return searched_ ? session_.search().searchedFolder() : session_.openFolders().path();
}

void ToolWindows::openFolder(const std::string& folder)
{
    folderList_.openPath(folder);
}

void ToolWindows::searchFinished()
{
    progress_->searchFinished();
    searched_ = true;
    breakdownEntry_->setEnabled(true);
    if (breakdownWanted_) {
        breakdownWanted_ = false;
        showBreakdown();
    } else if (breakdown_) {
        breakdown_->showResult(session_.search().result(), session_.search().searchedFolder());
    }
}

void ToolWindows::showBreakdown(const std::string& folder)
{
    if (!folder.empty() && (!searched_ || folder != session_.search().searchedFolder()))
        openFolder(folder);
    // The search of that folder runs on: the breakdown opens at its end.
    if (session_.isSearching() && !breakdown_) {
        breakdownWanted_ = true;
        return;
    }
    if (!searched_)
        return;
    const bool opened = !breakdown_;
    if (opened) {
        breakdown_ = new BreakdownWindow(&window_);
        breakdown_->openFolder = [this](const std::string& f) { openFolder(f); };
        breakdown_->showMessage = [this](const QString& text) { services_.messageBox(text); };
    }
    if (!session_.isSearching())
        breakdown_->showResult(session_.search().result(), session_.search().searchedFolder());
    // Placed once it has the width its columns need; shown again where it
    // was left unless the main window's figures have moved under it.
    if (opened)
        placeBeside(breakdown_, &window_);
    breakdown_->show();
    placeAgainIfInTheWay(breakdown_, breakdown_->frameGeometry());
    breakdown_->raise();
    breakdown_->activateWindow();
}

void ToolWindows::showCopyCheck(const std::string& folder)
{
    if (!copyCheck_) {
        copyCheck_ = new CopyCheckDialog(systemVolumes(), &window_);
        placeBeside(copyCheck_, &window_);
    }
    copyCheck_->setFolder(folder.empty() ? lastFolder() : folder);
    copyCheck_->show();
    placeAgainIfInTheWay(copyCheck_, copyCheck_->frameGeometry());
    copyCheck_->raise();
    copyCheck_->activateWindow();
}

void ToolWindows::showLengths(const std::string& folder)
{
    if (!lengths_) {
        lengths_ = new LengthsWindow(&window_);
        placeBeside(lengths_, &window_);
    }
    const DriveFigures& drive = session_.driveQuery().figures();
    lengths_->setFolder(folder.empty() ? lastFolder() : folder, drive.searchClusterLength.value_or(0),
                        session_.form().convertLength);
    lengths_->show();
    placeAgainIfInTheWay(lengths_, lengths_->frameGeometry());
    lengths_->raise();
    lengths_->activateWindow();
}

}  // namespace dorvelix
