#include "media/widgets/scroll_text.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStaticText>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace travoli {

TScrollText::TScrollText(QWidget* parent) : QWidget(parent), timer_(new QTimer(this)) {
    font_.setFamily(QStringLiteral("Liberation Sans"));
    font_.setStyleHint(QFont::SansSerif);
    font_.setPixelSize(13);
    timer_->setTimerType(Qt::CoarseTimer);
    connect(timer_, &QTimer::timeout, this, &TScrollText::Tick);
    setAttribute(Qt::WA_OpaquePaintEvent, !transparent_);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    resize(sizeHint());
    Measure();
}

TScrollText::~TScrollText() {
    Stop();
}

QSize TScrollText::sizeHint() const {
    return {337, 15};
}

void TScrollText::SetLines(const QStringList& lines) {
    lines_ = lines;
    Measure();
    ShowFrameNow();
}

void TScrollText::SetLine(int index, const QString& text) {
    if (index < 0 || index > lines_.size()) {
        throw std::out_of_range("line index " + std::to_string(index) + " out of range 0.." +
                                std::to_string(lines_.size()));
    }
    if (index == lines_.size()) {
        lines_.append(text);
    } else {
        lines_[index] = text;
    }
    Measure();
    ShowFrameNow();
}

void TScrollText::SetScroll(bool on) {
    if (on == scroll_) {
        return;
    }
    if (on) {
        Start();
    } else {
        Stop();
    }
}

void TScrollText::SetSteps(int steps) {
    if (steps < 1 || steps == steps_) {
        return;
    }
    StopIfRunning();
    steps_ = steps;
}

void TScrollText::SetInterval(int ms) {
    if (ms < 1 || ms == interval_) {
        return;
    }
    StopIfRunning();
    interval_ = ms;
}

void TScrollText::SetDirection(TScrollDirection direction) {
    if (direction == direction_) {
        return;
    }
    StopIfRunning();
    direction_ = direction;
}

void TScrollText::SetScrollStyle(TScrollStyle style) {
    if (style == style_) {
        return;
    }
    StopIfRunning();
    style_ = style;
}

void TScrollText::SetAlignment(TTextAlignment alignment) {
    alignment_ = alignment;
    update();
}

void TScrollText::SetTransparent(bool on) {
    transparent_ = on;
    setAttribute(Qt::WA_OpaquePaintEvent, !on);
    frame_ = QImage();  // the pixel format depends on it
    update();
}

void TScrollText::SetColor(const QColor& color) {
    color_ = color;
    update();
}

void TScrollText::SetFont(const QFont& font) {
    font_ = font;
    Measure();
    update();
}

void TScrollText::SetFontColor(const QColor& color) {
    fontColor_ = color;
    update();
}

void TScrollText::SetLoading(bool on) {
    loading_ = on;
    if (!on) {
        Measure();
    }
}

bool TScrollText::TimerActive() const {
    return timer_->isActive();
}

void TScrollText::Start() {
    if (loading_ || lines_.isEmpty()) {
        return;
    }
    if (isHidden()) {
        if (!makeVisible_) {
            return;
        }
        show();
    }
    scroll_ = true;
    step_ = 0;
    ShowFrameNow();
    timer_->start(interval_);
}

void TScrollText::Stop() {
    timer_->stop();
    scroll_ = false;
    step_ = 0;
}

void TScrollText::StopIfRunning() {
    if (scroll_) {
        Stop();
    }
}

void TScrollText::Tick() {
    if (!scroll_) {
        return;
    }
    ++step_;
    ShowFrameNow();
    if (step_ <= steps_) {
        return;
    }
    switch (style_) {
        case TScrollStyle::ssLoop:
            step_ = 0;
            break;
        case TScrollStyle::ssLoopReverse:
            step_ = steps_ - step_;
            switch (direction_) {
                case TScrollDirection::sdBottomToTop:
                    direction_ = TScrollDirection::sdTopToBottom;
                    break;
                case TScrollDirection::sdTopToBottom:
                    direction_ = TScrollDirection::sdBottomToTop;
                    break;
                case TScrollDirection::sdLeftToRight:
                    direction_ = TScrollDirection::sdRightToLeft;
                    break;
                case TScrollDirection::sdRightToLeft:
                    direction_ = TScrollDirection::sdLeftToRight;
                    break;
            }
            break;
        case TScrollStyle::ssOnce:
            Stop();
            break;
    }
}

