#include "media/widgets/simple_label.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>

namespace travoli {

// --- TBaseGraphicControl ---

TBaseGraphicControl::TBaseGraphicControl(QWidget* parent) : QWidget(parent), font_(font()) {
    setFocusPolicy(Qt::NoFocus);
}

void TBaseGraphicControl::SetFont(const QFont& font) {
    font_ = font;
    QWidget::setFont(font);
    FontChanged();
    update();
}

void TBaseGraphicControl::SetFontColor(const QColor& color) {
    fontColor_ = color;
    update();
}

QColor TBaseGraphicControl::Color() const {
    return color_.isValid() ? color_ : palette().color(QPalette::Window);
}

void TBaseGraphicControl::SetColor(const QColor& color) {
    color_ = color;
    update();
}

void TBaseGraphicControl::SetLoading(bool on) {
    const bool finished = loading_ && !on;
    loading_ = on;
    if (finished) {
        Loaded();
    }
}

void TBaseGraphicControl::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
    }
    MouseDown(event->button());
}

void TBaseGraphicControl::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const bool click = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) {
        Click();
    }
}

// Qt delivers the second press of a double click as a press too; it begins no click.
void TBaseGraphicControl::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    pressed_ = false;
}

// --- TBaseLabel ---

TBaseLabel::TBaseLabel(QWidget* parent) : TBaseGraphicControl(parent) {}

void TBaseLabel::SetCaption(const QString& caption) {
    if (caption == caption_) {
        return;
    }
    caption_ = caption;
    AdjustBounds();
    update();
}

void TBaseLabel::SetAutoSize(bool on) {
    autoSize_ = on;
    AdjustBounds();
}

void TBaseLabel::SetShowAccelChar(bool on) {
    showAccelChar_ = on;
    AdjustBounds();
    update();
}

void TBaseLabel::SetTransparent(bool on) {
    transparent_ = on;
    update();
}

void TBaseLabel::FontChanged() {
    AdjustBounds();
}

int TBaseLabel::TextFlags() const {
    int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs;
    if (showAccelChar_) {
        flags |= Qt::TextShowMnemonic;
    }
    return flags;
}

QSize TBaseLabel::CaptionExtent() const {
    const QFontMetrics fm(Font());
    // Trailing blanks take their room: the caption is measured as it is drawn.
    const QRect r = fm.boundingRect(QRect(0, 0, 0, 0), TextFlags(), caption_);
    return {r.width(), std::max(r.height(), fm.height())};
}

void TBaseLabel::AdjustBounds() {
    if (!autoSize_ || Loading()) {
        return;
    }
    resize(CaptionExtent());
}

void TBaseLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (!transparent_) {
        painter.fillRect(rect(), Color());
    }
    painter.setFont(Font());
    painter.setPen(isEnabled() ? FontColor() : palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(rect(), TextFlags(), caption_);
}

// --- TCustomSimpleLabel ---

TCustomSimpleLabel::TCustomSimpleLabel(QWidget* parent) : TBaseLabel(parent) {}

void TCustomSimpleLabel::SetJumpMode(TJumpMode mode) {
    if (mode == jumpMode_) {
        return;
    }
    jumpMode_ = mode;
    QFont font = Font();
    if (IsLinkMode()) {
        SetFontColor(inactiveColor_);
        if (jumpUnderline_) {
            font.setUnderline(true);
            SetFont(font);
        }
        setCursor(Qt::PointingHandCursor);
        return;
    }
    if (Loading()) {
        return;
    }
    unsetCursor();
    SetFontColor(QColor(0, 0, 0));
    if (jumpUnderline_) {
        font.setUnderline(false);
        SetFont(font);
    }
}

QString TCustomSimpleLabel::Target(bool mailRule) const {
    for (const QChar c : jump_) {
        if (c.unicode() > u' ') {
            return jump_;
        }
    }
    if (mailRule && Caption().contains(u'@')) {
        return QStringLiteral("mailto:") + Caption();
    }
    return Caption();
}

void TCustomSimpleLabel::MouseDown(Qt::MouseButton button) {
    if (button == Qt::LeftButton && IsLinkMode()) {
        SetFontColor(activeColor_);
        repaint();
    }
}

void TCustomSimpleLabel::FollowLink() {
    if (IsLinkMode()) {
        SetFontColor(activeColor_);
    }
    Click();
}

void TCustomSimpleLabel::Click() {
    switch (jumpMode_) {
        case TJumpMode::jmInternet:
        case TJumpMode::jmApplication: {
            const bool internet = jumpMode_ == TJumpMode::jmInternet;
            const std::string target = Target(internet).toStdString();
            if (opening_ || !opener_) {
                break;  // a slow opener is still at work and its outcome decides, or none
            }
            // Kept alive for the call even if the label's opener is replaced meanwhile.
            std::shared_ptr<LinkOpener> opener = opener_;
            QPointer<TCustomSimpleLabel> self(this);
            opening_ = true;  // before Open: an opener may answer before it returns
            opener->Open(target, [self, internet](bool ok) {
                if (!self) {
                    return;
                }
                self->opening_ = false;
                if (!ok && internet) {
                    self->OpenFailed();
                }
            });
            break;
        }
        case TJumpMode::jmNone:
        case TJumpMode::jmCustom:
            TBaseLabel::Click();
            break;
    }
}

// Silently no longer a link: colour and pointer stay as they are.
void TCustomSimpleLabel::OpenFailed() {
    jumpMode_ = TJumpMode::jmNone;
    setEnabled(false);
}

}  // namespace travoli
