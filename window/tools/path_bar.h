// The breakdown's path bar: the searched folder and each folder below it
// down to the one shown, each a button that goes back to it. Reached by Tab
// like any row of buttons; each button is named by the folder's whole path
// for a screen reader, and the bar says where the breakdown stands.
#pragma once

#include "counted_tree.h"

#include <QWidget>
#include <memory>

class QHBoxLayout;

namespace dorvelix {

class PathBar : public QWidget {
    Q_OBJECT
public:
    explicit PathBar(QWidget* parent);

    // Shows the way from the tree's chosen folder down to folder.
    void showPlace(const CountedTree& tree, CountedTree::Index folder);
    void clearPlace();
    // The parts' buttons, from the chosen folder down.
    QList<QWidget*> parts() const { return parts_; }

signals:
    void folderChosen(CountedTree::Index folder);

private:
    QHBoxLayout* layout_;
    QList<QWidget*> parts_;
};

}  // namespace dorvelix
