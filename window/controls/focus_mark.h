// The keyboard focus made visible in the main window: a border drawn around
// the control that has the focus (the drive list, the folder list, the file
// list, a value box that was clicked), which the controls' own drawing in the
// window's colours does not show. It follows the focus, the control's place
// and size, and is hidden while another window has the focus.
#pragma once

#include <QPointer>
#include <QWidget>

namespace dorvelix {

class FocusMark : public QWidget {
    Q_OBJECT
public:
    // Marks the focus among area's controls; drawn on area.
    explicit FocusMark(QWidget* area);

    // The control marked now, null when none.
    QWidget* marked() const { return target_; }

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(QWidget* focused);
    void place();

    QWidget* area_;
    QPointer<QWidget> target_;
};

}  // namespace dorvelix
