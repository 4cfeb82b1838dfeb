#include "column_fit.h"

#include "window_placement.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QHeaderView>
#include <QLayout>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <algorithm>

namespace dorvelix {

namespace {

// Moves the key columns of its table next to the first while the table is
// narrower than its columns, and back when it is not: on every resize of
// the table and every change of its rows.
class KeyColumns : public QObject {
public:
    KeyColumns(QTableView* table, std::vector<int> keys) : QObject(table), table_(table), keys_(std::move(keys))
    {
        table->installEventFilter(this);
        check_.setSingleShot(true);
        check_.setInterval(0);
        connect(&check_, &QTimer::timeout, this, &KeyColumns::arrange);
        if (QAbstractItemModel* model = table->model()) {
            connect(model, &QAbstractItemModel::modelReset, &check_, qOverload<>(&QTimer::start));
            connect(model, &QAbstractItemModel::rowsInserted, &check_, qOverload<>(&QTimer::start));
            connect(model, &QAbstractItemModel::dataChanged, &check_, qOverload<>(&QTimer::start));
        }
        arrange();
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            arrange();
        return false;
    }

private:
    void arrange()
    {
        QHeaderView* header = table_->horizontalHeader();
        const bool narrow = columnsWidth(*table_) > table_->width();
        if (narrow) {
            for (size_t k = 0; k < keys_.size(); ++k) {
                const int to = static_cast<int>(k) + 1;
                if (keys_[k] < header->count() && header->visualIndex(keys_[k]) != to)
                    header->moveSection(header->visualIndex(keys_[k]), to);
            }
        } else {
            for (int column = 0; column < header->count(); ++column) {
                if (header->visualIndex(column) != column)
                    header->moveSection(header->visualIndex(column), column);
            }
        }
    }

    QTableView* table_;
    std::vector<int> keys_;
    QTimer check_;
};

}  // namespace

int columnsWidth(const QTableView& table, int widestColumn)
{
    const QHeaderView* header = table.horizontalHeader();
    int width = 0;
    for (int column = 0; column < header->count(); ++column) {
        if (header->isSectionHidden(column))
            continue;
        int values = static_cast<const QAbstractItemView&>(table).sizeHintForColumn(column);
        if (widestColumn > 0)
            values = std::min(values, widestColumn);
        width += std::max(values, header->sectionSizeHint(column));
    }
    const QScrollBar* scroll = table.verticalScrollBar();
    return width + 2 * table.frameWidth() + (scroll ? scroll->sizeHint().width() : 0);
}

void widenToColumns(QWidget* window, QTableView* table, int widestColumn)
{
    const QWidget* main = mainWindowOf(window);
    const QRect wasAt = window->frameGeometry();
    const QSize frame = (wasAt.size() - window->size()).expandedTo(QSize(0, 0));
    const int widest = placementRoom(main ? main : window).width() - frame.width();
    const int needed = columnsWidth(*table, widestColumn);
    // The window's layout may give the table only part of what the window
    // gains (a splitter, a chart beside it): widened again until it fits.
    for (int step = 0; step < 6; ++step) {
        if (QLayout* layout = window->layout())
            layout->activate();
        const int missing = needed - table->width();
        if (missing <= 0 || window->width() >= widest)
            break;
        window->resize(std::min(window->width() + missing, widest), window->height());
    }
    if (window->frameGeometry() != wasAt)
        placeAgainIfInTheWay(window, wasAt);
}

void keepInView(QTableView* table, std::vector<int> keyColumns)
{
    new KeyColumns(table, std::move(keyColumns));
}

}  // namespace dorvelix
