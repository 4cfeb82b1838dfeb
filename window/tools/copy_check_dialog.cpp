#include "copy_check_dialog.h"

#include "row_table.h"
#include "column_fit.h"

#include "drives.h"
#include "file_dialogs.h"
#include "number_format.h"
#include "text.h"
#include "tool_texts.h"
#include "ui_text.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace dorvelix {

CopyCheckDialog::CopyCheckDialog(VolumeQueries& volumes, QWidget* mainWindow)
    : WalkToolDialog(mainWindow), volumes_(volumes)
{
    setObjectName(QStringLiteral("copyCheck"));
    setWindowTitle(uiText(tool_text::CopyCheckTitle));
    setModal(false);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    source_ = new QLabel(this);
    source_->setObjectName(QStringLiteral("folder"));
    source_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(uiText(tool_text::FolderToCopy), source_);

    auto* targetRow = new QHBoxLayout;
    targets_ = new QComboBox(this);
    targets_->setObjectName(QStringLiteral("target"));
    listTargets();
    targetRow->addWidget(targets_, 1);
    choose_ = new QPushButton(uiText(tool_text::ChooseFolder), this);
    choose_->setObjectName(QStringLiteral("chooseFolder"));
    choose_->setAccessibleName(tool_text::withoutMnemonic(tool_text::ChooseFolder));
    choose_->setAutoDefault(false);
    targetRow->addWidget(choose_);
    // The caption names the list for a screen reader too (its buddy).
    auto* targetCaption = new QLabel(uiText(tool_text::TargetCaption), this);
    targetCaption->setBuddy(targets_);
    form->addRow(targetCaption, targetRow);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    progress_ = new QLabel(this);
    progress_->setObjectName(QStringLiteral("progress"));
    buttons->addWidget(progress_, 1);
    addWalkButtons(buttons);
    layout->addLayout(buttons);

    auto* answer = new QFormLayout;
    const char* captions[AnswerRows] = {tool_text::NeededBytes,      tool_text::FreeBytes, tool_text::TargetClusterLength,
                                        tool_text::TargetFileSystem, tool_text::EntriesMade, tool_text::Verdict,
                                        tool_text::RunsOut,          tool_text::Difference, tool_text::CountedBy};
    for (int row = 0; row < AnswerRows; ++row) {
        auto* value = new QLabel(this);
        value->setObjectName(QStringLiteral("answer%1").arg(row));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setWordWrap(row == CountedBy || row == RunsOut);
        answer->addRow(uiText(captions[row]), value);
        answers_[row] = value;
    }
    layout->addLayout(answer);
    // The verdict, or what kept the check from one, is the answer heard.
    connect(this, &CopyCheckDialog::finished, this,
            [this] { presentAnswer(answers_[Verdict]->text().isEmpty() ? status_ : answers_[Verdict]); });
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setWordWrap(true);
    layout->addWidget(status_);

    blocked_ = new QTableWidget(0, 2, this);
    blocked_->setObjectName(QStringLiteral("blocked"));
    blocked_->setAccessibleName(uiText(tool_text::BlockedList));
    blocked_->setHorizontalHeaderLabels({uiText(tool_text::BlockedColumns[0]), uiText(tool_text::BlockedColumns[1])});
    row_table::setUp(blocked_);
    blocked_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(blocked_, 1);

    connect(choose_, &QPushButton::clicked, this, &CopyCheckDialog::chooseFolder);
    // An answer belongs to its target: another target clears it.
    connect(targets_, &QComboBox::currentIndexChanged, this, [this] {
        if (!isRunning())
            clearAnswer();
    });
    connect(examine_, &QPushButton::clicked, this, &CopyCheckDialog::examine);
    connect(stop_, &QPushButton::clicked, this, &CopyCheckDialog::stop);
    tick_.setInterval(200);
    connect(&tick_, &QTimer::timeout, this, &CopyCheckDialog::showProgress);
    resize(620, 460);
}

CopyCheckDialog::~CopyCheckDialog()
{
    stop();
}

void CopyCheckDialog::setFolder(const std::string& folder)
{
    if (isRunning())
        return;
    folder_ = folder;
    source_->setText(displayText(folder));
    listTargets();
    clearAnswer();
}

void CopyCheckDialog::listTargets()
{
    // The drives as they are mounted now (a drive unmounted since the last
    // time leaves the list), then the folders chosen before; the choice stays
    // where it can.
    const QByteArray current = targets_->currentData().toByteArray();
    const QSignalBlocker quiet(targets_);
    targets_->clear();
    for (const DriveEntry& d : listDrives())
        targets_->addItem(d.text(), QByteArray::fromStdString(d.mountPoint));
    for (const std::string& folder : chosenFolders_) {
        if (targets_->findData(QByteArray::fromStdString(folder)) < 0)
            targets_->addItem(displayText(folder), QByteArray::fromStdString(folder));
    }
    const int index = targets_->findData(current);
    targets_->setCurrentIndex(index >= 0 ? index : 0);
}

void CopyCheckDialog::setTarget(const std::string& targetFolder)
{
    const QByteArray key = QByteArray::fromStdString(targetFolder);
    int index = targets_->findData(key);
    if (index < 0) {
        chosenFolders_.push_back(targetFolder);
        targets_->addItem(displayText(targetFolder), key);
        index = targets_->count() - 1;
    }
    targets_->setCurrentIndex(index);
}

std::string CopyCheckDialog::target() const
{
    return targets_->currentData().toByteArray().toStdString();
}

