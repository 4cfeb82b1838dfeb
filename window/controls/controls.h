// The simple controls of the main window: frames with a caption on their
// border, line controls, picture boxes, caption labels and value boxes, and
// the fonts they use.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QWidget>

namespace dorvelix {

namespace colors {
inline const QColor Teal{0, 128, 128};
inline const QColor Red{255, 0, 0};
inline const QColor Cyan{0, 255, 255};
inline const QColor Yellow{255, 255, 0};
inline const QColor White{255, 255, 255};
inline const QColor Black{0, 0, 0};
}  // namespace colors

// The two Japanese faces of the window, set explicitly so that the user's
// font settings do not change them: a fixed-pitch one for the frame
// captions and the numeric value boxes, a proportional one for everything
// else.
enum class Face { Fixed, Proportional };
QFont windowFont(Face face, double pointSize, bool bold = true);
// Changes the point size of a widget's font, keeping face and weight.
void setFontSize(QWidget* w, double pointSize);

// The window's client area: the teal background the frames stand on.
class ClientArea : public QWidget {
    Q_OBJECT
public:
    explicit ClientArea(QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;
};

// A frame: an etched border with its caption set into the top edge. Children
// are placed relative to the frame's outer top-left corner.
class FrameControl : public QWidget {
    Q_OBJECT
public:
    FrameControl(const QString& name, const QString& caption, QWidget* parent);
    QString caption() const { return caption_; }
    void setCaptionColor(const QColor& c);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString caption_;
    QColor captionColor_ = colors::Cyan;
};

// A line control: a straight line between two points given in twips in its
// container's coordinates, in its colour and width (pixels).
class LineControl : public QWidget {
    Q_OBJECT
public:
    LineControl(const QString& name, const QColor& color, int widthPx, QWidget* parent);
    void setEndpoints(int x1, int y1, int x2, int y2);
    QLine endpoints() const { return twips_; }
    QColor color() const { return color_; }
    // Places the widget again (after a DPI change).
    void reapply();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor color_;
    int widthPx_;
    QLine twips_;
};

// A picture box: shows a pixmap drawn into it, over its background colour.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(const QString& name, const QColor& background, QWidget* parent);
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }
    // Fills the whole box with one colour (drawn, so it stays until redrawn).
    void fill(const QColor& color);
    // Draws a filled box (pixels, in the box's coordinates) over what the
    // picture already holds.
    void fillBox(const QRect& box, const QColor& color);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor background_;
    QPixmap picture_;
};

// A caption label: coloured text on the window's background, shrunk
// horizontally (never cut) when its text is wider than the label.
class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    CaptionLabel(const QString& name, const QString& text, const QColor& color, Qt::Alignment align,
                 QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;
};

// A value box: output only, in the platform's text-box colours. A text too
// wide for the box is also its tooltip and its accessible description, so
// that the user and a screen reader get the whole of it.
class ValueBox : public QLineEdit {
    Q_OBJECT
public:
    ValueBox(const QString& name, Qt::Alignment align, QWidget* parent);
    // Whether the whole text shows within the box's width.
    bool textFits() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    // A box the keyboard passed through shows its text from the start
    // again, as it did before: focus scrolls a cut text to its end.
    void focusOutEvent(QFocusEvent* event) override;

private:
    void describeCutText();
};

}  // namespace dorvelix
