// The drive list: the drop-down list of the drives. Picking another drive raises
// change(); key presses and releases raise keyDown/keyUp with the key and
// the modifier mask.
#pragma once

#include "drives.h"

#include <QComboBox>
#include <vector>

namespace dorvelix {

class DriveListBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveListBox(QWidget* parent = nullptr);

    // Fills the list with the drives' texts and selects entry current,
    // without raising change().
    void setDrives(const std::vector<DriveEntry>& drives, int current);
    // The selected drive's text ("" when the list is empty).
    QString drive() const { return currentText(); }

    // The change was refused (a search runs): the list goes back to the
    // drive it showed before it, without raising change().
    void putBack();

signals:
    void change();
    void keyDown(int keyCode, int shift);
    void keyUp(int keyCode, int shift);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void indexChanged(int index);
    int shown_ = -1;
    int previous_ = -1;
};

}  // namespace dorvelix
