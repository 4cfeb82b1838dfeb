#include "lengths_window.h"

#include "row_table.h"
#include "column_fit.h"
#include "number_format.h"
#include "text.h"
#include "tool_texts.h"
#include "ui_text.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

namespace dorvelix {

LengthsWindow::LengthsWindow(QWidget* mainWindow) : WalkToolDialog(mainWindow)
{
    setObjectName(QStringLiteral("lengths"));
    setWindowTitle(uiText(tool_text::LengthsTitle));
    setModal(false);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    source_ = new QLabel(this);
    source_->setObjectName(QStringLiteral("folder"));
    source_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* top = new QHBoxLayout;
    // The caption labels the folder for a screen reader too (its buddy).
    auto* sourceCaption = new QLabel(uiText(tool_text::SearchedFolder), this);
    sourceCaption->setBuddy(source_);
    top->addWidget(sourceCaption);
    top->addWidget(source_, 1);
    addWalkButtons(top);
    layout->addLayout(top);
    progress_ = new QLabel(this);
    progress_->setObjectName(QStringLiteral("progress"));
    layout->addWidget(progress_);
    fileBytes_ = new QLabel(this);
    fileBytes_->setObjectName(QStringLiteral("fileBytes"));
    layout->addWidget(fileBytes_);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    layout->addWidget(status_);
    // The volume to format: its size, and which length to format it with.
    auto* capacityRow = new QHBoxLayout;
    auto* capacityCaption = new QLabel(uiText(tool_text::CapacityCaption), this);
    capacity_ = new QLineEdit(this);
    capacity_->setObjectName(QStringLiteral("capacity"));
    capacity_->setPlaceholderText(uiText(tool_text::CapacityHint));
    capacityCaption->setBuddy(capacity_);
    capacityRow->addWidget(capacityCaption);
    capacityRow->addWidget(capacity_, 1);
    layout->addLayout(capacityRow);
    auto* adviceRow = new QHBoxLayout;
    auto* adviceCaption = new QLabel(uiText(tool_text::AdviceCaption), this);
    advice_ = new QLabel(this);
    advice_->setObjectName(QStringLiteral("advice"));
    advice_->setWordWrap(true);
    advice_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    advice_->setFocusPolicy(Qt::StrongFocus);
    adviceCaption->setBuddy(advice_);
    adviceRow->addWidget(adviceCaption, 0, Qt::AlignTop);
    // The advice, or what kept the comparison from one, is the answer heard.
    connect(this, &LengthsWindow::finished, this, [this] { presentAnswer(advice_->text().isEmpty() ? status_ : advice_); });
    adviceRow->addWidget(advice_, 1);
    layout->addLayout(adviceRow);

    auto* body = new QHBoxLayout;
    chart_ = new LengthsChart(this);
    // The table as wide as its columns where it can be, the chart the rest.
    body->addWidget(chart_, 1);
    table_ = new QTableWidget(ComparedLengths, static_cast<int>(std::size(tool_text::LengthsColumns)), this);
    table_->setObjectName(QStringLiteral("table"));
    table_->setAccessibleName(uiText(tool_text::LengthsTitle));
    QStringList headers;
    for (const char* header : tool_text::LengthsColumns)
        headers << uiText(header);
    table_->setHorizontalHeaderLabels(headers);
    row_table::setUp(table_);
    table_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    body->addWidget(table_);
    layout->addLayout(body, 1);

    connect(examine_, &QPushButton::clicked, this, &LengthsWindow::examine);
    connect(stop_, &QPushButton::clicked, this, &LengthsWindow::stop);
    connect(capacity_, &QLineEdit::textChanged, this, &LengthsWindow::showAdvice);
    tick_.setInterval(200);
    connect(&tick_, &QTimer::timeout, this, &LengthsWindow::showProgress);
    resize(1100, 500);
    // Narrow, the table keeps the lengths and both file systems' bytes in view.
    keepInView(table_, {1, 3});
    widenToColumns(this, table_);
}

LengthsWindow::~LengthsWindow()
{
    stop();
}

void LengthsWindow::setFolder(const std::string& folder, long long driveLength, long long convertLength)
{
    if (isRunning())
        return;
    folder_ = folder;
    driveLength_ = driveLength;
    convertLength_ = convertLength;
    source_->setText(displayText(folder));
    fileBytes_->clear();
    status_->clear();
    progress_->clear();
    table_->clearContents();
    answer_.reset();
    advice_->clear();
    chart_->show(nullptr, driveLength_, convertLength_);
}

void LengthsWindow::examine()
{
    if (isRunning() || folder_.empty())
        return;
    status_->clear();
    walk_.start([folder = folder_](WalkProgress& progress) { return compareLengths(folder, progress); },
                [this](const LengthsComparison& c) {
                    showProgress();
                    endRun();
                    showAnswer(c);
                });
    examine_->setEnabled(false);
    stop_->setEnabled(true);
    showProgress();
    tick_.start();
}

void LengthsWindow::stop()
{
    if (!isRunning())
        return;
    walk_.stop();
    showProgress();
    endRun();
    status_->setText(uiText(tool_text::Stopped));
    emit finished();
}

void LengthsWindow::endRun()
{
    walk_.finish();
    tick_.stop();
    examine_->setEnabled(true);
    stop_->setEnabled(false);
}

void LengthsWindow::showProgress()
{
    if (const WalkProgress* counted = walk_.progress())
        progress_->setText(tool_text::countedText(*counted, walk_.elapsedMilliseconds()));
}

void LengthsWindow::showAnswer(const LengthsComparison& c)
{
    if (c.outcome != LengthsComparison::Outcome::Answered) {
        status_->setText(c.outcome == LengthsComparison::Outcome::Cancelled
                             ? uiText(tool_text::Stopped)
                             : uiText(tool_text::CannotOpenFolder).arg(c.error + u' ' + displayText(folder_)));
        emit finished();
        return;
    }
    fileBytes_->setText(uiText(tool_text::OwnFileBytes) + u' ' + tool_text::plainNumber(c.fileBytes));
    const LengthsAnswer answer{c.figures, c.fileBytes, c.largestFile, std::nullopt};
    for (int row = 0; row < ComparedLengths; ++row) {
        const LengthFigures& f = c.figures[static_cast<size_t>(row)];
        const LengthJudgement fat = judgeLength(answer, f, FreshFormat::Fat32);
        const LengthJudgement exfat = judgeLength(answer, f, FreshFormat::Exfat);
        const QString none = QStringLiteral("-");
        const QString cells[] = {tool_text::plainNumber(f.clusterLength),
                                 fat.bytes ? tool_text::plainNumber(*fat.bytes) : none, slackShareText(fat).value_or(none),
                                 tool_text::plainNumber(*exfat.bytes), slackShareText(exfat).value_or(none)};
        for (int column = 0; column < static_cast<int>(std::size(cells)); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(row, column, item);
        }
    }
    table_->resizeColumnsToContents();
    widenToColumns(this, table_);
    chart_->show(&c, driveLength_, convertLength_);
    answer_ = answer;
    showAdvice();
    emit finished();
}

void LengthsWindow::showAdvice()
{
    advice_->clear();
    if (!answer_)
        return;
    const QString written = capacity_->text().trimmed();
    answer_->capacity = parseCapacity(written);
    if (!written.isEmpty() && !answer_->capacity) {
        advice_->setText(uiText(tool_text::CapacityInvalid));
        return;
    }
    advice_->setText(tool_text::lengthAdvice(*answer_, FreshFormat::Fat32) + u'\n'
                     + tool_text::lengthAdvice(*answer_, FreshFormat::Exfat));
}

QString LengthsWindow::selectedText() const
{
    return row_table::copiedRows(*table_);
}

}  // namespace dorvelix
