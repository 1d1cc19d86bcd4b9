#include <QDialog>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <stdexcept>

#include "media/widgets/scroll_text.h"

using travoli::TScrollDirection;
using travoli::TScrollStyle;
using travoli::TScrollText;

namespace {

const QString kEnglish = QStringLiteral(
    "Click here do visit the Zanfir Bytes Homepage.     The Zanfir Games - a series of non "
    "violent games for everyone between 8 and 88.     The legendary Zanfir Games are waiting "
    "for you.     ");

void TickTimes(TScrollText& band, int n) {
    for (int i = 0; i < n; ++i) {
        band.Tick();
    }
}

// The columns of the frame that hold anything but the background.
struct Ink {
    int first = -1;
    int last = -1;
    int rows_first = -1;
    bool exact_font_colour = false;
};

Ink FindInk(TScrollText& band) {
    const QImage image = band.grab().toImage().convertToFormat(QImage::Format_RGB32);
    Ink ink;
    const QRgb background = band.Color().rgb();
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QRgb p = image.pixel(x, y);
            if (p == background) {
                continue;
            }
            if (ink.first < 0) {
                ink.first = x;
            }
            ink.last = x;
            if (ink.rows_first < 0 || y < ink.rows_first) {
                ink.rows_first = y;
            }
            ink.exact_font_colour |= (p == band.FontColor().rgb());
        }
    }
    return ink;
}

}  // namespace

class ScrollTextTest : public QObject {
    Q_OBJECT

