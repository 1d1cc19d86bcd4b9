#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "media/widgets/scroll_text.h"

namespace {

const QString kEnglish = QStringLiteral(
    "Click here do visit the Zanfir Bytes Homepage.     The Zanfir Games - a series of non "
    "violent games for everyone between 8 and 88.     The legendary Zanfir Games are waiting "
    "for you.     ");

// One tick of the main window's band: the next step composed off screen and put on the
// (offscreen platform's) screen. The steps run through whole passes, so every position
// of the text is measured.
void BM_TickShownBand(benchmark::State& state) {
    travoli::TScrollText band;
    band.SetLines({kEnglish});
    band.show();
    QApplication::processEvents();
    band.SetScroll(true);
    for (auto _ : state) {
        band.Tick();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["frames"] = static_cast<double>(band.FrameCount());
}
BENCHMARK(BM_TickShownBand);

// Composing one frame at a fixed step, rendered into an image of the band's size.
void BM_ComposeFrame(benchmark::State& state) {
    travoli::TScrollText band;
    band.SetLines({kEnglish});
    band.show();
    QApplication::processEvents();
    band.SetScroll(true);
    for (int i = 0; i < state.range(0); ++i) {
        band.Tick();
    }
    QImage target(band.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        band.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComposeFrame)->Arg(0)->Arg(20)->Arg(750)->Arg(1440);

}  // namespace
