#include "search_log_window.h"

#include "column_fit.h"
#include "controls.h"
#include "ui_text.h"
#include "window_placement.h"
#include "window_texts.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QShortcut>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace dorvelix {

namespace {
constexpr int MaxColumnWidth = 360;  // pixels, at least
}  // namespace

SearchLogWindow::SearchLogWindow(QWidget* parent) : QDialog(parent), table_(new QTableWidget(this))
{
    setObjectName(QStringLiteral("SearchLog"));
    setWindowTitle(uiText(texts::LogTitle));
    setFont(windowFont(Face::Proportional, 9.0, false));
    table_->setObjectName(QStringLiteral("SearchLogTable"));
    table_->setAccessibleName(uiText(texts::LogTitle));
    table_->setColumnCount(3);
    table_->setHorizontalHeaderLabels({uiText(texts::LogKind), uiText(texts::LogPath),
                                       uiText(texts::LogCause)});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    // Tab and Shift+Tab leave the table; the arrows move inside it.
    table_->setTabKeyNavigation(false);
    // One line a row: a long path loses its middle, not its end (wrapped at
    // its slashes, it showed its first folders only).
    table_->setWordWrap(false);
    table_->setTextElideMode(Qt::ElideMiddle);
    table_->horizontalHeader()->setStretchLastSection(true);
    auto* copy = new QShortcut(QKeySequence::Copy, table_);
    connect(copy, &QShortcut::activated, this, [this] { copyRows(true); });

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* copyAll = buttons->addButton(uiText(texts::CopyAllButton), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(uiText(texts::CloseButton), QDialogButtonBox::RejectRole);
    copyAll->setObjectName(QStringLiteral("copyAll"));
    connect(copyAll, &QPushButton::clicked, this, [this] { copyRows(false); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(760, 420);
}

void SearchLogWindow::setLog(const SearchLog& log)
{
    table_->clearContents();
    table_->setRowCount(static_cast<int>(log.entries().size()));
    int row = 0;
    for (const SearchLog::Entry& e : log.entries()) {
        const QString cells[] = {e.message.kind(), e.message.path, e.message.causeText()};
        for (int column = 0; column < 3; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setToolTip(cells[column]);
            table_->setItem(row, column, item);
        }
        ++row;
    }
    table_->resizeColumnsToContents();
    // A long path keeps both ends in view, in up to half the screen's width;
    // the tooltip holds all of it.
    const int widest = std::max(MaxColumnWidth, placementRoom(this).width() / 2);
    for (int column = 0; column < 3; ++column)
        table_->setColumnWidth(column, std::min(table_->columnWidth(column), widest));
    widenToColumns(this, table_, widest);
}

void SearchLogWindow::copyRows(bool selectedOnly)
{
    QStringList lines;
    for (int row = 0; row < table_->rowCount(); ++row) {
        if (selectedOnly && !table_->selectionModel()->isRowSelected(row, {}))
            continue;
        QStringList cells;
        for (int column = 0; column < 3; ++column)
            cells << (table_->item(row, column) ? table_->item(row, column)->text() : QString());
        lines << cells.join(u'\t');
    }
    if (selectedOnly && lines.isEmpty())
        return copyRows(false);
    QApplication::clipboard()->setText(lines.join(u'\n') + u'\n');
}

}  // namespace dorvelix
