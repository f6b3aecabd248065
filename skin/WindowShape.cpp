#include "skin/WindowShape.h"

#include "res/ArtworkCatalog.h"
#include "res/ResourceImages.h"

#include <QRect>

#include <algorithm>
#include <utility>
#include <vector>

namespace skin {

QRegion WindowShapeRegion(const QImage& shape, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    const QImage pixels = shape.convertToFormat(QImage::Format_RGB32);
    const int shapeWidth = std::min(pixels.width(), width + 1);
    const int shapeHeight = std::min(pixels.height(), height + 1);

    // One row at a time: a position belongs to the window when it lies in the
    // rectangle and is not white, or lies on the bounds and is white. Each run
    // of such positions is a span; a row whose spans equal the row above
    // grows that band instead of starting a new one, so the rectangles come
    // out banded, sorted and coalesced the way QRegion::setRects expects.
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> spans;
    std::vector<std::pair<int, int>> bandSpans;
    std::size_t bandStart = 0;
    for (int y = 0; y <= height; ++y) {
        const auto* row =
            y < shapeHeight ? reinterpret_cast<const QRgb*>(pixels.constScanLine(y)) : nullptr;
        spans.clear();
        int runStart = -1;
        for (int x = 0; x <= width + 1; ++x) {
            bool inside = false;
            if (x <= width) {
                const bool white =
                    row != nullptr && x < shapeWidth && (row[x] & 0x00FFFFFFu) == 0x00FFFFFFu;
                inside = (x < width && y < height) != white;
            }
            if (inside && runStart < 0) {
                runStart = x;
            } else if (!inside && runStart >= 0) {
                spans.emplace_back(runStart, x - runStart);
                runStart = -1;
            }
        }
        if (!spans.empty() && spans == bandSpans) {
            for (std::size_t i = bandStart; i < rects.size(); ++i) {
                rects[i].setHeight(rects[i].height() + 1);
            }
            continue;
        }
        bandStart = rects.size();
        for (const auto& [left, length] : spans) {
            rects.emplace_back(left, y, length, 1);
        }
        bandSpans.swap(spans);
    }
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

QRegion LoadWindowShape(int width, int height) {
    const QPixmap shape = res::LoadBitmap(res::kWindowShapeBitmap);
    if (shape.isNull()) {
        return QRegion(0, 0, std::max(width, 0), std::max(height, 0));
    }
    return WindowShapeRegion(shape.toImage(), width, height);
}

} // namespace skin