void TScrollText::Measure() {
    const QFontMetrics fm(font_);
    lineWidths_.clear();
    staticLines_.clear();
    textWidth_ = 0;
    for (const QString& line : lines_) {
        const int w = fm.horizontalAdvance(line);
        lineWidths_.append(w);
        QStaticText laidOut(line);
        laidOut.setTextFormat(Qt::PlainText);
        laidOut.prepare(QTransform(), font_);
        staticLines_.append(laidOut);
        textWidth_ = std::max(textWidth_, w);
    }
    lineHeight_ = fm.size(Qt::TextSingleLine, QStringLiteral("W")).height();
}

// Ties go to the even neighbour, as the default floating-point rounding mode does.
int TScrollText::NearestEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

int TScrollText::TextLeft() const {
    const int w = width();
    const double f = static_cast<double>(step_) / steps_;
    switch (direction_) {
        case TScrollDirection::sdRightToLeft:
            return NearestEven((textWidth_ + w) * (1.0 - f)) - textWidth_;
        case TScrollDirection::sdLeftToRight:
            return NearestEven((textWidth_ + w) * f) - textWidth_;
        case TScrollDirection::sdBottomToTop:
        case TScrollDirection::sdTopToBottom:
            break;
    }
    return textWidth_ > w ? 0 : (w - textWidth_) / 2;
}

int TScrollText::TextTop() const {
    const int h = height();
    const double f = static_cast<double>(step_) / steps_;
    const int total = static_cast<int>(lines_.size()) * lineHeight_;
    switch (direction_) {
        case TScrollDirection::sdBottomToTop:
            return NearestEven((total + h) * (1.0 - f)) - total;
        case TScrollDirection::sdTopToBottom:
            return NearestEven((total + h) * f) - total;
        case TScrollDirection::sdLeftToRight:
        case TScrollDirection::sdRightToLeft:
            break;
    }
    return lineHeight_ > h ? 0 : (h - lineHeight_) / 2;
}

void TScrollText::ComposeFrame(int w, int h) {
    const QImage::Format format =
        transparent_ ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (frame_.width() != w || frame_.height() != h || frame_.format() != format) {
        frame_ = QImage(w, h, format);
    }
    ++frameCount_;
    if (frame_.isNull()) {
        return;
    }
    frame_.fill(transparent_ ? QColor(Qt::transparent) : color_);

    const int x = TextLeft();
    const int y = TextTop();
    const QRect image(0, 0, w, h);
    // The lines form one block as wide as the widest line; each line is aligned inside it.
    const int boxWidth = textWidth_;
    QPainter painter(&frame_);
    painter.setFont(font_);
    painter.setPen(fontColor_);
    for (int i = 0; i < lines_.size(); ++i) {
        const QRect box(x, y + i * lineHeight_, boxWidth, lineHeight_);
        if (!box.intersects(image)) {
            continue;
        }
        int offset = 0;
        switch (alignment_) {
            case TTextAlignment::taLeftJustify:
                break;
            case TTextAlignment::taRightJustify:
                offset = boxWidth - lineWidths_[i];
                break;
            case TTextAlignment::taCenter:
                offset = (boxWidth - lineWidths_[i]) / 2;
                break;
        }
        painter.drawStaticText(QPoint(box.left() + offset, box.top()), staticLines_[i]);
    }
}

void TScrollText::ShowFrameNow() {
    if (!isVisible()) {
        return;
    }
    repaint();
}

void TScrollText::paintEvent(QPaintEvent* /*event*/) {
    if (painting_) {
        return;
    }
    painting_ = true;
    ComposeFrame(width(), height());
    QPainter painter(this);
    if (transparent_) {
        painter.drawImage(0, 0, frame_);
    } else {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, frame_);
    }
    painting_ = false;
}

void TScrollText::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
    }
    event->accept();
}

void TScrollText::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    const bool click = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) {
        emit OnClick();
    }
}

// Qt also delivers the second press of a double click as a press; it begins no click.
void TScrollText::mouseDoubleClickEvent(QMouseEvent* event) {
    pressed_ = false;
    event->accept();
}

}  // namespace travoli
