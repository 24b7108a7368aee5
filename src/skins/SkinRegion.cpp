#include "SkinRegion.h"

#include <vector>

namespace vestrel {

QRegion OutlineRegion(const QImage& picture) {
    if (picture.isNull())
        return {};
    // No dithering: a pixel of exactly the key colour must always land on the key's index.
    const QImage indexed = picture.convertToFormat(
        QImage::Format_Indexed8, Qt::ColorOnly | Qt::ThresholdDither | Qt::AvoidDither);
    const int width = indexed.width();
    const int height = indexed.height();
    const uchar key = indexed.constScanLine(height - 1)[0];

    QRegion region(0, 0, width - 1, height - 1);
    std::vector<QRect> cuts;
    cuts.reserve(OutlineBatch);
    const auto subtract = [&region, &cuts] {
        if (cuts.empty())
            return;
        QRegion batch;
        batch.setRects(cuts.data(), int(cuts.size())); // runs are sorted by row, then column
        region -= batch;
        cuts.clear();
    };
    for (int y = 0; y < height; ++y) {
        const uchar* row = indexed.constScanLine(y);
        int x = 0;
        while (x < width) {
            if (row[x] != key) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && row[x] == key)
                ++x;
            cuts.emplace_back(start, y, x - start, 1);
            if (int(cuts.size()) == OutlineBatch)
                subtract();
        }
    }
    subtract();
    return region;
}

} // namespace vestrel
