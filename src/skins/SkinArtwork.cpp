#include "SkinArtwork.h"

#include "MainWindowLayout.h"
#include "SkinConvert.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <functional>
#include <map>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Width = 236;
constexpr int Height = 90;

// Slots of the built-in picture; the controls are placed from the same rectangles.
constexpr QRect TimeSlot(50, 5, 73, 19);
constexpr QRect CostSlot(127, 5, 103, 19);
constexpr QRect PulsesSlot(50, 27, 39, 15);
constexpr QRect RemainingSlot(92, 27, 55, 15);
constexpr QRect ProgressSlot(150, 27, 80, 15);
constexpr QRect SentSlot(50, 45, 88, 14);
constexpr QRect ReceivedSlot(142, 45, 88, 14);
constexpr QRect ButtonTray(5, 63, 226, 23);

const QColor GlyphBackdrop(9, 40, 40); // the tray under the buttons
const QColor GlyphInk(230, 251, 246);

// Antialiased art on a transparent image becomes opaque pixels on the see-through colour: a
// pixel at least `threshold` opaque keeps its colour laid over `backdrop`, the others become
// the key. No half-key pixels, so the outline and the button masks stay clean.
QImage flatten(const QImage& art, int threshold, const QColor& backdrop) {
    const QImage source = art.convertToFormat(QImage::Format_ARGB32);
    QImage out(source.size(), QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const QRgb px = in[x];
            const int a = qAlpha(px);
            if (a < threshold) {
                line[x] = ArtworkKey;
                continue;
            }
            const auto mix = [a](int c, int under) { return (c * a + under * (255 - a)) / 255; };
            line[x] = qRgb(mix(qRed(px), backdrop.red()), mix(qGreen(px), backdrop.green()),
                           mix(qBlue(px), backdrop.blue()));
        }
    }
    return out;
}

QRectF inner(const QRect& r) {
    return QRectF(r.x() + 0.5, r.y() + 0.5, r.width() - 1.0, r.height() - 1.0);
}

