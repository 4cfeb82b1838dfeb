// A tool window that runs a walk (the copy check, the cluster length
// comparison): Esc stops a running walk and otherwise closes the window, and
// closing the window stops the walk at once. Both have a "調べる" button that
// starts the walk and a "中止" button that stops it, made here alike.
#pragma once

#include "tool_texts.h"
#include "ui_text.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace dorvelix {

class WalkToolDialog : public QDialog {
public:
    using QDialog::QDialog;

    virtual bool isRunning() const = 0;
    // Stops a running walk at once; nothing waits for its thread.
    virtual void stop() = 0;

    QPushButton* examineButton() const { return examine_; }
    QPushButton* stopButton() const { return stop_; }

protected:
    // Makes the two buttons at the end of row; 中止 stays off until a walk runs.
    void addWalkButtons(QBoxLayout* row)
    {
        examine_ = new QPushButton(uiText(tool_text::Examine), this);
        examine_->setObjectName(QStringLiteral("examine"));
        examine_->setAccessibleName(examine_->text());
        stop_ = new QPushButton(uiText(tool_text::Stop), this);
        stop_->setObjectName(QStringLiteral("stop"));
        stop_->setAccessibleName(stop_->text());
        stop_->setEnabled(false);
        stop_->setAutoDefault(false);
        row->addWidget(examine_);
        row->addWidget(stop_);
    }

    // The answer has arrived in label: a screen reader hears it once, with
    // the caption the label is labelled by, as the keyboard focus moves
    // there (when the user is in this window: another window's focus is not
    // taken). The label stays in the Tab order, read-only.
    static void presentAnswer(QLabel* label)
    {
        label->setFocusPolicy(Qt::StrongFocus);
        label->setTextInteractionFlags(label->textInteractionFlags() | Qt::TextSelectableByKeyboard);
        if (QApplication::activeWindow() == label->window())
            label->setFocus(Qt::OtherFocusReason);
    }

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

    QPushButton* examine_ = nullptr;
    QPushButton* stop_ = nullptr;
};

}  // namespace dorvelix