  private slots:
    void startsWithTheMainWindowSettings() {
        TScrollText band;
        QCOMPARE(band.height(), 15);
        QCOMPARE(band.width(), 337);
        QCOMPARE(band.Steps(), 1500);
        QCOMPARE(band.Interval(), 100);
        QCOMPARE(band.Direction(), TScrollDirection::sdRightToLeft);
        QCOMPARE(band.ScrollStyle(), TScrollStyle::ssLoop);
        QCOMPARE(band.Color(), QColor(0, 0, 0));
        QCOMPARE(band.FontColor(), QColor(255, 255, 128));
        QCOMPARE(QFontInfo(band.Font()).family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(band.Font().pixelSize(), 13);
        QVERIFY(!band.Scroll());
        QVERIFY(!band.TimerActive());
    }

    void measuresWithTheDrawingFont() {
        TScrollText band;
        band.SetLines({kEnglish});
        const QFontMetrics fm(band.Font());
        QCOMPARE(band.TextWidth(), fm.horizontalAdvance(kEnglish));
        QCOMPARE(band.LineHeight(), fm.height());
        // Trailing blanks count.
        band.SetLines({QStringLiteral("ab")});
        const int bare = band.TextWidth();
        band.SetLines({QStringLiteral("ab   ")});
        QVERIFY(band.TextWidth() > bare);
        // The widest of several lines.
        band.SetLines({QStringLiteral("a"), QStringLiteral("abcdef"), QStringLiteral("abc")});
        QCOMPARE(band.TextWidth(), fm.horizontalAdvance(QStringLiteral("abcdef")));
    }

    void positionAcrossOnePass_data() {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("where");
        QTest::newRow("start") << 0 << 0 << "right";
        QTest::newRow("first tick") << 1 << 1 << "entering";
        QTest::newRow("half way") << 750 << 750 << "half";
        QTest::newRow("last step") << 1500 << 1500 << "left";
        QTest::newRow("one past") << 1501 << 0 << "gone";
        QTest::newRow("again") << 1502 << 1 << "entering";
    }

    void positionAcrossOnePass() {
        QFETCH(int, ticks);
        QFETCH(int, step);
        QFETCH(QString, where);
        TScrollText band;
        band.SetLines({kEnglish});
        band.show();
        QVERIFY(QTest::qWaitForWindowExposed(&band));
        band.SetScroll(true);
        TickTimes(band, ticks);
        QCOMPARE(band.Step(), step);
        const int w = band.width();
        const int t = band.TextWidth();
        QVERIFY(t > w);
        const Ink ink = FindInk(band);
        if (where == "right") {
            QCOMPARE(band.TextLeft(), w);
            QCOMPARE(ink.first, -1);
        } else if (where == "entering") {
            // Less than one pixel per tick: the first tick moves it by exactly one.
            QCOMPARE(band.TextLeft(), w - 1);
        } else if (where == "half") {
            QCOMPARE(band.TextLeft(), static_cast<int>(std::nearbyint((t + w) / 2.0)) - t);
            QVERIFY(ink.first >= 0);
            QVERIFY(ink.exact_font_colour);
        } else if (where == "left") {
            QCOMPARE(band.TextLeft(), -t);
            QCOMPARE(ink.first, -1);
        } else if (where == "gone") {
            // The frame of tick 1501 stood one pixel beyond the left edge; now the pass
            // restarts and the band shows step 0, beyond the right edge.
            QCOMPARE(band.TextLeft(), w);
            QVERIFY(band.Scroll());
            QVERIFY(band.TimerActive());
        }
    }

    void textMovesByWholePixelsAtAnEvenPace() {
        TScrollText band;
        band.SetLines({kEnglish});
        band.SetScroll(true);
        const int w = band.width();
        const int t = band.TextWidth();
        int previous = band.TextLeft();
        int moved = 0;
        for (int i = 1; i <= 1500; ++i) {
            band.Tick();
            const int x = band.TextLeft();
            QVERIFY2(previous - x == 0 || previous - x == 1, qPrintable(QString::number(i)));
            moved += previous - x;
            previous = x;
        }
        QCOMPARE(moved, t + w);
    }

    void frameDrawsTheTextWhereItStands_data() {
        QTest::addColumn<int>("ticks");
        QTest::newRow("entering") << 20;
        QTest::newRow("middle") << 700;
        QTest::newRow("leaving") << 1440;
    }

    void frameDrawsTheTextWhereItStands() {
        QFETCH(int, ticks);
        TScrollText band;
        band.SetLines({kEnglish});
        band.show();
        QVERIFY(QTest::qWaitForWindowExposed(&band));
        band.SetScroll(true);
        TickTimes(band, ticks);
        const int x = band.TextLeft();
        const Ink ink = FindInk(band);
        QVERIFY(ink.first >= 0);
        QVERIFY(ink.first >= std::max(0, x));
        if (x >= 0) {
            QVERIFY(ink.first <= x + 3);
        }
        QVERIFY(ink.last < x + band.TextWidth());
        // A repaint draws the same frame and does not advance.
        const QImage again = band.grab().toImage();
        QCOMPARE(band.Step(), ticks);
        QCOMPARE(again, band.grab().toImage());
    }

    void tiesRoundToEven_data() {
        QTest::addColumn<int>("half");  // (text width + band width) = 2 * half + 1
        QTest::newRow("even below") << 200;
        QTest::newRow("odd below") << 201;
        QTest::newRow("even below again") << 202;
        QTest::newRow("odd again") << 203;
    }

    void tiesRoundToEven() {
        QFETCH(int, half);
        TScrollText band;
        band.SetLines({QStringLiteral("tie")});
        band.SetSteps(2);
        const int t = band.TextWidth();
        band.resize(2 * half + 1 - t, 15);
        band.SetScroll(true);
        band.Tick();  // f = 0.5: the position lies exactly between two pixels
        const int even = half % 2 == 0 ? half : half + 1;
        QCOMPARE(band.TextLeft(), even - t);
    }

    void lineChangeKeepsTheStep() {
        TScrollText band;
        band.SetLines({kEnglish});
        band.show();
        QVERIFY(QTest::qWaitForWindowExposed(&band));
        band.SetScroll(true);
        TickTimes(band, 300);
        const int old_left = band.TextLeft();
        const long frames = band.FrameCount();
        band.SetLine(0, QStringLiteral("Kurz."));
        QCOMPARE(band.Step(), 300);
        QCOMPARE(band.TextWidth(), QFontMetrics(band.Font()).horizontalAdvance("Kurz."));
        QCOMPARE(band.FrameCount(), frames + 1);  // repainted at once
        const int t = band.TextWidth();
        QCOMPARE(band.TextLeft(), static_cast<int>(std::nearbyint((t + 337) * 0.8)) - t);
        QVERIFY(band.TextLeft() != old_left);
        band.Tick();
        QCOMPARE(band.Step(), 301);
        QVERIFY(band.Scroll());
    }

    void setLineOutOfRangeThrowsAndKeepsLines() {
        TScrollText band;
        band.SetLine(0, QStringLiteral("first"));  // appends to an empty list
        QCOMPARE(band.Lines(), QStringList{"first"});
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, band.SetLine(2, QStringLiteral("x")));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, band.SetLine(-1, QStringLiteral("x")));
        QCOMPARE(band.Lines(), QStringList{"first"});
    }

    void onlyStartDrawsStepZero() {
        TScrollText band;
        band.SetLines({kEnglish});
        band.show();
        QVERIFY(QTest::qWaitForWindowExposed(&band));
        long frames = band.FrameCount();
        band.SetScroll(true);
        QCOMPARE(band.FrameCount(), frames + 1);
        band.SetScroll(true);  // already scrolling: nothing
        QCOMPARE(band.FrameCount(), frames + 1);
        frames = band.FrameCount();
        TickTimes(band, 1501);
        QCOMPARE(band.FrameCount(), frames + 1501);
        QCOMPARE(band.Step(), 0);
        band.Tick();
        QCOMPARE(band.Step(), 1);
        QCOMPARE(band.FrameCount(), frames + 1502);
    }

    void emptyLinesIgnoreScroll() {
        TScrollText band;
        band.show();
        QVERIFY(QTest::qWaitForWindowExposed(&band));
        const long frames = band.FrameCount();
        band.SetScroll(true);
        QVERIFY(!band.Scroll());
        QVERIFY(!band.TimerActive());
        QCOMPARE(band.FrameCount(), frames);
        band.Tick();
        QCOMPARE(band.Step(), 0);
        QCOMPARE(band.FrameCount(), frames);
    }

    void loadingIgnoresScroll() {
        TScrollText band;
        band.SetLoading(true);
        band.SetLines({kEnglish});
        band.SetScroll(true);
        QVERIFY(!band.Scroll());
        band.SetLoading(false);
        band.SetScroll(true);
        QVERIFY(band.Scroll());
    }

    void startShowsAHiddenBandOnlyWithMakeVisible() {
        QWidget window;
        window.resize(337, 100);
        auto* band = new TScrollText(&window);
        band->SetLines({kEnglish});
        band->hide();
        window.show();
        band->SetMakeVisible(false);
        band->SetScroll(true);
        QVERIFY(!band->Scroll());
        QVERIFY(band->isHidden());
        band->SetMakeVisible(true);
        band->SetScroll(true);
        QVERIFY(band->Scroll());
        QVERIFY(band->isVisible());
    }

    void settingsChangedWhileRunningStop_data() {
        QTest::addColumn<int>("which");
        QTest::newRow("steps") << 0;
        QTest::newRow("interval") << 1;
        QTest::newRow("direction") << 2;
        QTest::newRow("style") << 3;
    }

    void settingsChangedWhileRunningStop() {
        QFETCH(int, which);
        TScrollText band;
        band.SetLines({kEnglish});
        band.SetScroll(true);
        TickTimes(band, 10);
        switch (which) {
            case 0:
                band.SetSteps(0);  // not taken
                QVERIFY(band.Scroll());
                QCOMPARE(band.Steps(), 1500);
                band.SetSteps(100);
                break;
            case 1:
                band.SetInterval(50);
                break;
            case 2:
                band.SetDirection(TScrollDirection::sdLeftToRight);
                break;
            case 3:
                band.SetScrollStyle(TScrollStyle::ssOnce);
                break;
        }
        QVERIFY(!band.Scroll());
        QVERIFY(!band.TimerActive());
        QCOMPARE(band.Step(), 0);
    }

    // A 300 x 40 band with two lines: where the block stands at the start and the end.
    void otherDirections_data() {
        QTest::addColumn<TScrollDirection>("direction");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("top");
        const auto ltr = TScrollDirection::sdLeftToRight;
        const auto btt = TScrollDirection::sdBottomToTop;
        const auto ttb = TScrollDirection::sdTopToBottom;
        QTest::newRow("left to right, start") << ltr << 0 << "-width"
                                              << "centre";
        QTest::newRow("left to right, end") << ltr << 10 << "band"
                                            << "centre";
        QTest::newRow("bottom to top, start") << btt << 0 << "centre"
                                              << "band";
        QTest::newRow("bottom to top, end") << btt << 10 << "centre"
                                            << "-height";
        QTest::newRow("top to bottom, start") << ttb << 0 << "centre"
                                              << "-height";
        QTest::newRow("top to bottom, end") << ttb << 10 << "centre"
                                            << "band";
    }

    void otherDirections() {
        QFETCH(TScrollDirection, direction);
        QFETCH(int, step);
        QFETCH(QString, left);
        QFETCH(QString, top);
        TScrollText band;
        band.resize(300, 40);
        band.SetLines({QStringLiteral("one line"), QStringLiteral("another")});
        band.SetSteps(10);
        band.SetDirection(direction);
        band.SetScroll(true);
        TickTimes(band, step);
        const int t = band.TextWidth();
        const int lh = band.LineHeight();
        const int want_left = left == "-width" ? -t : left == "centre" ? (300 - t) / 2 : 300;
        const int want_top = top == "-height" ? -2 * lh : top == "centre" ? (40 - lh) / 2 : 40;
        QCOMPARE(band.TextLeft(), want_left);
        QCOMPARE(band.TextTop(), want_top);
    }

    void tallLineOrWideTextStandsAtZero() {
        TScrollText band;
        band.resize(20, 5);
        band.SetLines({kEnglish});
        QCOMPARE(band.TextTop(), 0);
        band.SetDirection(TScrollDirection::sdBottomToTop);
        QCOMPARE(band.TextLeft(), 0);
    }

    void onceStopsAfterAPass() {
        TScrollText band;
        band.SetLines({kEnglish});
        band.SetSteps(5);
        band.SetScrollStyle(TScrollStyle::ssOnce);
        band.SetScroll(true);
        TickTimes(band, 5);
        QVERIFY(band.Scroll());
        band.Tick();
        QVERIFY(!band.Scroll());
        QVERIFY(!band.TimerActive());
        QCOMPARE(band.Step(), 0);
    }

    void loopReverseTurnsBack() {
        TScrollText band;
        band.SetLines({kEnglish});
        band.SetSteps(5);
        band.SetScrollStyle(TScrollStyle::ssLoopReverse);
        band.SetScroll(true);
        TickTimes(band, 6);
        QVERIFY(band.Scroll());
        QCOMPARE(band.Direction(), TScrollDirection::sdLeftToRight);
        QCOMPARE(band.Step(), -1);
        band.Tick();
        // Back where the pass ended: just beyond the left edge, now moving right.
        QCOMPARE(band.Step(), 0);
        QCOMPARE(band.TextLeft(), -band.TextWidth());
        TickTimes(band, 5);
        QCOMPARE(band.TextLeft(), band.width());
    }

    void clickAnywhereFiresOnce_data() {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("clicks");
        QTest::newRow("empty black part")
            << QPoint(5, 7) << QPoint(5, 7) << int(Qt::LeftButton) << 1;
        QTest::newRow("right end") << QPoint(336, 14) << QPoint(330, 2) << int(Qt::LeftButton) << 1;
        QTest::newRow("released outside")
            << QPoint(5, 7) << QPoint(5, 40) << int(Qt::LeftButton) << 0;
        QTest::newRow("right button") << QPoint(5, 7) << QPoint(5, 7) << int(Qt::RightButton) << 0;
    }

    void clickAnywhereFiresOnce() {
        QFETCH(QPoint, press);
        QFETCH(QPoint, release);
        QFETCH(int, button);
        QFETCH(int, clicks);
        TScrollText band;
        band.SetLines({kEnglish});
        band.show();
        QVERIFY(QTest::qWaitForWindowExposed(&band));
        band.SetScroll(true);
        QSignalSpy spy(&band, &TScrollText::OnClick);
        const auto b = static_cast<Qt::MouseButton>(button);
        QTest::mousePress(&band, b, {}, press);
        QTest::mouseRelease(&band, b, {}, release);
        QCOMPARE(spy.count(), clicks);
        QVERIFY(band.Scroll());
    }

    void doubleClickIsOneClick() {
        TScrollText band;
        band.SetLines({kEnglish});
        band.show();
        QVERIFY(QTest::qWaitForWindowExposed(&band));
        QSignalSpy spy(&band, &TScrollText::OnClick);
        // The events Qt delivers for a double click.
        const QPoint at(10, 7);
        QTest::mousePress(&band, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&band, Qt::LeftButton, {}, at);
        QTest::mousePress(&band, Qt::LeftButton, {}, at);
        QTest::mouseDClick(&band, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&band, Qt::LeftButton, {}, at);
        QCOMPARE(spy.count(), 1);
    }

    void timerTicksInsideAModalDialog() {
        TScrollText band;
        band.SetLines({kEnglish});
        band.SetInterval(20);
        band.show();
        band.SetScroll(true);
        QDialog dialog;
        QTimer::singleShot(300, &dialog, &QDialog::accept);
        dialog.exec();
        QVERIFY2(band.Step() >= 5, qPrintable(QString::number(band.Step())));
        QVERIFY(band.Step() <= 20);
    }

    void transparentBandLetsTheParentShow() {
        QWidget parent;
        parent.resize(100, 15);
        parent.setAutoFillBackground(true);
        QPalette pal = parent.palette();
        pal.setColor(QPalette::Window, QColor(10, 200, 30));
        parent.setPalette(pal);
        auto* band = new TScrollText(&parent);
        band->resize(100, 15);
        band->SetLines({QStringLiteral("x")});
        band->SetTransparent(true);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        const QImage image = parent.grab().toImage();
        QCOMPARE(QColor(image.pixel(3, 3)), QColor(10, 200, 30));
        band->SetTransparent(false);
        QCOMPARE(QColor(parent.grab().toImage().pixel(3, 3)), QColor(0, 0, 0));
    }
};

QTEST_MAIN(ScrollTextTest)
#include "scroll_text_test.moc"