void drawSlot(QPainter& p, const QRect& r, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(inner(r), radius, radius);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, QColor(3, 22, 22));
    fill.setColorAt(1, QColor(9, 42, 41));
    p.fillPath(path, fill);
    p.setPen(QPen(QColor(2, 13, 13), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    // A lit lower edge makes the slot look sunk into the panel.
    p.setPen(QPen(QColor(125, 205, 192, 110), 1));
    p.drawLine(QPointF(r.left() + radius, r.bottom() + 1.0),
               QPointF(r.right() - radius, r.bottom() + 1.0));
}

void drawFish(QPainter& p) {
    QPainterPath fin;
    fin.moveTo(22, 19);
    fin.cubicTo(24, 11, 30, 8, 36, 10);
    fin.cubicTo(33, 13, 33, 16, 34, 19);
    fin.closeSubpath();
    p.setPen(QPen(QColor(122, 46, 14), 1));
    p.setBrush(QColor(226, 110, 34));
    p.drawPath(fin);

    QPainterPath body;
    body.moveTo(45, 31);
    body.cubicTo(41, 18, 24, 14, 15, 25);
    body.lineTo(6, 17);
    body.cubicTo(8, 24, 8, 28, 10, 31);
    body.cubicTo(8, 34, 8, 38, 6, 45);
    body.lineTo(15, 37);
    body.cubicTo(24, 48, 41, 44, 45, 31);
    body.closeSubpath();
    QRadialGradient skin(QPointF(33, 25), 22);
    skin.setColorAt(0, QColor(255, 214, 128));
    skin.setColorAt(0.55, QColor(242, 142, 42));
    skin.setColorAt(1, QColor(196, 84, 26));
    p.setBrush(skin);
    p.setPen(Qt::NoPen);
    p.drawPath(body);

    // A pale band and the gill line, kept inside the body.
    p.save();
    p.setClipPath(body);
    QPainterPath band;
    band.moveTo(24, 14);
    band.cubicTo(20, 24, 20, 38, 24, 48);
    p.setPen(QPen(QColor(255, 246, 228), 4.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(band);
    p.setPen(QPen(QColor(122, 46, 14, 170), 1));
    QPainterPath gill;
    gill.moveTo(34, 22);
    gill.cubicTo(31, 27, 31, 35, 34, 40);
    p.drawPath(gill);
    p.restore();

    p.setPen(QPen(QColor(122, 46, 14), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(QPointF(38.5, 27.5), 3.2, 3.2);
    p.setBrush(QColor(20, 24, 30));
    p.drawEllipse(QPointF(39.2, 27.8), 1.7, 1.7);
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(QPointF(38.4, 26.9), 0.6, 0.6);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(175, 235, 226, 200), 1));
    p.drawEllipse(QPointF(44, 16), 2.2, 2.2);
    p.drawEllipse(QPointF(41, 9), 1.6, 1.6);
    p.drawEllipse(QPointF(45.5, 5.5), 1.1, 1.1);
}

void drawArrow(QPainter& p, const QRect& slot, bool up, const QColor& color) {
    const qreal cx = slot.left() + 7.5;
    const qreal cy = slot.top() + slot.height() / 2.0;
    QPolygonF arrow;
    if (up)
        arrow << QPointF(cx - 3.5, cy + 2.5) << QPointF(cx, cy - 3) << QPointF(cx + 3.5, cy + 2.5);
    else
        arrow << QPointF(cx - 3.5, cy - 2.5) << QPointF(cx, cy + 3) << QPointF(cx + 3.5, cy - 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(arrow);
}

using GlyphPainter = std::function<void(QPainter&)>;

QPen ink(const QColor& color, qreal width) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

const std::map<QString, GlyphPainter>& glyphPainters() {
    static const std::map<QString, GlyphPainter> painters = {
        {u"SpeedButton1"_s,
         [](QPainter& p) { // information
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(58, 160, 216));
             p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
             p.setBrush(GlyphInk);
             p.drawEllipse(QPointF(8, 4.9), 1.3, 1.3);
             p.drawRoundedRect(QRectF(6.9, 7, 2.2, 5.8), 0.8, 0.8);
         }},
        {u"SpeedButton2"_s,
         [](QPainter& p) { // close
             p.setPen(ink(QColor(255, 120, 104), 2.4));
             p.drawLine(QPointF(4, 4), QPointF(12, 12));
             p.drawLine(QPointF(12, 4), QPointF(4, 12));
         }},
        {u"SpeedButton3"_s,
         [](QPainter& p) { // SMS: an envelope
             p.setPen(ink(QColor(44, 111, 106), 1));
             p.setBrush(GlyphInk);
             p.drawRoundedRect(QRectF(1.5, 3.5, 13, 9), 1.2, 1.2);
             p.setBrush(Qt::NoBrush);
             p.setPen(ink(QColor(30, 90, 86), 1.2));
             QPainterPath flap;
             flap.moveTo(2.2, 4.3);
             flap.lineTo(8, 8.8);
             flap.lineTo(13.8, 4.3);
             p.drawPath(flap);
         }},
        {u"SpeedButtonDisconnetti"_s,
         [](QPainter& p) { // disconnect: plug pulled from its socket
             p.setPen(ink(QColor(255, 179, 71), 1.6));
             p.drawLine(QPointF(0.8, 8), QPointF(3.5, 8));
             p.setPen(ink(QColor(122, 60, 10), 0.8));
             p.setBrush(QColor(255, 179, 71));
             p.drawRoundedRect(QRectF(3.5, 4.5, 4.5, 7), 1.2, 1.2);
             p.setPen(ink(GlyphInk, 1.3));
             p.drawLine(QPointF(8.4, 6.2), QPointF(10, 6.2));
             p.drawLine(QPointF(8.4, 9.8), QPointF(10, 9.8));
             p.setPen(ink(QColor(122, 60, 10), 0.8));
             p.setBrush(GlyphInk);
             p.drawRoundedRect(QRectF(12, 3.5, 3.2, 9), 1, 1);
             p.setPen(ink(QColor(255, 120, 104), 1.1));
             p.drawLine(QPointF(10.6, 2), QPointF(11.4, 4));
             p.drawLine(QPointF(10.6, 14), QPointF(11.4, 12));
         }},
        {u"SpeedButton5"_s,
         [](QPainter& p) { // time signal: a clock
             p.setPen(ink(GlyphInk, 1.4));
             p.setBrush(QColor(22, 78, 76));
             p.drawEllipse(QRectF(1.7, 1.7, 12.6, 12.6));
             p.setPen(ink(QColor(255, 214, 128), 1.5));
             p.drawLine(QPointF(8, 8), QPointF(8, 4.2));
             p.drawLine(QPointF(8, 8), QPointF(10.8, 9.6));
         }},
        {u"SpeedButtonPopup"_s,
         [](QPainter& p) { // popup message: a speech bubble
             QPainterPath bubble;
             bubble.addRoundedRect(QRectF(1.5, 2, 13, 9), 3, 3);
             QPainterPath tail;
             tail.moveTo(4, 10);
             tail.lineTo(3.5, 14.5);
             tail.lineTo(8, 10);
             tail.closeSubpath();
             p.setPen(Qt::NoPen);
             p.setBrush(GlyphInk);
             p.drawPath(bubble.united(tail));
             p.setBrush(QColor(30, 110, 104));
             for (qreal x : {5.0, 8.0, 11.0})
                 p.drawEllipse(QPointF(x, 6.5), 1.05, 1.05);
         }},
        {u"SpeedButton7"_s,
         [](QPainter& p) { // statistics: bars
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(123, 224, 160));
             p.drawRect(QRectF(2, 9, 3, 5));
             p.setBrush(QColor(255, 214, 110));
             p.drawRect(QRectF(6.5, 5, 3, 9));
             p.setBrush(QColor(255, 140, 110));
             p.drawRect(QRectF(11, 2, 3, 12));
             p.setPen(ink(GlyphInk, 1));
             p.drawLine(QPointF(1, 14.5), QPointF(15, 14.5));
         }},
        {u"SpeedButton4"_s,
         [](QPainter& p) { // help
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(79, 191, 127));
             p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
             p.setPen(ink(GlyphInk, 1.9));
             p.setBrush(Qt::NoBrush);
             QPainterPath hook;
             hook.moveTo(5.6, 6.2);
             hook.cubicTo(5.6, 3.4, 10.4, 3.4, 10.4, 6.2);
             hook.cubicTo(10.4, 8, 8, 8, 8, 9.8);
             p.drawPath(hook);
             p.setPen(Qt::NoPen);
             p.setBrush(GlyphInk);
             p.drawEllipse(QPointF(8, 12.2), 1.2, 1.2);
         }},
        {u"SpeedButton8"_s,
         [](QPainter& p) { // hide
             p.setPen(Qt::NoPen);
             p.setBrush(GlyphInk);
             p.drawRoundedRect(QRectF(3, 10, 10, 2.6), 1, 1);
         }},
        {u"SpeedButtonRun"_s,
         [](QPainter& p) { // run the applications
             p.setPen(ink(QColor(20, 90, 60), 0.8));
             p.setBrush(QColor(123, 224, 160));
             p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(8, 8), QPointF(1.5, 12.5)}));
             p.drawPolygon(QPolygonF({QPointF(8, 3.5), QPointF(14.5, 8), QPointF(8, 12.5)}));
         }},
        {u"SpeedButtonStart"_s,
         [](QPainter& p) { // start counting
             p.setPen(ink(QColor(20, 90, 50), 0.9));
             p.setBrush(QColor(95, 224, 138));
             p.drawPolygon(QPolygonF({QPointF(4, 2.5), QPointF(13.5, 8), QPointF(4, 13.5)}));
         }},
    };
    return painters;
}

} // namespace

