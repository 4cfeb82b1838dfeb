#include "treemap_view.h"

#include "number_format.h"
#include "text.h"
#include "tool_texts.h"
#include "treemap_layout.h"
#include "ui_text.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>
#include <algorithm>
#include <tuple>

namespace dorvelix {

namespace {

// A picture for a screen reader, whose value is the focused tile.
class TreemapAccessible : public QAccessibleWidget {
public:
    explicit TreemapAccessible(TreemapView* view) : QAccessibleWidget(view, QAccessible::Graphic) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return static_cast<TreemapView*>(widget())->focusedText();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* treemapAccessible(const QString& className, QObject* object)
{
    auto* view = qobject_cast<TreemapView*>(object);
    if (!view || className != QLatin1String(TreemapView::staticMetaObject.className()))
        return nullptr;
    return new TreemapAccessible(view);
}

constexpr int InnerMargin = 3;

}  // namespace

double TreemapView::Tile::slackShare() const
{
    if (occupiedBytes <= 0)
        return 0;
    return std::clamp(static_cast<double>(occupiedBytes - fileBytes) / static_cast<double>(occupiedBytes), 0.0, 1.0);
}

TreemapView::TreemapView(QWidget* parent) : QWidget(parent)
{
    static const bool factoryInstalled = (QAccessible::installFactory(treemapAccessible), true);
    (void)factoryInstalled;
    setObjectName(QStringLiteral("treemap"));
    setAccessibleName(uiText(tool_text::TreemapName));
    setAccessibleDescription(uiText(tool_text::TreemapDescription));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(160, 120);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TreemapView::showFolder(const std::shared_ptr<const CountedTree>& tree, CountedTree::Index folder,
                             long long convertLength)
{
    tree_ = tree && folder < tree->size() ? tree : nullptr;
    folder_ = tree_ ? folder : 0;
    convertLength_ = convertLength;
    tiles_ = tree_ ? tilesOf(folder_, -1) : std::vector<Tile>{};
    focused_ = tiles_.empty() ? -1 : 0;
    pressed_.reset();
    layOut();
    update();
    announceFocused();
}

void TreemapView::announceFocused()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent changed(this, focusedText());
    QAccessible::updateAccessibility(&changed);
}

void TreemapView::clear()
{
    showFolder(nullptr, 0, 0);
}

std::vector<TreemapView::Tile> TreemapView::tilesOf(CountedTree::Index folder, int outer) const
{
    std::vector<Tile> out;
    const FolderRow& whole = tree_->row(folder);
    long long ownClusters = whole.convertClusters, ownBytes = whole.fileBytes;
    for (CountedTree::Index c : tree_->children(folder)) {
        const FolderRow& r = tree_->row(c);
        ownClusters -= r.convertClusters;
        ownBytes -= r.fileBytes;
        out.push_back({c, false, outer, r.convertClusters * convertLength_, r.fileBytes, {}});
    }
    // What the folder holds itself is what its subfolders leave of its
    // row, its own tables' first clusters among it, so that the tiles add
    // up to the folder's occupied bytes.
    out.push_back({folder, true, outer, ownClusters * convertLength_, ownBytes, {}});
    std::erase_if(out, [](const Tile& t) { return t.occupiedBytes <= 0; });
    std::stable_sort(out.begin(), out.end(), [](const Tile& a, const Tile& b) { return a.occupiedBytes > b.occupiedBytes; });
    return out;
}

int TreemapView::legendHeight() const
{
    return fontMetrics().height() + 8;
}

QRectF TreemapView::mapArea() const
{
    return QRectF(1, 1, std::max(0, width() - 2), std::max(0, height() - legendHeight() - 2));
}

QRectF TreemapView::innerArea(const Tile& tile) const
{
    const int label = fontMetrics().height();
    if (tile.ownFiles || tile.area.width() < 48 || tile.area.height() < 2 * label + 16)
        return {};
    return tile.area.adjusted(InnerMargin, label + 2, -InnerMargin, -InnerMargin);
}

void TreemapView::layOut()
{
    inner_.clear();
    std::vector<double> weights;
    for (const Tile& t : tiles_)
        weights.push_back(static_cast<double>(t.occupiedBytes));
    const std::vector<QRectF> places = squarifiedLayout(weights, mapArea());
    for (size_t i = 0; i < tiles_.size(); ++i)
        tiles_[i].area = places[i];
    // One level inside each large subfolder's tile, where it has subfolders.
    for (size_t i = 0; i < tiles_.size(); ++i) {
        const QRectF inside = innerArea(tiles_[i]);
        if (inside.isEmpty())
            continue;
        std::vector<Tile> inner = tilesOf(tiles_[i].folder, static_cast<int>(i));
        if (inner.size() < 2)
            continue;
        weights.clear();
        for (const Tile& t : inner)
            weights.push_back(static_cast<double>(t.occupiedBytes));
        const std::vector<QRectF> innerPlaces = squarifiedLayout(weights, inside);
        for (size_t k = 0; k < inner.size(); ++k) {
            inner[k].area = innerPlaces[k];
            inner_.push_back(inner[k]);
        }
    }
}

QString TreemapView::tileName(const Tile& tile) const
{
    const QString name = tile.ownFiles ? QStringLiteral(".") : displayText(tree_->name(tile.folder));
    if (tile.outer < 0)
        return name;
    return displayText(tree_->name(tiles_[static_cast<size_t>(tile.outer)].folder)) + u'/' + name;
}

QString TreemapView::tileText(const Tile& tile) const
{
    if (!tree_)
        return {};
    const QString name = tile.ownFiles ? uiText(tool_text::TreemapOwnFiles).arg(tileName(tile)) : tileName(tile);
    return uiText(tool_text::TreemapTile)
        .arg(name, tool_text::plainNumber(tile.occupiedBytes), tool_text::plainNumber(tile.fileBytes),
             formatPercent(tile.slackShare()).trimmed());
}

QString TreemapView::focusedText() const
{
    return focused_ >= 0 ? tileText(tiles_[static_cast<size_t>(focused_)]) : QString();
}

const TreemapView::Tile* TreemapView::tileAt(const QPointF& point) const
{
    for (const std::vector<Tile>* level : {&inner_, &tiles_}) {
        for (const Tile& t : *level) {
            if (t.area.contains(point))
                return &t;
        }
    }
    return nullptr;
}

std::optional<CountedTree::Index> TreemapView::target(const Tile& tile) const
{
    if (tile.ownFiles && tile.outer < 0)
        return std::nullopt;
    return tile.folder;
}

void TreemapView::focusTile(int tile)
{
    if (tiles_.empty())
        return;
    tile = std::clamp(tile, 0, static_cast<int>(tiles_.size()) - 1);
    if (tile == focused_)
        return;
    focused_ = tile;
    update();
    announceFocused();
}

int TreemapView::neighbour(int dx, int dy) const
{
    if (focused_ < 0)
        return tiles_.empty() ? -1 : 0;
    const QRectF from = tiles_[static_cast<size_t>(focused_)].area;
    // Along the move: how far beyond the focused tile's edge a tile starts;
    // across it: how far apart the two are, nothing where they face each other.
    auto gapAlong = [&](const QRectF& to) {
        if (dx > 0) return to.left() - from.right();
        if (dx < 0) return from.left() - to.right();
        if (dy > 0) return to.top() - from.bottom();
        return from.top() - to.bottom();
    };
    auto gapAcross = [&](const QRectF& to) {
        const double lo = dx ? std::max(from.top(), to.top()) : std::max(from.left(), to.left());
        const double hi = dx ? std::min(from.bottom(), to.bottom()) : std::min(from.right(), to.right());
        return std::max(0.0, lo - hi);
    };
    int best = -1;
    std::tuple<double, double, double> bestScore;
    for (size_t i = 0; i < tiles_.size(); ++i) {
        const QRectF& to = tiles_[i].area;
        const double along = gapAlong(to);
        if (static_cast<int>(i) == focused_ || along < -0.5)
            continue;
        const QPointF offset = to.center() - from.center();
        const std::tuple<double, double, double> score{gapAcross(to), along,
                                                       std::abs(dx ? offset.y() : offset.x())};
        if (best < 0 || score < bestScore) {
            best = static_cast<int>(i);
            bestScore = score;
        }
    }
    return best;
}

bool TreemapView::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        if (const Tile* t = tileAt(help->pos()))
            QToolTip::showText(help->globalPos(), tileText(*t), this, pixelTile(t->area));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

void TreemapView::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    layOut();
}

void TreemapView::keyPressEvent(QKeyEvent* e)
{
    int next = -2;
    switch (e->key()) {
    case Qt::Key_Left: next = neighbour(-1, 0); break;
    case Qt::Key_Right: next = neighbour(1, 0); break;
    case Qt::Key_Up: next = neighbour(0, -1); break;
    case Qt::Key_Down: next = neighbour(0, 1); break;
    case Qt::Key_Home: next = 0; break;
    case Qt::Key_End: next = static_cast<int>(tiles_.size()) - 1; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (focused_ >= 0) {
            if (const auto folder = target(tiles_[static_cast<size_t>(focused_)]))
                emit folderActivated(*folder);
        }
        e->accept();
        return;
    default: QWidget::keyPressEvent(e); return;
    }
    if (next >= 0)
        focusTile(next);
    e->accept();
}

void TreemapView::mousePressEvent(QMouseEvent* e)
{
    pressed_.reset();
    if (e->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(e);
    if (const Tile* t = tileAt(e->position())) {
        focusTile(t->outer >= 0 ? t->outer : static_cast<int>(t - tiles_.data()));
        pressed_ = target(*t);
    }
}

void TreemapView::mouseReleaseEvent(QMouseEvent* e)
{
    const std::optional<CountedTree::Index> pressed = std::exchange(pressed_, std::nullopt);
    if (e->button() != Qt::LeftButton || !pressed)
        return QWidget::mouseReleaseEvent(e);
    const Tile* t = tileAt(e->position());
    if (t && target(*t) == pressed)
        emit folderActivated(*pressed);
}

void TreemapView::focusInEvent(QFocusEvent* e)
{
    QWidget::focusInEvent(e);
    if (focused_ < 0)
        focusTile(0);
    else
        announceFocused();
    update();
}

void TreemapView::focusOutEvent(QFocusEvent* e)
{
    QWidget::focusOutEvent(e);
    update();
}

}  // namespace dorvelix
