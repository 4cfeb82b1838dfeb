#include "breakdown_window.h"

#include "file_dialogs.h"
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
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

namespace dorvelix {

namespace {

// The figures' columns (name, seven figures) that are copied and saved, and
// the share column after them, which is shown only.
constexpr int ColumnCount = 8;
constexpr int ShareColumn = 8;
constexpr int ShownColumns = 9;
constexpr int ConvertBytesColumn = 6;
// The value a column sorts and is copied by; the display text is formatted.
constexpr int ValueRole = Qt::UserRole + 1;
// The row's folder name as bytes, for opening it.
constexpr int NameBytesRole = Qt::UserRole + 2;
// Copied and saved: the figures' columns, as values.
constexpr row_table::Fields CopiedFields{ColumnCount, ValueRole};

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

// The share column: a bar as long as the row's part of the converted total,
// its per cent at the right.
class ShareBar : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem o(option);
        initStyleOption(&o, index);
        const QString text = o.text;
        o.text.clear();
        const QWidget* view = option.widget;
        QStyle* style = view ? view->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &o, painter, view);
        const QFontMetrics metrics(o.font);
        const QRect inside = o.rect.adjusted(3, 3, -3, -3);
        const int textWidth = metrics.horizontalAdvance(QStringLiteral("100.0 %")) + 6;
        const double share = std::clamp(index.data(ValueRole).toDouble(), 0.0, 1.0);
        const int barRoom = std::max(0, inside.width() - textWidth);
        painter->fillRect(QRect(inside.left(), inside.top(), static_cast<int>(barRoom * share + 0.5), inside.height()),
                          colors::Teal);
        const bool selected = o.state & QStyle::State_Selected;
        painter->setPen(o.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(inside, Qt::AlignRight | Qt::AlignVCenter, text);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(std::max(size.width(), option.fontMetrics.horizontalAdvance(QStringLiteral("100.0 %")) * 3));
        return size;
    }
};

}  // namespace

BreakdownWindow::BreakdownWindow(QWidget* mainWindow) : QDialog(mainWindow)
{
    setObjectName(QStringLiteral("breakdown"));
    setWindowTitle(uiText(tool_text::BreakdownTitle));
    setModal(false);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
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
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("rows"));
    table_->setAccessibleName(uiText(tool_text::BreakdownTitle));
    table_->setModel(model_);
    table_->setItemDelegateForColumn(ShareColumn, new ShareBar(table_));
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
    layout->addWidget(table_, 1);
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
    totalsTable_ = new QTableView(this);
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
    layout->addWidget(totalsTable_);
    followColumnWidths();

    save_ = new QPushButton(uiText(tool_text::SaveCsv), this);
    save_->setObjectName(QStringLiteral("saveCsv"));
    save_->setAccessibleName(tool_text::withoutMnemonic(tool_text::SaveCsv));
    save_->setAutoDefault(false);
    layout->addWidget(save_, 0, Qt::AlignRight);
    connect(save_, &QPushButton::clicked, this, &BreakdownWindow::chooseCsvFile);

    row_table::setUp(table_, CopiedFields);
    auto* up = new QAction(this);
    up->setShortcut(Qt::Key_Backspace);
    up->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(up, &QAction::triggered, this, [this] {
        const std::string parent = parentFolder();
        if (!parent.empty() && openFolder)
            openFolder(parent);
    });
    addAction(up);
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
    QHeaderView* header = table_->horizontalHeader();
    int columns = 0;
    for (int c = 0; c < header->count(); ++c)
        columns += std::max(static_cast<const QAbstractItemView*>(table_)->sizeHintForColumn(c), header->sectionSizeHint(c));
    const QMargins margins = layout()->contentsMargins();
    const int needed = columns + 2 * table_->frameWidth() + table_->verticalScrollBar()->sizeHint().width()
        + margins.left() + margins.right();
    const QScreen* room = screen();
    const int widest = room ? room->availableGeometry().width() * 9 / 10 : needed;
    if (width() < needed)
        resize(std::min(needed, widest), height());
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
    const std::string folder = rowFolder(row);
    if (!folder.empty() && openFolder)
        openFolder(folder);
}

QString BreakdownWindow::totalText(int column) const
{
    return totals_->item(0, column)->text();
}

void BreakdownWindow::showResult(const SearchResult& s, const std::string& folder)
{
    searched_ = folder;
    model_->removeRows(0, model_->rowCount());
    for (int c = 1; c < ShownColumns; ++c)
        totals_->item(0, c)->setText({});
    length_->setText(uiText(tool_text::BreakdownLength).arg(formatNumber(s.convertLength, NumberPattern::Plain)));
    if (s.stopped) {
        folder_->setText(uiText(tool_text::SearchedFolder) + displayText(folder) + u'\n'
                         + uiText(tool_text::BreakdownStopped));
        return;
    }
    folder_->setText(uiText(tool_text::SearchedFolder) + displayText(folder));
    const long long convertedTotal = s.subtree ? s.convertBytes(s.subtree->convertClusters) : 0;
    // Inserted in walk order; the stable sort keeps it among equal rows.
    table_->setSortingEnabled(false);
    for (const SubfolderRow& r : s.subfolders) {
        QList<QStandardItem*> items;
        const QString name = rowName(r);
        items << cell(name, name);
        items.front()->setData(QByteArray::fromStdString(r.name), NameBytesRole);
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
    if (s.subtree) {
        const auto t = s.rowFigures(*s.subtree);
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
    return searched_.ends_with('/') ? searched_ + name : searched_ + '/' + name;
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

QString BreakdownWindow::selectedRowsText() const
{
    return row_table::copiedRows(*table_, CopiedFields);
}

QString BreakdownWindow::csvText() const
{
    return row_table::csvOf(*model_, CopiedFields);
}

bool BreakdownWindow::saveCsv(const QString& fileName) const
{
    return row_table::saveText(fileName, csvText());
}

void BreakdownWindow::chooseCsvFile()
{
    const QString fileName = runSaveDialog(this, tool_text::withoutMnemonic(tool_text::SaveCsv),
                                           uiText(tool_text::CsvFilter), {searched_});
    if (!fileName.isEmpty() && !saveCsv(fileName) && showMessage)
        showMessage(uiText(tool_text::SaveFailed) + CrLf + fileName);
}

}  // namespace dorvelix
