// The treemap beside the breakdown's table: the subtree of the folder shown
// as tiles, one per subfolder with everything below it and one (".") for
// what the folder holds itself, each as large as what it occupies at the
// conversion length, so that the tiles together are the folder's occupied
// bytes; each is coloured by its share of slack (occupied bytes beyond the
// files' own), so that what would grow most on the chosen card stands out.
// A large tile shows its own subfolders one level inside it. A legend under
// the tiles gives the colours' scale.
//
// Hovering a tile names it with its figures; the widget takes the keyboard
// focus, the arrow keys move between the top-level tiles (Home and End: the
// largest and the smallest), the focused one is marked and told to a screen
// reader as the widget's value; Enter on a folder's tile, or a click on it
// or on a tile inside it, asks to go into that folder. The table beside it
// stays the accessible view of the figures; the picture is named and
// described.
#pragma once

#include "counted_tree.h"

#include <QRectF>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

namespace dorvelix {

class TreemapView : public QWidget {
    Q_OBJECT
public:
    struct Tile {
        // The subfolder the tile stands for, or with ownFiles the folder
        // whose own files and tables it is (its "." row).
        CountedTree::Index folder = 0;
        bool ownFiles = false;
        // The top-level tile it lies in, -1 for a top-level tile.
        int outer = -1;
        long long occupiedBytes = 0;  // at the conversion length
        long long fileBytes = 0;      // the files' own bytes
        QRectF area;                  // in the widget, in pixels
        // The share of the occupied bytes that is slack, 0 to 1.
        double slackShare() const;
    };

    explicit TreemapView(QWidget* parent = nullptr);

    // Shows the subtree of folder (a folder of tree) with the bytes at
    // convertLength; a null tree shows nothing.
    void showFolder(const std::shared_ptr<const CountedTree>& tree, CountedTree::Index folder, long long convertLength);
    void clear();

    CountedTree::Index folder() const { return folder_; }
    // The top-level tiles, largest first, and those one level inside them.
    const std::vector<Tile>& tiles() const { return tiles_; }
    const std::vector<Tile>& innerTiles() const { return inner_; }
    // The rectangle the top-level tiles fill, above the legend.
    QRectF mapArea() const;
    // The top-level tile with the keyboard focus, -1 when none.
    int focusedTile() const { return focused_; }
    void focusTile(int tile);
    // The deepest tile at a point (an inner one before the tile it lies
    // in), null where there is none.
    const Tile* tileAt(const QPointF& point) const;
    // A tile's name and figures, as the tooltip and a screen reader say them.
    QString tileText(const Tile& tile) const;
    // The focused tile's text, empty when none.
    QString focusedText() const;

signals:
    // Enter or a click asked to go into this folder.
    void folderActivated(CountedTree::Index folder);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The tiles of folder's subtree (its subfolders and its own files)
    // that occupy anything, without their places.
    std::vector<Tile> tilesOf(CountedTree::Index folder, int outer) const;
    void layOut();
    // Where the tiles inside a top-level tile go, empty when it is too small.
    QRectF innerArea(const Tile& tile) const;
    QString tileName(const Tile& tile) const;
    int legendHeight() const;
    void paintTile(QPainter& painter, const Tile& tile) const;
    void paintLegend(QPainter& painter) const;
    // Tells a screen reader the focused tile, as the widget's value.
    void announceFocused();
    // The top-level tile next to the focused one in a direction.
    int neighbour(int dx, int dy) const;
    // The folder a click or Enter on a tile goes into: none for the shown
    // folder's own files.
    std::optional<CountedTree::Index> target(const Tile& tile) const;

    std::shared_ptr<const CountedTree> tree_;
    CountedTree::Index folder_ = 0;
    long long convertLength_ = 0;
    std::vector<Tile> tiles_;
    std::vector<Tile> inner_;
    int focused_ = -1;
    std::optional<CountedTree::Index> pressed_;
};

}  // namespace dorvelix
