// The breakdown's share column: each row's part of the total drawn as a bar
// with its per cent at the right, the share read from the cell's value role.
#pragma once

#include "controls.h"

#include <QApplication>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

namespace dorvelix {

// The share column: a bar as long as the row's part of the converted total,
// its per cent at the right.
class ShareBar : public QStyledItemDelegate {
public:
    ShareBar(int valueRole, QObject* parent) : QStyledItemDelegate(parent), valueRole_(valueRole) {}

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
        const double share = std::clamp(index.data(valueRole_).toDouble(), 0.0, 1.0);
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

private:
    int valueRole_;
};

}  // namespace dorvelix
