#include "scan_comparison_window.h"

#include "row_table.h"
#include "column_fit.h"
#include "tool_texts.h"
#include "ui_text.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace dorvelix {

ScanComparisonWindow::ScanComparisonWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("scanComparison"));
    setWindowTitle(uiText(tool_text::ComparisonTitle));
    setModal(false);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    folders_ = new QLabel(this);
    folders_->setObjectName(QStringLiteral("folders"));
    folders_->setWordWrap(true);
    // What was compared (and that nothing changed, when so) is read like the
    // table, read-only: Tab goes from one to the other, so Tab leaves the table.
    folders_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    folders_->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(folders_);
    const int columns = static_cast<int>(std::size(tool_text::ComparisonColumns));
    table_ = new QTableWidget(0, columns, this);
    table_->setObjectName(QStringLiteral("changes"));
    table_->setAccessibleName(uiText(tool_text::ComparisonTitle));
    QStringList captions;
    for (const char* c : tool_text::ComparisonColumns)
        captions << uiText(c);
    table_->setHorizontalHeaderLabels(captions);
    table_->horizontalHeader()->setStretchLastSection(true);
    row_table::setUp(table_);
    layout->addWidget(table_, 1);
    resize(760, 360);
    // Narrow, the table keeps each folder's growth beside its name in view.
    keepInView(table_, {4});
}

void ScanComparisonWindow::showDifference(const ScanDifference& d, const QString& savedFolder, const QString& folderNow)
{
    folders_->setText(uiText(tool_text::ComparisonFolders).arg(savedFolder, folderNow)
                      + (d.changes.empty() ? u'\n' + uiText(tool_text::ComparisonNoChange) : QString()));
    std::vector<const FolderChange*> rows{&d.whole};
    for (const FolderChange& c : d.changes)
        rows.push_back(&c);
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
        const FolderChange& c = *rows[static_cast<size_t>(r)];
        const QString name = c.path.empty() ? QStringLiteral(".") : QString::fromStdString(c.path);
        const QString cells[] = {name,
                                 uiText(tool_text::ChangeKinds[static_cast<int>(c.kind)]),
                                 tool_text::plainNumber(c.thenBytes),
                                 tool_text::plainNumber(c.nowBytes),
                                 tool_text::plainNumber(c.growthBytes()),
                                 tool_text::plainNumber(c.then.files),
                                 tool_text::plainNumber(c.now.files)};
        for (int column = 0; column < table_->columnCount(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, column, item);
        }
    }
    table_->resizeColumnsToContents();
    widenToColumns(this, table_);
}

}  // namespace dorvelix