QImage DefaultSkinArtwork() {
    QImage art(Width, Height, QImage::Format_ARGB32_Premultiplied);
    art.fill(Qt::transparent);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);

    // The panel covers all but the last column and row, which the window's outline leaves out.
    const QRectF panel(0.5, 0.5, Width - 2.0, Height - 2.0);
    QPainterPath shape;
    shape.addRoundedRect(panel, 12, 12);
    QLinearGradient body(0, 0, 0, Height);
    body.setColorAt(0, QColor(42, 127, 120));
    body.setColorAt(0.45, QColor(24, 92, 88));
    body.setColorAt(1, QColor(11, 54, 53));
    p.fillPath(shape, body);

    QPainterPath sheen;
    sheen.addRoundedRect(QRectF(3, 2, Width - 8.0, Height * 0.42), 10, 10);
    QLinearGradient light(0, 2, 0, Height * 0.44);
    light.setColorAt(0, QColor(255, 255, 255, 46));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillPath(sheen, light);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(143, 214, 201), 1));
    p.drawPath(shape);
    QPainterPath rim;
    rim.addRoundedRect(panel.adjusted(1, 1, -1, -1), 11, 11);
    p.setPen(QPen(QColor(6, 34, 33, 150), 1));
    p.drawPath(rim);

    drawFish(p);
    for (const QRect& r :
         {TimeSlot, CostSlot, PulsesSlot, RemainingSlot, ProgressSlot, SentSlot, ReceivedSlot})
        drawSlot(p, r, 4);
    drawSlot(p, ButtonTray, 6);
    drawArrow(p, SentSlot, true, QColor(255, 179, 71));
    drawArrow(p, ReceivedSlot, false, QColor(123, 224, 160));
    p.end();
    return flatten(art, 128, QColor(11, 54, 53));
}

