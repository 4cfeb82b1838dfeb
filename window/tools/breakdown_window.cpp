#include "breakdown_window.h"

#include "file_dialogs.h"
#include "breakdown_columns.h"
#include "share_bar.h"
#include "path_bar.h"
#include "treemap_view.h"
#include "column_fit.h"
#include "window_placement.h"
#include "row_table.h"
#include "number_format.h"
#include "text.h"
#include "tool_texts.h"
#include "controls.h"
#include "ui_text.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <QPainter>
#include <QScrollBar>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <algorithm>

namespace dorvelix {

using namespace breakdown;

namespace {

QString columnCaption(int column)
{
    return uiText(column == ShareColumn ? tool_text::ShareColumn : tool_text::BreakdownColumns[column]);
}

QStandardItem* cell(const QString& shown, const QVariant& value)
{
    auto* item = new QStandardItem(shown);
    item->setData(value, ValueRole);
    item->setEditable(false);
    return item;
}


}  // namespace

BreakdownWindow::BreakdownWindow(QWidget* mainWindow) : QDialog(mainWindow)
{
    setObjectName(QStringLiteral("breakdown"));
    setWindowTitle(uiText(tool_text::BreakdownTitle));
    setModal(false);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    auto* browse = new QHBoxLayout;
    const auto browseButton = [this, browse](const char* text, const char* name, auto slot) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(uiText(text).section(u' ', 0, 0));
        b->setToolTip(uiText(text));
        b->setAccessibleName(uiText(text).section(u' ', 0, 0));
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, slot);
        browse->addWidget(b);
        return b;
    };
    back_ = browseButton(tool_text::BrowseBack, "back", &BreakdownWindow::goBack);
    forward_ = browseButton(tool_text::BrowseForward, "forward", &BreakdownWindow::goForward);
    up_ = browseButton(tool_text::BrowseUp, "up", &BreakdownWindow::goUp);
    pathBar_ = new PathBar(this);
    connect(pathBar_, &PathBar::folderChosen, this, [this](CountedTree::Index at) { showFolder(at); });
    browse->addWidget(pathBar_, 1);
    layout->addLayout(browse);
    folder_ = new QLabel(uiText(tool_text::NoSearchYet), this);
    folder_->setObjectName(QStringLiteral("folder"));
    folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(folder_);
    length_ = new QLabel(this);
    length_->setObjectName(QStringLiteral("convertLength"));
    length_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(length_);

    model_ = new QStandardItemModel(0, ShownColumns, this);
    model_->setSortRole(ValueRole);
    for (int c = 0; c < ShownColumns; ++c)
        model_->setHeaderData(c, Qt::Horizontal, columnCaption(c));
    // The table with its totals, and the treemap of the same folder beside it.
    auto* split = split_ = new QSplitter(Qt::Horizontal, this);
    split->setChildrenCollapsible(false);
    auto* tables = new QWidget(split);
    auto* tablesLayout = new QVBoxLayout(tables);
    tablesLayout->setContentsMargins(0, 0, 0, 0);
    table_ = new QTableView(tables);
    table_->setObjectName(QStringLiteral("rows"));
    table_->setAccessibleName(uiText(tool_text::BreakdownTitle));
    table_->setModel(model_);
    table_->setItemDelegateForColumn(ShareColumn, new ShareBar(ValueRole, table_));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Tab leaves the table; the arrows move inside it.
    table_->setTabKeyNavigation(false);
    table_->setSortingEnabled(true);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->sortByColumn(ConvertBytesColumn, Qt::DescendingOrder);
    table_->installEventFilter(this);
    tablesLayout->addWidget(table_, 1);
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) { openRow(index.row()); });

    // The totals, one row in the table's columns: the subtree and converted
    // rows of the folder panel and the growth between them. Its columns
    // carry the same captions, which a screen reader says with each total.
    totals_ = new QStandardItemModel(1, ShownColumns, this);
    for (int c = 0; c < ShownColumns; ++c) {
        totals_->setHeaderData(c, Qt::Horizontal, columnCaption(c));
        totals_->setItem(0, c, cell({}, {}));
        totals_->item(0, c)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    totals_->item(0, 0)->setText(uiText(tool_text::Totals));
    totals_->item(0, 0)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    totalsTable_ = new QTableView(tables);
    totalsTable_->setObjectName(QStringLiteral("totals"));
    totalsTable_->setAccessibleName(uiText(tool_text::Totals));
    totalsTable_->setModel(totals_);
    totalsTable_->setTabKeyNavigation(false);
    totalsTable_->setSelectionMode(QAbstractItemView::NoSelection);
    totalsTable_->horizontalHeader()->hide();
    totalsTable_->verticalHeader()->hide();
    totalsTable_->verticalHeader()->setDefaultSectionSize(table_->verticalHeader()->defaultSectionSize());
    totalsTable_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    totalsTable_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    totalsTable_->setFixedHeight(totalsTable_->verticalHeader()->defaultSectionSize() + 2 * totalsTable_->frameWidth());
    tablesLayout->addWidget(totalsTable_);
    followColumnWidths();
    keepInView(table_, {ShareColumn});
    treemap_ = new TreemapView(split);
    connect(treemap_, &TreemapView::folderActivated, this, &BreakdownWindow::goInto);
    split->addWidget(tables);
    split->addWidget(treemap_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    searchHere_ = new QPushButton(uiText(tool_text::SearchThisFolder), this);
    searchHere_->setObjectName(QStringLiteral("searchThisFolder"));
    searchHere_->setAccessibleName(tool_text::withoutMnemonic(tool_text::SearchThisFolder));
    searchHere_->setAutoDefault(false);
    buttons->addWidget(searchHere_);
    connect(searchHere_, &QPushButton::clicked, this, [this] {
        if (!searched_.empty() && openFolder)
            openFolder(shownFolder());
    });
    const auto button = [this, buttons](const char* text, const char* name) {
        auto* b = new QPushButton(uiText(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAccessibleName(tool_text::withoutMnemonic(text));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    saveScan_ = button(tool_text::SaveScan, "saveScan");
    connect(saveScan_, &QPushButton::clicked, this, &BreakdownWindow::chooseScanToSave);
    compareScan_ = button(tool_text::CompareScan, "compareScan");
    connect(compareScan_, &QPushButton::clicked, this, &BreakdownWindow::chooseScanToCompare);
    save_ = new QPushButton(uiText(tool_text::SaveCsv), this);
    save_->setObjectName(QStringLiteral("saveCsv"));
    save_->setAccessibleName(tool_text::withoutMnemonic(tool_text::SaveCsv));
    save_->setAutoDefault(false);
    buttons->addWidget(save_);
    layout->addLayout(buttons);
    connect(save_, &QPushButton::clicked, this, &BreakdownWindow::chooseCsvFile);

    row_table::setUp(table_, CopiedFields);
    const auto shortcut = [this](QKeySequence keys, auto slot) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    shortcut(Qt::Key_Backspace, &BreakdownWindow::goUp);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Left), &BreakdownWindow::goBack);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Right), &BreakdownWindow::goForward);
    updateBrowseButtons();
    addSortActions();
    resize(720, 360);
    widenToColumns();
}

