#include "lengths_window.h"

#include "row_table.h"
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

namespace {

// A length as the chart's axis shows it: 512, 1K ... 32M.
QString shortLength(long long length)
{
    if (length >= 1024 * 1024)
        return QString::number(length / (1024 * 1024)) + u'M';
    if (length >= 1024)
        return QString::number(length / 1024) + u'K';
    return QString::number(length);
}

const QColor Fat32Colour(40, 90, 200);
const QColor ExfatColour(230, 130, 30);
constexpr int AxisHeight = 34;  // the lengths and marks under the bars
constexpr int LegendHeight = 18;

// One bar: a filled rectangle, a widget of its own so that a screen reader
// finds it by its name and the keyboard reaches it. Tab enters the chart at
// its first bar and leaves it at the next; the arrows move from bar to bar.
class Bar : public QWidget {
public:
    Bar(QColor colour, QWidget* parent, bool first) : QWidget(parent), colour_(colour)
    {
        setFocusPolicy(first ? Qt::StrongFocus : Qt::ClickFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), colour_);
        if (hasFocus()) {
            p.setPen(QPen(Qt::black, 1, Qt::DotLine));
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
    void focusInEvent(QFocusEvent* e) override
    {
        QWidget::focusInEvent(e);
        update();
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        QWidget::focusOutEvent(e);
        update();
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        const int step = e->key() == Qt::Key_Right || e->key() == Qt::Key_Down ? 1
            : e->key() == Qt::Key_Left || e->key() == Qt::Key_Up           ? -1
                                                                           : 0;
        if (step == 0) {
            QWidget::keyPressEvent(e);
            return;
        }
        // The next bar shown that way, if any.
        const QList<Bar*> bars = parentWidget()->findChildren<Bar*>(Qt::FindDirectChildrenOnly);
        for (qsizetype i = bars.indexOf(this) + step; i >= 0 && i < bars.size(); i += step) {
            if (bars[i]->isVisible()) {
                bars[i]->setFocus(Qt::OtherFocusReason);
                break;
            }
        }
    }

private:
    QColor colour_;
};

}  // namespace

LengthsChart::LengthsChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("chart"));
    setAccessibleName(uiText(tool_text::LengthsChart));
    setMinimumSize(520, 220);
    for (int i = 0; i < 2 * ComparedLengths; ++i) {
        bars_[static_cast<size_t>(i)] = new Bar(i % 2 ? ExfatColour : Fat32Colour, this, i == 0);
        bars_[static_cast<size_t>(i)]->hide();
    }
}

QWidget* LengthsChart::bar(int lengthIndex, bool exfat) const
{
    return bars_[static_cast<size_t>(2 * lengthIndex + (exfat ? 1 : 0))];
}

void LengthsChart::show(const LengthsComparison* comparison, long long driveLength, long long convertLength)
{
    shown_ = comparison != nullptr;
    driveLength_ = driveLength;
    convertLength_ = convertLength;
    if (comparison) {
        figures_ = comparison->figures;
        fileBytes_ = comparison->fileBytes;
    }
    for (int i = 0; i < ComparedLengths; ++i) {
        const LengthFigures& f = figures_[static_cast<size_t>(i)];
        const std::pair<bool, std::optional<long long>> both[] = {{false, f.fat32Bytes}, {true, f.exfatBytes}};
        for (const auto& [exfat, bytes] : both) {
            QWidget* b = bar(i, exfat);
            b->setVisible(shown_ && bytes.has_value());
            if (bytes)
                b->setAccessibleName(uiText(tool_text::LengthsBar)
                                         .arg(tool_text::plainNumber(f.clusterLength),
                                              uiText(exfat ? tool_text::ExfatName : tool_text::Fat32Name),
                                              tool_text::plainNumber(*bytes)));
        }
    }
    placeBars();
    update();
}

