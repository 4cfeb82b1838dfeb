#include "breakdown_window.h"

#include "number_format.h"
#include "text.h"
#include "tool_texts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace dorvelix {

namespace {

constexpr int ColumnCount = 8;
constexpr int ConvertBytesColumn = 6;
// The value a column sorts and is copied by; the display text is formatted.
constexpr int ValueRole = Qt::UserRole + 1;
// The row's folder name as bytes, for opening it.
constexpr int NameBytesRole = Qt::UserRole + 2;

QStandardItem* cell(const QString& shown, const QVariant& value)
{
    auto* item = new QStandardItem(shown);
    item->setData(value, ValueRole);
    item->setEditable(false);
    return item;
}

QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

class CopyKeyFilter : public QObject {
public:
    CopyKeyFilter(std::function<void()> copy, QObject* parent) : QObject(parent), copy_(std::move(copy)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
        if (key && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
            if (event->type() == QEvent::KeyPress)
                copy_();
            event->accept();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> copy_;
};

}  // namespace

void onCopyKey(QAbstractItemView* view, std::function<void()> copy)
{
    view->installEventFilter(new CopyKeyFilter(std::move(copy), view));
}

BreakdownWindow::BreakdownWindow(QWidget* mainWindow) : QDialog(mainWindow)
{
    setObjectName(QStringLiteral("breakdown"));
    setWindowTitle(QString::fromUtf8(tool_text::BreakdownTitle));
    setModal(false);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    folder_ = new QLabel(QString::fromUtf8(tool_text::NoSearchYet), this);
    folder_->setObjectName(QStringLiteral("folder"));
    folder_->setAccessibleName(QString::fromUtf8(tool_text::SearchedFolder));
    folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(folder_);

    model_ = new QStandardItemModel(0, ColumnCount, this);
    model_->setSortRole(ValueRole);
    for (int c = 0; c < ColumnCount; ++c)
        model_->setHeaderData(c, Qt::Horizontal, QString::fromUtf8(tool_text::BreakdownColumns[c]));
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("rows"));
    table_->setAccessibleName(QString::fromUtf8(tool_text::BreakdownTitle));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setSortingEnabled(true);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->sortByColumn(ConvertBytesColumn, Qt::DescendingOrder);
    layout->addWidget(table_, 1);
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        const std::string folder = rowFolder(index.row());
        if (!folder.empty() && openFolder)
            openFolder(folder);
    });

    // The totals under their columns' captions: the subtree and converted rows.
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QString::fromUtf8(tool_text::Totals), this), 1, 0);
    for (int c = 1; c < ColumnCount - 1; ++c) {
        const QString caption = QString::fromUtf8(tool_text::BreakdownColumns[c]);
        grid->addWidget(new QLabel(caption, this), 0, c, Qt::AlignRight);
        auto* value = new QLabel(this);
        value->setObjectName(QStringLiteral("total%1").arg(c));
        value->setAccessibleName(QString::fromUtf8(tool_text::Totals) + u' ' + caption);
        value->setAlignment(Qt::AlignRight);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(value, 1, c);
        totals_[c] = value;
    }
    layout->addLayout(grid);

    save_ = new QPushButton(QString::fromUtf8(tool_text::SaveCsv), this);
    save_->setObjectName(QStringLiteral("saveCsv"));
    save_->setAccessibleName(QString::fromUtf8(tool_text::SaveCsv).remove(QStringLiteral("(&S)")));
    save_->setAutoDefault(false);
    layout->addWidget(save_, 0, Qt::AlignRight);
    connect(save_, &QPushButton::clicked, this, &BreakdownWindow::chooseCsvFile);

    onCopyKey(table_, [this] { copySelection(); });
    auto* up = new QAction(this);
    up->setShortcut(Qt::Key_Backspace);
    up->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(up, &QAction::triggered, this, [this] {
        const std::string parent = parentFolder();
        if (!parent.empty() && openFolder)
            openFolder(parent);
    });
    addAction(up);
    resize(720, 360);
}

void BreakdownWindow::showResult(const SearchResult& s, const std::string& folder)
{
    searched_ = folder;
    model_->removeRows(0, model_->rowCount());
    for (QLabel* total : totals_) {
        if (total)
            total->clear();
    }
    if (s.stopped) {
        folder_->setText(QString::fromUtf8(tool_text::SearchedFolder) + displayText(folder) + u'\n'
                         + QString::fromUtf8(tool_text::BreakdownStopped));
        return;
    }
    folder_->setText(QString::fromUtf8(tool_text::SearchedFolder) + displayText(folder));
    // Inserted in walk order; the stable sort keeps it among equal rows.
    table_->setSortingEnabled(false);
    for (const SubfolderRow& r : s.subfolders) {
        QList<QStandardItem*> items;
        const QString name = rowName(r);
        items << cell(name, name);
        items.front()->setData(QByteArray::fromStdString(r.name), NameBytesRole);
        for (const long long n : s.rowFigures(r.row))
            items << cell(formatNumber(n, NumberPattern::Plain), n);
        for (int c = 1; c < ColumnCount; ++c)
            items[c]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        model_->appendRow(items);
    }
    table_->setSortingEnabled(true);
    if (s.subtree) {
        const auto t = s.rowFigures(*s.subtree);
        for (int c = 1; c < ColumnCount - 1; ++c)
            totals_[c]->setText(formatNumber(t[static_cast<size_t>(c - 1)], NumberPattern::Plain));
    }
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

QString BreakdownWindow::rowsText(const QList<int>& rows, QChar separator, bool quote) const
{
    const auto line = [&](const std::function<QString(int)>& field) {
        QStringList fields;
        for (int c = 0; c < ColumnCount; ++c)
            fields << (quote ? csvField(field(c)) : field(c));
        return fields.join(separator) + u'\n';
    };
    QString text = line([&](int c) { return model_->headerData(c, Qt::Horizontal).toString(); });
    for (const int row : rows)
        text += line([&](int c) { return model_->item(row, c)->data(ValueRole).toString(); });
    return text;
}

QString BreakdownWindow::selectedRowsText() const
{
    QList<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows.isEmpty() ? QString() : rowsText(rows, u'\t', false);
}

QString BreakdownWindow::csvText() const
{
    QList<int> rows;
    for (int row = 0; row < model_->rowCount(); ++row)
        rows << row;
    return rowsText(rows, u',', true);
}

void BreakdownWindow::copySelection() const
{
    const QString text = selectedRowsText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

bool BreakdownWindow::saveCsv(const QString& fileName) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(csvText().toUtf8());
    return file.commit();
}

void BreakdownWindow::chooseCsvFile()
{
    const QString fileName = QFileDialog::getSaveFileName(this, QString::fromUtf8(tool_text::SaveCsv).remove(QStringLiteral("(&S)...")),
                                                          {}, QString::fromUtf8(tool_text::CsvFilter));
    if (!fileName.isEmpty() && !saveCsv(fileName) && showMessage)
        showMessage(QString::fromUtf8(tool_text::SaveFailed) + CrLf + fileName);
}

}  // namespace dorvelix