void CopyCheckDialog::chooseFolder()
{
    // It starts at the chosen target, else at the folder to copy.
    const std::string chosen = runFolderDialog(this, uiText(tool_text::ChooseTargetTitle), {target(), folder_});
    if (!chosen.empty())
        setTarget(chosen);
}

void CopyCheckDialog::clearAnswer()
{
    for (QLabel* a : answers_)
        a->clear();
    status_->clear();
    progress_->clear();
    blocked_->setRowCount(0);
}

void CopyCheckDialog::examine()
{
    if (isRunning() || folder_.empty() || target().empty())
        return;
    clearAnswer();
    walk_.start(
        [folder = folder_, target = target(), &volumes = volumes_](WalkProgress& progress) {
            return checkTarget(folder, target, volumes, progress);
        },
        [this](const TargetCheck& check) {
            showProgress();  // the final counts and time
            endRun();
            showAnswer(check);
        });
    examine_->setEnabled(false);
    stop_->setEnabled(true);
    choose_->setEnabled(false);
    targets_->setEnabled(false);
    showProgress();
    tick_.start();
}

void CopyCheckDialog::stop()
{
    if (!isRunning())
        return;
    // The walk ends at its next folder; nothing waits for it here.
    walk_.stop();
    showProgress();  // what was counted until the stop
    endRun();
    status_->setText(uiText(tool_text::Stopped));
    emit finished();
}

void CopyCheckDialog::endRun()
{
    walk_.finish();
    tick_.stop();
    examine_->setEnabled(true);
    stop_->setEnabled(false);
    choose_->setEnabled(true);
    targets_->setEnabled(true);
}

void CopyCheckDialog::showProgress()
{
    if (const WalkProgress* counted = walk_.progress())
        progress_->setText(tool_text::countedText(*counted, walk_.elapsedMilliseconds()));
}

void CopyCheckDialog::showAnswer(const TargetCheck& check)
{
    using Outcome = TargetCheck::Outcome;
    const QString drive = check.drive ? check.drive->text : displayText(target());
    switch (check.outcome) {
    case Outcome::Answered:
        break;
    case Outcome::Cancelled:
        status_->setText(uiText(tool_text::Stopped));
        emit finished();
        return;
    case Outcome::FolderUnreadable:
        status_->setText(uiText(tool_text::CannotOpenFolder).arg(check.error + u' ' + displayText(folder_)));
        emit finished();
        return;
    case Outcome::TargetUnreadable:
        status_->setText(uiText(tool_text::CannotOpenFolder).arg(check.error + u' ' + displayText(target())));
        emit finished();
        return;
    case Outcome::NoMedium:
        status_->setText(uiText(tool_text::TargetNoMedium).arg(drive));
        emit finished();
        return;
    case Outcome::NoClusterLength:
        status_->setText(uiText(tool_text::TargetNoClusterLength).arg(drive));
        emit finished();
        return;
    case Outcome::NotADrive:
        status_->setText(uiText(tool_text::TargetNotADrive).arg(displayText(target()), check.error));
        emit finished();
        return;
    case Outcome::DriveStopped:
        status_->setText(uiText(tool_text::DriveStopped).arg(driveTextOf(folder_)));
        emit finished();
        return;
    }
    const TargetDrive& d = *check.drive;
    answers_[Needed]->setText(tool_text::plainNumber(check.neededBytes));
    answers_[Free]->setText(tool_text::plainNumber(d.freeBytes));
    answers_[ClusterLength]->setText(tool_text::plainNumber(d.clusterLength));
    answers_[FileSystem]->setText(d.fileSystem);
    answers_[CountedBy]->setText(tool_text::countedBy(check));
    answers_[Entries]->setText(check.countsInodes && d.freeInodes
                                   ? uiText(tool_text::EntriesAndFreeInodes)
                                         .arg(tool_text::plainNumber(check.neededEntries), tool_text::plainNumber(*d.freeInodes))
                                   : uiText(tool_text::EntriesCount).arg(tool_text::plainNumber(check.neededEntries)));
    const CopyMargin margin = copyMargin(check);
    answers_[Verdict]->setText(uiText(margin.fits ? tool_text::Fits : tool_text::DoesNotFit));
    answers_[RunsOut]->setText(tool_text::limitsReached(check.limitsReached()));
    // The margin in bytes, also where another limit runs out first.
    answers_[Margin]->setText(uiText(margin.spare ? tool_text::Margin : tool_text::Shortfall)
                                  .arg(tool_text::plainNumber(margin.bytes)));

    QString status = uiText(tool_text::BlockedList) + u' '
        + (!isFatFamily(d.fileSystem) && check.blocked.empty() ? uiText(tool_text::NotFat)
               : check.blocked.empty()  ? uiText(tool_text::NothingBlocked)
                                        : tool_text::plainNumber(static_cast<long long>(check.blocked.size())));
    if (!check.messages.isEmpty())
        status += u'\n' + uiText(tool_text::UnreadableCount).arg(tool_text::plainNumber(check.messages.size()));
    status_->setText(status);
    blocked_->setRowCount(static_cast<int>(check.blocked.size()));
    for (int row = 0; row < blocked_->rowCount(); ++row) {
        const BlockedEntry& b = check.blocked[static_cast<size_t>(row)];
        blocked_->setItem(row, 0, new QTableWidgetItem(displayText(b.path)));
        blocked_->setItem(row, 1, new QTableWidgetItem(tool_text::blockReason(b.reason)));
    }
    blocked_->resizeColumnToContents(0);
    widenToColumns(this, blocked_);
    emit finished();
}

QString CopyCheckDialog::selectedBlockedText() const
{
    return row_table::copiedRows(*blocked_);
}

}  // namespace dorvelix
