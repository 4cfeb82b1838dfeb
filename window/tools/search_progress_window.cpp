#include "search_progress_window.h"

#include "modal_box.h"
#include "number_format.h"
#include "text.h"
#include "tool_texts.h"
#include "ui_text.h"
#include "window_placement.h"

#include <QApplication>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace dorvelix {

namespace {

// A figure beside its caption. A screen reader hears the figure's text, and
// the caption as its label (the caption's buddy is the figure).
QLabel* addFigure(QFormLayout* form, const char* caption, QWidget* parent)
{
    auto* value = new QLabel(parent);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(uiText(caption), value);
    return value;
}

QString secondsText(std::chrono::steady_clock::duration d)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
    return uiText(tool_text::Seconds).arg(tool_text::secondsText(ms));
}

// A long path shown shortened in the middle, whole in its tooltip, so that
// the window keeps its width.
void showPath(QLabel* label, const QString& path)
{
    label->setToolTip(path);
    label->setText(label->fontMetrics().elidedText(path, Qt::ElideMiddle, label->width()));
}

}  // namespace

SearchProgressWindow::SearchProgressWindow(FolderSearch& search, QWidget* mainWindow)
    : QDialog(mainWindow), search_(search), mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("searchProgress"));
    setWindowTitle(uiText(tool_text::ProgressTitle));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->hide();
    layout->addWidget(status_);
    auto* figures = new QFormLayout;
    folder_ = addFigure(figures, tool_text::ReadingFolder, this);
    folderCaption_ = qobject_cast<QLabel*>(figures->labelForField(folder_));
    folder_->setFixedWidth(420);
    folders_ = addFigure(figures, tool_text::CountedFolders, this);
    files_ = addFigure(figures, tool_text::CountedFiles, this);
    elapsed_ = addFigure(figures, tool_text::Elapsed, this);
    layout->addLayout(figures);
    stop_ = new QPushButton(uiText(tool_text::Stop), this);
    stop_->setObjectName(QStringLiteral("stop"));
    stop_->setAccessibleName(uiText(tool_text::Stop));
    layout->addWidget(stop_, 0, Qt::AlignRight);
    connect(stop_, &QPushButton::clicked, this, &SearchProgressWindow::stopOrClose);
}

void SearchProgressWindow::searchStarted()
{
    started_ = std::chrono::steady_clock::now();
    running_ = true;
    hide();
}

void SearchProgressWindow::showCounts(long long folders, long long files)
{
    folders_->setText(formatNumber(folders, NumberPattern::Plain));
    files_->setText(formatNumber(files, NumberPattern::Plain));
    elapsed_->setText(secondsText(std::chrono::steady_clock::now() - started_));
}

void SearchProgressWindow::searchAdvanced(const SearchProgress& progress)
{
    const auto now = std::chrono::steady_clock::now();
    if (!isVisible()) {
        if (now - started_ < showAfter)
            return;
        status_->hide();
        folderCaption_->setText(uiText(tool_text::ReadingFolder));
        stop_->setText(uiText(tool_text::Stop));
        stop_->setAccessibleName(stop_->text());
        adjustSize();
        // Placed once; later searches show it where it was left.
        if (!testAttribute(Qt::WA_Moved))
            placeBeside(this, mainWindow_);
        show();
        raise();
        activateWindow();
    } else if (now - lastRefresh_ < std::chrono::milliseconds(200)) {
        return;
    }
    lastRefresh_ = now;
    // The box that held the stop back has been answered.
    if (status_->isVisible() && openModalBoxes() == 0) {
        status_->hide();
        adjustSize();
    }
    showPath(folder_, displayText(progress.folder));
    showCounts(progress.folders, progress.files);
}

void SearchProgressWindow::searchFinished()
{
    running_ = false;
    const SearchResult& r = search_.result();
    if (!isVisible() || !r.stopped) {
        hide();
        return;
    }
    // Said here, not in the main window's boxes, which stay empty: what the
    // walk had reached is no answer for the folder.
    const FolderRow counted = r.countedBeforeStop.value_or(FolderRow{});
    status_->setText(uiText(tool_text::SearchStopped));
    status_->show();
    // Heard as the focus moves there, when the user is in this window.
    status_->setFocusPolicy(Qt::StrongFocus);
    if (QApplication::activeWindow() == this)
        status_->setFocus(Qt::OtherFocusReason);
    // The walk reads no folder any more: the caption names the searched one.
    folderCaption_->setText(uiText(tool_text::SearchedFolder));
    showPath(folder_, displayText(search_.searchedFolder()));
    showCounts(counted.folders, counted.files);
    stop_->setText(uiText(tool_text::Close));
    stop_->setAccessibleName(stop_->text());
    adjustSize();
}

void SearchProgressWindow::stopOrClose()
{
    if (running_)
        search_.requestStop();
    else
        hide();
}

bool SearchProgressWindow::event(QEvent* event)
{
    if (event->type() == HeldInputEvent::eventType()) {
        if (running_ && static_cast<HeldInputEvent*>(event)->target() == stop_) {
            status_->setText(uiText(tool_text::AnswerBoxFirst));
            status_->show();
            adjustSize();
        }
        return true;
    }
    return QDialog::event(event);
}

void SearchProgressWindow::reject()
{
    stopOrClose();
}

}  // namespace dorvelix