void BreakdownWindow::addSortActions()
{
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (int c = 0; c < ShownColumns; ++c) {
        auto* sort = new QAction(uiText(tool_text::SortBy).arg(columnCaption(c)), table_);
        sort->setObjectName(QStringLiteral("sortBy%1").arg(c));
        sort->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + c)));
        sort->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(sort, &QAction::triggered, this, [this, c] { sortBy(c); });
        table_->addAction(sort);
    }
}

void BreakdownWindow::sortBy(int column)
{
    const QHeaderView* header = table_->horizontalHeader();
    // Names from A, figures from the largest; the same column again turns it.
    Qt::SortOrder order = column == 0 ? Qt::AscendingOrder : Qt::DescendingOrder;
    if (header->sortIndicatorSection() == column)
        order = header->sortIndicatorOrder() == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    table_->sortByColumn(column, order);
}

void BreakdownWindow::followColumnWidths()
{
    QHeaderView* rows = table_->horizontalHeader();
    QHeaderView* totals = totalsTable_->horizontalHeader();
    totals->setSectionResizeMode(QHeaderView::Fixed);
    const auto follow = [rows, totals] {
        for (int c = 0; c < rows->count(); ++c)
            totals->resizeSection(c, rows->sectionSize(c));
    };
    connect(rows, &QHeaderView::sectionResized, this, follow);
    connect(rows, &QHeaderView::geometriesChanged, this, follow);
    // The share column moves next to the names when the window is narrow;
    // the totals move with it.
    connect(rows, &QHeaderView::sectionMoved, totals,
            [totals](int, int from, int to) { totals->moveSection(from, to); });
    connect(table_->horizontalScrollBar(), &QScrollBar::valueChanged, totalsTable_->horizontalScrollBar(),
            &QScrollBar::setValue);
    // The totals table has no scroll bar of its own: it keeps the rows'
    // range so that it can follow their scrolling.
    connect(table_->horizontalScrollBar(), &QScrollBar::rangeChanged, totalsTable_->horizontalScrollBar(),
            &QScrollBar::setRange);
    follow();
}

