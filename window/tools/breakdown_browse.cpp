// The breakdown's browsing of the folders the search counted: the folder
// shown, going into one of them, up, back and forward, without walking again.
#include "breakdown_window.h"

#include "path_bar.h"
#include "text.h"
#include "tool_texts.h"
#include "treemap_view.h"
#include "ui_text.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace dorvelix {

std::string BreakdownWindow::shownFolder() const
{
    return result_.tree && shown_ < result_.tree->size() ? result_.tree->path(shown_) : searched_;
}

void BreakdownWindow::goInto(CountedTree::Index folder)
{
    if (result_.tree && folder < result_.tree->size() && folder != shown_)
        showFolder(folder);
}

void BreakdownWindow::goUp()
{
    if (result_.tree && shown_ > 0) {
        showFolder(result_.tree->parent(shown_));
        return;
    }
    // Above what was counted: the parent is searched as a folder of its own.
    const std::string parent = parentFolder();
    if (!parent.empty() && openFolder)
        openFolder(parent);
}

void BreakdownWindow::goBack()
{
    if (backStack_.empty())
        return;
    forwardStack_.push_back(shown_);
    const CountedTree::Index to = backStack_.back();
    backStack_.pop_back();
    showFolder(to, false);
}

void BreakdownWindow::goForward()
{
    if (forwardStack_.empty())
        return;
    backStack_.push_back(shown_);
    const CountedTree::Index to = forwardStack_.back();
    forwardStack_.pop_back();
    showFolder(to, false);
}

void BreakdownWindow::updateBrowseButtons()
{
    back_->setEnabled(!backStack_.empty());
    forward_->setEnabled(!forwardStack_.empty());
    up_->setEnabled(!searched_.empty() && (shown_ > 0 || !parentFolder().empty()));
    searchHere_->setEnabled(!searched_.empty());
    saveScan_->setEnabled(result_.tree != nullptr);
    compareScan_->setEnabled(result_.tree != nullptr);
}

void BreakdownWindow::showFolder(CountedTree::Index folder, bool remember)
{
    const CountedTree* tree = result_.tree.get();
    if (tree && folder >= tree->size())
        return;
    if (remember && folder != shown_) {
        backStack_.push_back(shown_);
        forwardStack_.clear();
    }
    shown_ = folder;
    std::vector<SubfolderRow> rows;
    std::vector<CountedTree::Index> folders;
    std::optional<FolderRow> total;
    const std::vector<CountedTree::Index> children = tree ? tree->children(folder) : std::vector<CountedTree::Index>{};
    if (folder == 0) {
        // The searched folder's rows are the search's own.
        rows = result_.subfolders;
        total = result_.subtree;
        if (tree && children.size() + 1 == rows.size())
            folders = children;
    } else {
        rows.push_back({{}, tree->ownRow(folder)});
        for (const CountedTree::Index c : children)
            rows.push_back({std::string(tree->name(c)), tree->row(c)});
        total = tree->subtreeRow(folder);
        folders = children;
    }
    if (tree) {
        pathBar_->showPlace(*tree, folder);
        treemap_->showFolder(result_.tree, folder, result_.convertLength);
    } else {
        pathBar_->clearPlace();
        treemap_->clear();
    }
    folder_->setText(uiText(tool_text::SearchedFolder) + displayText(shownFolder()));
    showRows(rows, total, folders);
    updateBrowseButtons();
}

}  // namespace dorvelix
