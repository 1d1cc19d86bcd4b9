#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QStaticText>
#include <QStringList>
#include <QWidget>

class QTimer;

namespace travoli {

enum class TScrollDirection { sdBottomToTop, sdLeftToRight, sdRightToLeft, sdTopToBottom };
enum class TScrollStyle { ssLoop, ssLoopReverse, ssOnce };
enum class TTextAlignment { taLeftJustify, taRightJustify, taCenter };

// A band of text lines that moves across itself, one step per timer tick. It starts out
// with the main window's settings: 15 pixels high, black, light yellow 13-pixel Liberation
// Sans, 1500 steps of 100 ms from right to left, looping. The parent docks it at the bottom.
// A press and release of the left button on it fires OnClick.
class TScrollText : public QWidget {
    Q_OBJECT

  public:
    explicit TScrollText(QWidget* parent = nullptr);
    ~TScrollText() override;

    const QStringList& Lines() const { return lines_; }
    void SetLines(const QStringList& lines);
    // Replaces line `index`, or appends when `index` is the line count; any other index
    // throws std::out_of_range. The band re-measures and repaints at the current step.
    void SetLine(int index, const QString& text);

    bool Scroll() const { return scroll_; }
    void SetScroll(bool on);

    int Steps() const { return steps_; }
    void SetSteps(int steps);  // values below 1 are ignored
    int Interval() const { return interval_; }
    void SetInterval(int ms);  // values below 1 are ignored
    TScrollDirection Direction() const { return direction_; }
    void SetDirection(TScrollDirection direction);
    TScrollStyle ScrollStyle() const { return style_; }
    void SetScrollStyle(TScrollStyle style);
    TTextAlignment Alignment() const { return alignment_; }
    void SetAlignment(TTextAlignment alignment);
    bool MakeVisible() const { return makeVisible_; }
    void SetMakeVisible(bool on) { makeVisible_ = on; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    QFont Font() const { return font_; }
    void SetFont(const QFont& font);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);

    // While the owner builds its window the band neither starts nor measures; ending the
    // loading measures the text.
    bool Loading() const { return loading_; }
    void SetLoading(bool on);

    // One timer tick, also callable without waiting for the timer.
    void Tick();

    int Step() const { return step_; }
    // Where the text box stands at the current step in the current size.
    int TextLeft() const;
    int TextTop() const;
    int TextWidth() const { return textWidth_; }
    int LineHeight() const { return lineHeight_; }
    // Frames composed so far (each tick, start, line change and repaint composes one).
    long FrameCount() const { return frameCount_; }
    bool TimerActive() const;

    QSize sizeHint() const override;

  signals:
    void OnClick();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void Start();
    void Stop();
    void StopIfRunning();
    void Measure();
    void ComposeFrame(int w, int h);
    void ShowFrameNow();
    static int NearestEven(double v);

    QStringList lines_;
    bool scroll_ = false;
    int step_ = 0;
    int steps_ = 1500;
    int interval_ = 100;
    TScrollDirection direction_ = TScrollDirection::sdRightToLeft;
    TScrollStyle style_ = TScrollStyle::ssLoop;
    TTextAlignment alignment_ = TTextAlignment::taCenter;
    bool makeVisible_ = true;
    bool transparent_ = false;
    bool loading_ = false;
    QColor color_{0, 0, 0};
    QColor fontColor_{255, 255, 128};
    QFont font_;

    int textWidth_ = 0;
    int lineHeight_ = 0;
    QList<int> lineWidths_;
    QList<QStaticText> staticLines_;  // laid out once per text or font change

    QTimer* timer_ = nullptr;
    QImage frame_;  // reused while the band keeps its size
    bool painting_ = false;
    bool pressed_ = false;
    long frameCount_ = 0;
};

}  // namespace travoli
