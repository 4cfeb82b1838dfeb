#include "controls.h"

#include "twips.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

namespace dorvelix {

QFont windowFont(Face face, double pointSize, bool bold)
{
    QFont f(face == Face::Fixed ? QStringLiteral("IPAGothic") : QStringLiteral("IPAPGothic"));
    f.setStyleHint(face == Face::Fixed ? QFont::TypeWriter : QFont::SansSerif);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

void setFontSize(QWidget* w, double pointSize)
{
    QFont f = w->font();
    f.setPointSizeF(pointSize);
    w->setFont(f);
}

ClientArea::ClientArea(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("client"));
}

void ClientArea::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), colors::Teal);
}

namespace {

// A frame is a group for a screen reader, named by its caption ("ドライブ情報").
QAccessibleInterface* frameAccessible(const QString& className, QObject* object)
{
    auto* frame = qobject_cast<FrameControl*>(object);
    if (!frame || className != QLatin1String(FrameControl::staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(frame, QAccessible::Grouping, frame->caption());
}

}  // namespace

FrameControl::FrameControl(const QString& name, const QString& caption, QWidget* parent)
    : QWidget(parent), caption_(caption)
{
    static const bool factoryInstalled = (QAccessible::installFactory(frameAccessible), true);
    (void)factoryInstalled;
    setObjectName(name);
}

void FrameControl::setCaptionColor(const QColor& c)
{
    captionColor_ = c;
    update();
}

void FrameControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), colors::Teal);
    const QFontMetrics fm(font());
    const int half = fm.height() / 2;
    // Etched border: a dark line with a light one inside and below it.
    const QRect box = rect().adjusted(0, half, -1, -1);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(box.adjusted(0, 0, -1, -1));
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(box.adjusted(1, 1, 0, 0));
    if (caption_.isEmpty())
        return;
    const int left = std::max(6, fm.averageCharWidth());
    const QRect text(left, 0, fm.horizontalAdvance(caption_) + 4, fm.height());
    p.fillRect(text, colors::Teal);
    p.setPen(captionColor_);
    p.drawText(text, Qt::AlignCenter, caption_);
}

LineControl::LineControl(const QString& name, const QColor& color, int widthPx, QWidget* parent)
    : QWidget(parent), color_(color), widthPx_(widthPx)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::setEndpoints(int x1, int y1, int x2, int y2)
{
    twips_ = QLine(x1, y1, x2, y2);
    reapply();
    show();
}

void LineControl::reapply()
{
    const double dpi = logicalDpiOf(this);
    const QPoint a(twipsToPixels(twips_.x1(), dpi), twipsToPixels(twips_.y1(), dpi));
    const QPoint b(twipsToPixels(twips_.x2(), dpi), twipsToPixels(twips_.y2(), dpi));
    // The widget covers the line and its width on every side.
    const QRect bounds = QRect(a, b).normalized().adjusted(-widthPx_, -widthPx_, widthPx_, widthPx_);
    setGeometry(bounds);
    update();
}

void LineControl::paintEvent(QPaintEvent*)
{
    const double dpi = logicalDpiOf(this);
    const QPoint origin = pos();
    const QPoint a = QPoint(twipsToPixels(twips_.x1(), dpi), twipsToPixels(twips_.y1(), dpi)) - origin;
    const QPoint b = QPoint(twipsToPixels(twips_.x2(), dpi), twipsToPixels(twips_.y2(), dpi)) - origin;
    QPainter p(this);
    QPen pen(color_, widthPx_);
    pen.setCapStyle(Qt::SquareCap);
    p.setPen(pen);
    p.drawLine(a, b);
}

PictureBox::PictureBox(const QString& name, const QColor& background, QWidget* parent)
    : QWidget(parent), background_(background)
{
    setObjectName(name);
}

void PictureBox::setPicture(const QPixmap& picture)
{
    picture_ = picture;
    update();
}

void PictureBox::fill(const QColor& color)
{
    fillBox(rect(), color);
}

void PictureBox::fillBox(const QRect& box, const QColor& color)
{
    // The picture grows with the box and keeps what was drawn before.
    const QSize needed = picture_.size().expandedTo(size()).expandedTo(QSize(1, 1));
    if (picture_.size() != needed) {
        QPixmap grown(needed);
        grown.fill(background_);
        if (!picture_.isNull())
            QPainter(&grown).drawPixmap(0, 0, picture_);
        picture_ = grown;
    }
    QPainter(&picture_).fillRect(box, color);
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), background_);
    // A drawing made at an earlier size stays at the top-left corner.
    if (!picture_.isNull())
        p.drawPixmap(0, 0, picture_);
}

CaptionLabel::CaptionLabel(const QString& name, const QString& text, const QColor& color, Qt::Alignment align,
                           QWidget* parent)
    : QLabel(text, parent)
{
    setObjectName(name);
    setTextFormat(Qt::PlainText);
    setAlignment(align);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, color);
    setPalette(pal);
}

void CaptionLabel::paintEvent(QPaintEvent* event)
{
    const QRect area = contentsRect();
    const int needed = fontMetrics().horizontalAdvance(text());
    if (needed <= area.width() || area.width() <= 0) {
        QLabel::paintEvent(event);
        return;
    }
    // Narrow the text to the label's width rather than cut characters off.
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    const double factor = static_cast<double>(area.width()) / needed;
    p.translate(area.left(), area.top());
    p.scale(factor, 1.0);
    p.drawText(QRect(0, 0, needed, area.height()), static_cast<int>(alignment() & Qt::AlignVertical_Mask), text());
}

ValueBox::ValueBox(const QString& name, Qt::Alignment align, QWidget* parent) : QLineEdit(parent)
{
    setObjectName(name);
    setReadOnly(true);
    setAlignment(align | Qt::AlignVCenter);
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &QLineEdit::textChanged, this, &ValueBox::describeCutText);
}

bool ValueBox::textFits() const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect inside = style()->subElementRect(QStyle::SE_LineEditContents, &option, this)
                             .marginsRemoved(textMargins());
    // QLineEdit keeps two pixels free on either side of its text.
    return fontMetrics().horizontalAdvance(text()) <= inside.width() - 4;
}

void ValueBox::describeCutText()
{
    // A box that shows its whole text has neither: a screen reader would
    // say the text twice (Qt describes a widget by its tooltip).
    const QString whole = textFits() ? QString() : text().trimmed();
    if (toolTip() != whole)
        setToolTip(whole);
    if (accessibleDescription() != whole)
        setAccessibleDescription(whole);
}

void ValueBox::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    describeCutText();
}

void ValueBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    setCursorPosition(0);
}

void ValueBox::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        describeCutText();
}

}  // namespace dorvelix