void BreakdownWindow::widenToColumns()
{
    table_->resizeColumnsToContents();
    // Wide enough for the table's columns and the treemap beside them; the
    // table takes what its columns need, the treemap the rest.
    const int columns = columnsWidth(*table_);
    const QRect wasAt = frameGeometry();
    const QMargins margins = layout()->contentsMargins();
    const int wanted = columns + split_->handleWidth() + TreemapWidth + margins.left() + margins.right();
    const int widest = placementRoom(this).width() - std::max(0, wasAt.width() - width());
    if (width() < wanted)
        resize(std::min(wanted, widest), height());
    layout()->activate();
    const int room = split_->width() - split_->handleWidth();
    const int tables = std::min(columns, room - TreemapWidth / 2);
    split_->setSizes({tables, room - tables});
    placeAgainIfInTheWay(this, wasAt);
}

bool BreakdownWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && table_->currentIndex().isValid()) {
            openRow(table_->currentIndex().row());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void BreakdownWindow::openRow(int row)
{
    if (row < 0 || row >= model_->rowCount())
        return;
    const QVariant folder = model_->item(row, 0)->data(TreeIndexRole);
    if (folder.isValid()) {
        goInto(folder.value<CountedTree::Index>());
        return;
    }
    // A row the search kept no folder for: searched in the main window.
    const std::string path = rowFolder(row);
    if (!path.empty() && !result_.tree && openFolder)
        openFolder(path);
}

QString BreakdownWindow::totalText(int column) const
{
    return totals_->item(0, column)->text();
}

void BreakdownWindow::showResult(const SearchResult& s, const std::string& folder)
{
    searched_ = folder;
    result_ = s;
    shown_ = 0;
    backStack_.clear();
    forwardStack_.clear();
    length_->setText(uiText(tool_text::BreakdownLength).arg(formatNumber(s.convertLength, NumberPattern::Plain)));
    if (s.stopped) {
        model_->removeRows(0, model_->rowCount());
        for (int c = 1; c < ShownColumns; ++c)
            totals_->item(0, c)->setText({});
        pathBar_->clearPlace();
        treemap_->clear();
        folder_->setText(uiText(tool_text::SearchedFolder) + displayText(folder) + u'\n'
                         + uiText(tool_text::BreakdownStopped));
        updateBrowseButtons();
        return;
    }
    showFolder(0, false);
}

void BreakdownWindow::showRows(const std::vector<SubfolderRow>& rows, const std::optional<FolderRow>& total,
                               const std::vector<CountedTree::Index>& folders)
{
    const SearchResult& s = result_;
    model_->removeRows(0, model_->rowCount());
    for (int c = 1; c < ShownColumns; ++c)
        totals_->item(0, c)->setText({});
    const long long convertedTotal = total ? s.convertBytes(total->convertClusters) : 0;
    // Inserted in walk order; the stable sort keeps it among equal rows.
    table_->setSortingEnabled(false);
    for (size_t k = 0; k < rows.size(); ++k) {
        const SubfolderRow& r = rows[k];
        QList<QStandardItem*> items;
        const QString name = rowName(r);
        items << cell(name, name);
        items.front()->setData(QByteArray::fromStdString(r.name), NameBytesRole);
        // "." comes first, then the subfolders in the tree's order.
        if (k > 0 && k - 1 < folders.size())
            items.front()->setData(QVariant::fromValue(folders[k - 1]), TreeIndexRole);
        for (const long long n : s.rowFigures(r.row))
            items << cell(formatNumber(n, NumberPattern::Plain), n);
        const double share =
            convertedTotal > 0 ? static_cast<double>(s.convertBytes(r.row.convertClusters)) / convertedTotal : 0.0;
        items << cell(formatPercent(share).trimmed(), share);
        for (int c = 1; c < ShownColumns; ++c)
            items[c]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        model_->appendRow(items);
    }
    table_->setSortingEnabled(true);
    if (total) {
        const auto t = s.rowFigures(*total);
        for (int c = 1; c < ColumnCount; ++c)
            totals_->item(0, c)->setText(formatNumber(t[static_cast<size_t>(c - 1)], NumberPattern::Plain));
    }
    widenToColumns();
}

std::string BreakdownWindow::rowFolder(int row) const
{
    if (row < 0 || row >= model_->rowCount())
        return {};
    const std::string name = model_->item(row, 0)->data(NameBytesRole).toByteArray().toStdString();
    if (name.empty())
        return {};
    const std::string shown = shownFolder();
    return shown.ends_with('/') ? shown + name : shown + '/' + name;
}

std::string BreakdownWindow::parentFolder() const
{
    if (searched_.empty() || searched_.ends_with('/'))
        return {};
    const size_t slash = searched_.find_last_of('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : searched_.substr(0, slash);
}

}  // namespace dorvelix
