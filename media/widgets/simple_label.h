#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

#include <memory>

#include "media/widgets/link_opener.h"

namespace travoli {

// A control without a window of its own: a rectangle on its parent with a font, a font
// colour, a background colour (the parent's unless set) and a click event.
class TBaseGraphicControl : public QWidget {
    Q_OBJECT

  public:
    explicit TBaseGraphicControl(QWidget* parent = nullptr);

    QFont Font() const { return font_; }
    void SetFont(const QFont& font);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);
    // The parent's background colour until one is set.
    QColor Color() const;
    void SetColor(const QColor& color);

    // True while the owner is still setting the control up; clearing it calls Loaded().
    bool Loading() const { return loading_; }
    void SetLoading(bool on);

  signals:
    void OnClick();

  protected:
    virtual void Loaded() {}
    virtual void FontChanged() {}
    // A button went down on the control (also the second press of a double click).
    virtual void MouseDown(Qt::MouseButton /*button*/) {}
    // Left press and release over the control.
    virtual void Click() { emit OnClick(); }

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QFont font_;
    QColor fontColor_{0, 0, 0};
    QColor color_;  // invalid: take the parent's
    bool loading_ = false;
    bool pressed_ = false;
};

// Paints its caption on one line and, with AutoSize, takes the caption's size.
class TBaseLabel : public TBaseGraphicControl {
    Q_OBJECT

  public:
    explicit TBaseLabel(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool on);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);

    // The caption's extent in the label's font, as painted.
    QSize CaptionExtent() const;

  protected:
    void Loaded() override { AdjustBounds(); }
    void FontChanged() override;
    void AdjustBounds();
    int TextFlags() const;
    void paintEvent(QPaintEvent* event) override;

  private:
    QString caption_;
    bool autoSize_ = true;
    bool showAccelChar_ = true;
    bool transparent_ = true;
};

enum class TJumpMode { jmInternet, jmApplication, jmNone, jmCustom };

// A label that looks like a link and opens its target through a LinkOpener when clicked.
class TCustomSimpleLabel : public TBaseLabel {
    Q_OBJECT

  public:
    explicit TCustomSimpleLabel(QWidget* parent = nullptr);

    QString Jump() const { return jump_; }
    void SetJump(const QString& jump) { jump_ = jump; }
    TJumpMode JumpMode() const { return jumpMode_; }
    void SetJumpMode(TJumpMode mode);
    // The link's colours, before and once followed; the game keeps their defaults.
    QColor InActiveColor() const { return inactiveColor_; }
    QColor ActiveColor() const { return activeColor_; }
    bool JumpUnderline() const { return jumpUnderline_; }
    void SetJumpUnderline(bool on) { jumpUnderline_ = on; }

    // Where a click sends the target; without one a click opens nothing.
    void SetOpener(std::shared_ptr<LinkOpener> opener) { opener_ = std::move(opener); }

    // Follows the link as a click would; works on a hidden label too. While an open is in
    // flight, a further follow starts nothing.
    void FollowLink();

    // What a click hands to the opener: Jump as stored unless it is blank, else the
    // caption, with "mailto:" in front of an address when `mailRule` is set.
    QString Target(bool mailRule) const;

  protected:
    void MouseDown(Qt::MouseButton button) override;
    void Click() override;

  private:
    bool IsLinkMode() const { return jumpMode_ != TJumpMode::jmNone; }
    void OpenFailed();

    QString jump_;
    TJumpMode jumpMode_ = TJumpMode::jmNone;
    const QColor inactiveColor_{0, 0, 255};
    const QColor activeColor_{128, 0, 128};
    bool jumpUnderline_ = true;
    bool opening_ = false;  // an open is in flight
    std::shared_ptr<LinkOpener> opener_;
};

class TSimpleLabel : public TCustomSimpleLabel {
    Q_OBJECT

  public:
    explicit TSimpleLabel(QWidget* parent = nullptr) : TCustomSimpleLabel(parent) {}
};

}  // namespace travoli
