#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace travoli {

// A flat toolbar button with a small picture: no frame until the pointer rests on it,
// sunken while pressed or down. With GroupIndex and AllowAllUp it toggles its Down state.
class TSpeedButton : public QAbstractButton {
    Q_OBJECT
  public:
    enum class GlyphPlace { Centred, Left2 };

    TSpeedButton(QWidget* parent, QPixmap glyph, QPixmap disabledGlyph = {},
                 GlyphPlace place = GlyphPlace::Centred);

    // A toggle button (GroupIndex 1, AllowAllUp): each click flips Down.
    void SetToggle(bool toggle) { setCheckable(toggle); }
    bool Down() const { return isChecked(); }
    void SetDown(bool down) { setChecked(down); }

    QSize sizeHint() const override { return size(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    QPixmap glyph_;
    QPixmap disabledGlyph_;
    GlyphPlace place_;
    bool hovered_ = false;
};

}  // namespace travoli
