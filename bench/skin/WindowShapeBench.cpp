// The window shape from the real shape bitmap 176, built in one pass, against
// two peers in the same run: turning the same image into a bitmap and a region
// through QBitmap (the usual Qt way), and the plain rule that toggles every
// white pixel into the region one at a time. Compare the ratios.
#include "res/ArtworkCatalog.h"
#include "res/ResourceImages.h"
#include "skin/WindowShape.h"

#include <QBitmap>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 280;
constexpr int kHeight = 522;

const QImage& ShapeImage() {
    static const QImage image = res::LoadBitmap(res::kWindowShapeBitmap).toImage();
    return image;
}

void BM_OnePass(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(skin::WindowShapeRegion(ShapeImage(), kWidth, kHeight));
    }
}
BENCHMARK(BM_OnePass);

// The white pixels as a mask bitmap, then a region from it.
void BM_ThroughQBitmap(benchmark::State& state) {
    for (auto _ : state) {
        const QImage mask = ShapeImage().createMaskFromColor(qRgb(255, 255, 255), Qt::MaskOutColor);
        benchmark::DoNotOptimize(QRegion(QBitmap::fromImage(mask)));
    }
}
BENCHMARK(BM_ThroughQBitmap);

void BM_TogglePerPixel(benchmark::State& state) {
    const QImage& image = ShapeImage();
    for (auto _ : state) {
        QRegion region(0, 0, kWidth, kHeight);
        for (int x = 0; x <= kWidth; ++x) {
            for (int y = 0; y <= kHeight; ++y) {
                if (image.valid(x, y) && (image.pixel(x, y) & 0xFFFFFFu) == 0xFFFFFFu) {
                    region = region.xored(QRegion(x, y, 1, 1));
                }
            }
        }
        benchmark::DoNotOptimize(region);
    }
}
BENCHMARK(BM_TogglePerPixel)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
