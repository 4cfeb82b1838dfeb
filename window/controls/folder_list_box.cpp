#include "folder_list_box.h"

#include "drives.h"
#include "modifier_mask.h"
#include "runtime_error.h"
#include "text.h"
#include "twips.h"
#include "paths.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QTreeWidgetItemIterator>
#include <algorithm>
#include <vector>

namespace dorvelix {

namespace {

constexpr int PathRole = Qt::UserRole;

// The folders from the drive's root down to path: the root with a trailing
// "/", the others without.
std::vector<std::string> ancestorsOf(const std::string& path)
{
    const std::string found = driveOf(path);
    const std::string mount = !found.empty() && path.starts_with(found) ? found : std::string("/");
    const std::string root = withTrailingSlash(mount);
    std::vector<std::string> chain{root};
    std::string current = mount == "/" ? std::string() : mount;
    size_t at = mount.size();
    while (at < path.size()) {
        while (at < path.size() && path[at] == '/')
            ++at;
        const size_t end = std::min(path.find('/', at), path.size());
        if (end > at) {
            current += '/';
            current.append(path, at, end - at);
            chain.push_back(current);
        }
        at = end;
    }
    return chain;
}

QString nameOf(const std::string& path, bool root)
{
    if (root)
        return displayText(path);
    return displayText(std::string_view(path).substr(path.rfind('/') + 1));
}

QTreeWidgetItem* makeItem(const std::string& path, bool root, const QIcon& icon)
{
    auto* item = new QTreeWidgetItem;
    item->setText(0, nameOf(path, root));
    item->setIcon(0, icon);
    item->setToolTip(0, displayText(path));
    item->setData(0, PathRole, QByteArray::fromStdString(path));
    return item;
}

}  // namespace

FolderListBox::FolderListBox(const FolderList& list, QWidget* parent) : QTreeWidget(parent), list_(list)
{
    setObjectName(QStringLiteral("folderListBox"));
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    fitToFont();
}

std::string FolderListBox::pathOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, PathRole).toByteArray().toStdString() : std::string();
}

void FolderListBox::refresh()
{
    if (list_.scan() == shown_ && (shown_ || topLevelItemCount() == 0))
        return;
    shown_ = list_.scan();
    clear();
    openItem_ = nullptr;
    if (!shown_)
        return;
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const std::vector<std::string> chain = ancestorsOf(list_.path());
    QTreeWidgetItem* parent = nullptr;
    for (size_t i = 0; i < chain.size(); ++i) {
        QTreeWidgetItem* item = makeItem(chain[i], i == 0, openIcon);
        if (parent)
            parent->addChild(item);
        else
            addTopLevelItem(item);
        parent = item;
    }
    openItem_ = parent;
    QList<QTreeWidgetItem*> children;
    for (int i = 0; i < list_.listCount(); ++i)
        children.push_back(makeItem(list_.list(i), false, closedIcon));
    openItem_->addChildren(children);
    expandAll();
    setCurrentItem(openItem_);
    showOpenFolder();
}

void FolderListBox::showOpenFolder()
{
    // The ancestors stay in sight as far as the list's height allows.
    if (!openItem_)
        return;
    scrollToTop();
    scrollToItem(openItem_, QAbstractItemView::EnsureVisible);
}

void FolderListBox::resizeEvent(QResizeEvent* event)
{
    QTreeWidget::resizeEvent(event);
    showOpenFolder();
}

void FolderListBox::open(QTreeWidgetItem* item)
{
    if (item)
        openPath(pathOf(item));
}

void FolderListBox::openPath(const std::string& path)
{
    emit openRequested(path);
}

void FolderListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // QTreeView's own version only repaints both entries besides its
    // announcement, which would name the entry after the current one.
    QAbstractItemView::currentChanged(current, previous);
    if (previous.isValid())
        viewport()->update(visualRect(previous));
    if (current.isValid())
        viewport()->update(visualRect(current));
    if (hasFocus())
        announce(QAccessible::Focus, current);
}

void FolderListBox::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
    announce(QAccessible::SelectionAdd, selected.indexes().value(0));
    announce(QAccessible::SelectionRemove, deselected.indexes().value(0));
}

void FolderListBox::announce(QAccessible::Event type, const QModelIndex& index)
{
    if (!QAccessible::isActive() || !index.isValid())
        return;
    const QTreeWidgetItem* item = itemFromIndex(index);
    int place = 0;
    for (QTreeWidgetItemIterator it(this); *it && *it != item; ++it)
        ++place;
    QAccessibleEvent event(this, type);
    event.setChild(place);
    QAccessible::updateAccessibility(&event);
}

void FolderListBox::keyPressEvent(QKeyEvent* event)
{
    emit keyDown(event->key(), keyModifierMask(*event));
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        open(currentItem());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void FolderListBox::keyReleaseEvent(QKeyEvent* event)
{
    emit keyUp(event->key(), keyModifierMask(*event));
    QTreeWidget::keyReleaseEvent(event);
}

void FolderListBox::mousePressEvent(QMouseEvent* event)
{
    const double dpi = logicalDpiOf(this);
    const QPoint at = event->position().toPoint();
    emit mouseDown(mouseButtonNumber(event->button()), modifierMask(event->modifiers()), pixelsToTwips(at.x(), dpi),
                   pixelsToTwips(at.y(), dpi));
    QTreeWidget::mousePressEvent(event);
}

void FolderListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (QTreeWidgetItem* item = itemAt(event->position().toPoint()))
        open(item);
}

void FolderListBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        fitToFont();
    QTreeWidget::changeEvent(event);
}

void FolderListBox::fitToFont()
{
    const QFontMetrics fm(font());
    setIndentation(std::max(6, fm.averageCharWidth() + 2));
    const int side = std::clamp(fm.height() - 2, 10, 16);
    setIconSize(QSize(side, side));
}

}  // namespace dorvelix
