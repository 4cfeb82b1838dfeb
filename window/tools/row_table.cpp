#include "row_table.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QSaveFile>
#include <QStringList>
#include <QTableView>
#include <algorithm>

namespace dorvelix::row_table {

namespace {

QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

// Takes the copy key from the table, whose own copy would take its current cell.
class CopyRowsKey : public QObject {
public:
    CopyRowsKey(QAbstractItemView* view, Fields fields) : QObject(view), view_(view), fields_(fields) {}

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
        if (key && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
            if (event->type() == QEvent::KeyPress) {
                const QString text = copiedRows(*view_, fields_);
                if (!text.isEmpty())
                    QApplication::clipboard()->setText(text);
            }
            event->accept();
            return true;
        }
        return false;  // every other event goes on to the view
    }

private:
    QAbstractItemView* view_;
    Fields fields_;
};

}  // namespace

void setUp(QTableView* table, Fields fields)
{
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    // Tab and Shift+Tab leave the table; the arrows move inside it.
    table->setTabKeyNavigation(false);
    table->installEventFilter(new CopyRowsKey(table, fields));
}

QString rowsText(const QAbstractItemModel& model, const QList<int>& rows, QChar separator, bool csv, Fields fields)
{
    const int columns = fields.columns < 0 ? model.columnCount() : std::min(fields.columns, model.columnCount());
    const auto line = [&](const auto& field) {
        QStringList texts;
        for (int column = 0; column < columns; ++column)
            texts << (csv ? csvField(field(column)) : field(column));
        return texts.join(separator) + u'\n';
    };
    QString text = line([&](int column) { return model.headerData(column, Qt::Horizontal).toString(); });
    for (const int row : rows)
        text += line([&](int column) { return model.index(row, column).data(fields.role).toString(); });
    return text;
}

QString copiedRows(const QAbstractItemView& view, Fields fields)
{
    QList<int> rows;
    for (const QModelIndex& index : view.selectionModel()->selectedRows())
        rows << index.row();
    if (rows.isEmpty())
        return {};
    std::sort(rows.begin(), rows.end());
    return rowsText(*view.model(), rows, u'\t', false, fields);
}

QString csvOf(const QAbstractItemModel& model, Fields fields)
{
    QList<int> rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows << row;
    return rowsText(model, rows, u',', true, fields);
}

bool saveText(const QString& fileName, const QString& text)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    return file.commit();
}

}  // namespace dorvelix::row_table
