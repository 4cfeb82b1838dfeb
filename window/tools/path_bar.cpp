#include "path_bar.h"

#include "text.h"
#include "tool_texts.h"
#include "ui_text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace dorvelix {

PathBar::PathBar(QWidget* parent) : QWidget(parent), layout_(new QHBoxLayout(this))
{
    setObjectName(QStringLiteral("pathBar"));
    setAccessibleName(uiText(tool_text::PathBar));
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    layout_->addStretch(1);
}

void PathBar::clearPlace()
{
    while (layout_->count() > 1) {
        QLayoutItem* item = layout_->takeAt(0);
        delete item->widget();
        delete item;
    }
    parts_.clear();
}

void PathBar::showPlace(const CountedTree& tree, CountedTree::Index folder)
{
    clearPlace();
    std::vector<CountedTree::Index> chain;
    for (CountedTree::Index at = folder; ; at = tree.parent(at)) {
        chain.push_back(at);
        if (at == 0)
            break;
    }
    int position = 0;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const CountedTree::Index at = *it;
        if (at != 0) {
            auto* separator = new QLabel(QStringLiteral(" / "), this);
            separator->setAccessibleName(QString());
            layout_->insertWidget(position++, separator);
        }
        auto* part = new QToolButton(this);
        part->setObjectName(QStringLiteral("pathPart"));
        part->setAutoRaise(true);
        part->setText(displayText(tree.name(at)));
        const QString path = displayText(tree.path(at));
        part->setAccessibleName(path);
        part->setToolTip(path);
        // The folder shown is the last part: marked, and going there changes nothing.
        part->setCheckable(true);
        part->setChecked(at == folder);
        connect(part, &QToolButton::clicked, this, [this, at] { emit folderChosen(at); });
        layout_->insertWidget(position++, part);
        parts_ << part;
    }
}

}  // namespace dorvelix