// Heights on a logarithmic scale from the smallest figure shown to the
// largest: the lengths' bytes differ by orders of magnitude.
int LengthsChart::heightOf(long long bytes) const
{
    long long low = fileBytes_ > 0 ? fileBytes_ : 1, high = 1;
    for (const LengthFigures& f : figures_) {
        high = std::max({high, f.exfatBytes, f.fat32Bytes.value_or(0)});
        low = std::min(low, std::max(1LL, f.fat32Bytes.value_or(f.exfatBytes)));
    }
    const double span = std::log(static_cast<double>(high)) - std::log(static_cast<double>(low) / 2);
    const double share = (std::log(static_cast<double>(std::max(bytes, 1LL))) - std::log(static_cast<double>(low) / 2))
        / (span > 0 ? span : 1);
    return static_cast<int>(std::clamp(share, 0.0, 1.0) * (height() - AxisHeight - LegendHeight));
}

void LengthsChart::placeBars()
{
    const int slot = width() / ComparedLengths;
    const int bottom = height() - AxisHeight;
    for (int i = 0; i < ComparedLengths; ++i) {
        const LengthFigures& f = figures_[static_cast<size_t>(i)];
        const std::pair<bool, std::optional<long long>> both[] = {{false, f.fat32Bytes}, {true, f.exfatBytes}};
        for (const auto& [exfat, bytes] : both) {
            const int h = bytes ? std::max(1, heightOf(*bytes)) : 0;
            bar(i, exfat)->setGeometry(i * slot + 2 + (exfat ? slot / 2 - 2 : 0), bottom - h, slot / 2 - 2, h);
        }
    }
}

void LengthsChart::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeBars();
}

void LengthsChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const int slot = width() / ComparedLengths;
    const int bottom = height() - AxisHeight;
    p.setPen(palette().text().color());
    p.drawLine(0, bottom, width(), bottom);
    // The legend.
    int x = 4;
    for (const auto& [colour, name] : {std::pair{Fat32Colour, tool_text::Fat32Name}, {ExfatColour, tool_text::ExfatName}}) {
        p.fillRect(x, 4, 10, 10, colour);
        p.drawText(x + 14, 14, uiText(name));
        x += 70;
    }
    for (int i = 0; i < ComparedLengths; ++i) {
        const long long length = figures_[static_cast<size_t>(i)].clusterLength
            ? figures_[static_cast<size_t>(i)].clusterLength : SmallestComparedLength << i;
        const QRect label(i * slot, bottom + 2, slot, 14);
        p.drawText(label, Qt::AlignCenter, shortLength(length));
        QStringList marks;
        if (length == driveLength_)
            marks << uiText(tool_text::DriveLengthMark);
        if (length == convertLength_)
            marks << uiText(tool_text::ConvertLengthMark);
        if (!marks.isEmpty()) {
            QFont small = p.font();
            small.setPointSizeF(small.pointSizeF() * 0.8);
            p.save();
            p.setFont(small);
            p.drawText(QRect(i * slot - slot / 2, bottom + 16, 2 * slot, 16), Qt::AlignCenter, marks.join(u'/'));
            p.restore();
            p.fillRect(i * slot, bottom - 1, slot, 3, palette().highlight());
        }
    }
    if (!shown_)
        return;
    // The files' own bytes, named in the legend (the bars may cover the line).
    const int y = bottom - heightOf(fileBytes_);
    p.drawText(x + 24, 14, uiText(tool_text::FileBytesLine));
    p.setPen(QPen(Qt::red, 1, Qt::DashLine));
    p.drawLine(x, 9, x + 20, 9);
    p.drawLine(0, y, width(), y);
}

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
    body->addWidget(chart_, 3);
    table_ = new QTableWidget(ComparedLengths, static_cast<int>(std::size(tool_text::LengthsColumns)), this);
    table_->setObjectName(QStringLiteral("table"));
    table_->setAccessibleName(uiText(tool_text::LengthsTitle));
    QStringList headers;
    for (const char* header : tool_text::LengthsColumns)
        headers << uiText(header);
    table_->setHorizontalHeaderLabels(headers);
    row_table::setUp(table_);
    body->addWidget(table_, 2);
    layout->addLayout(body, 1);

    connect(examine_, &QPushButton::clicked, this, &LengthsWindow::examine);
    connect(stop_, &QPushButton::clicked, this, &LengthsWindow::stop);
    connect(capacity_, &QLineEdit::textChanged, this, &LengthsWindow::showAdvice);
    tick_.setInterval(200);
    connect(&tick_, &QTimer::timeout, this, &LengthsWindow::showProgress);
    resize(1100, 500);
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