QImage ButtonArtwork(const QString& buttonName) {
    const auto it = glyphPainters().find(buttonName);
    if (it == glyphPainters().end())
        return {};
    QImage art(16, 16, QImage::Format_ARGB32_Premultiplied);
    art.fill(Qt::transparent);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    it->second(p);
    p.end();
    QImage glyph = flatten(art, 90, GlyphBackdrop);
    glyph.setPixel(0, 15, ArtworkKey); // the see-through colour is read from here
    return glyph;
}

const std::vector<ArtworkPlacement>& DefaultSkinPlacements() {
    // Labels end 4 pixels (3 in the small slots) before the right edge of their slot and are
    // centred in its height: 13 pixels for the 11-pixel font, 12 for the 10-pixel one.
    const auto label = [](const char* name, const QRect& slot, int inset, int pixels, bool bold,
                          qint32 color) {
        int width = 0;
        for (const DesignControl& d : MainWindowDesign())
            if (qstrcmp(d.name, name) == 0)
                width = d.geometry.width();
        const int height = pixels >= 11 ? 13 : 12;
        return ArtworkPlacement{name,
                                QPoint(slot.x() + slot.width() - inset - width,
                                       slot.y() + (slot.height() - height + 1) / 2),
                                pixels, bold, color};
    };
    static const std::vector<ArtworkPlacement> placements = [&label] {
        std::vector<ArtworkPlacement> v = {
            label("lbTempoTrascorso", TimeSlot, 4, 11, true, RgbColor(214, 255, 240)),
            label("lbSpesa", CostSlot, 4, 11, true, RgbColor(255, 214, 110)),
            label("lbNumeroScatti", PulsesSlot, 3, 11, false, RgbColor(150, 230, 255)),
            label("lbVestrel", RemainingSlot, 3, 11, false, RgbColor(200, 225, 220)),
            label("LabelBytesTransmitted", SentSlot, 4, 10, false, RgbColor(255, 205, 150)),
            label("LabelBytesReceived", ReceivedSlot, 4, 10, false, RgbColor(170, 240, 195)),
            {"pnProgress", QPoint(ProgressSlot.x() + 5, ProgressSlot.y() + 3), 11, false,
             RgbColor(214, 255, 240)},
        };
        const char* const buttons[] = {
            "SpeedButton1", "SpeedButton2",     "SpeedButton3",    "SpeedButtonDisconnetti",
            "SpeedButton5", "SpeedButtonPopup", "SpeedButton7",    "SpeedButton4",
            "SpeedButton8", "SpeedButtonRun",   "SpeedButtonStart"};
        int i = 0;
        for (const char* name : buttons)
            v.push_back({name, QPoint(ButtonTray.x() + 4 + 20 * i++, ButtonTray.y() + 2), 11, false,
                         RgbColor(230, 251, 246)});
        return v;
    }();
    return placements;
}

} // namespace vestrel
