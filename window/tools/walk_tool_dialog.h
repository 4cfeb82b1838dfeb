// A tool window that runs a walk (the copy check, the cluster length
// comparison): Esc stops a running walk and otherwise closes the window, and
// closing the window stops the walk at once.
#pragma once

#include <QCloseEvent>
#include <QDialog>

namespace dorvelix {

class WalkToolDialog : public QDialog {
public:
    using QDialog::QDialog;

    virtual bool isRunning() const = 0;
    // Stops a running walk at once; nothing waits for its thread.
    virtual void stop() = 0;

protected:
    void reject() override
    {
        if (isRunning())
            stop();
        else
            QDialog::reject();
    }

    void closeEvent(QCloseEvent* event) override
    {
        stop();
        QDialog::closeEvent(event);
    }
};

}  // namespace dorvelix
