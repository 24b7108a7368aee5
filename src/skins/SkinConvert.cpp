#include "SkinConvert.h"

#include <QAbstractButton>
#include <QBitmap>
#include <QGuiApplication>
#include <QPalette>
#include <QPixmap>
#include <QWidget>

#include <cmath>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

const char* const GlyphProperty = "vestrelSkinGlyph";

QColor systemColor(int index) {
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 0x01: // clBackground
    case 0x04: // clMenu
    case 0x0C: // clAppWorkSpace
    case 0x00: // clScrollBar
        return pal.color(QPalette::Window);
    case 0x02: // clActiveCaption
    case 0x0D: // clHighlight
        return pal.color(QPalette::Highlight);
    case 0x03: // clInactiveCaption
    case 0x0B: // clInactiveBorder
        return pal.color(QPalette::Inactive, QPalette::Highlight);
    case 0x05: // clWindow
        return pal.color(QPalette::Base);
    case 0x06: // clWindowFrame
    case 0x15: // cl3DDkShadow
        return pal.color(QPalette::Shadow);
    case 0x07: // clMenuText
    case 0x08: // clWindowText
        return pal.color(QPalette::WindowText);
    case 0x09: // clCaptionText
    case 0x0E: // clHighlightText
        return pal.color(QPalette::HighlightedText);
    case 0x13: // clInactiveCaptionText
    case 0x11: // clGrayText
        return pal.color(QPalette::Disabled, QPalette::Text);
    case 0x0A: // clActiveBorder
    case 0x0F: // clBtnFace
        return pal.color(QPalette::Button);
    case 0x10: // clBtnShadow
        return pal.color(QPalette::Dark);
    case 0x12: // clBtnText
        return pal.color(QPalette::ButtonText);
    case 0x14: // clBtnHighlight
        return pal.color(QPalette::Light);
    case 0x16: // cl3DLight
        return pal.color(QPalette::Midlight);
    case 0x17: // clInfoText
        return pal.color(QPalette::ToolTipText);
    case 0x18: // clInfoBk
        return pal.color(QPalette::ToolTipBase);
    default:
        return pal.color(QPalette::Window);
    }
}

} // namespace

QColor ToQColor(qint32 color) {
    if (color == clNone)
        return {};
    const quint32 bits = quint32(color);
    if ((bits & 0xFF000000u) == 0x80000000u)
        return systemColor(int(bits & 0xFF));
    return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

qint32 FromQColor(const QColor& color) {
    if (!color.isValid())
        return clNone;
    return RgbColor(color.red(), color.green(), color.blue());
}

QFont ToQFont(const store::TFont& font) {
    QFont f(font.Name());
    if (font.Height() != 0)
        f.setPixelSize(std::max(1, std::abs(font.Height())));
    const quint32 style = font.Style();
    f.setBold(style & (1u << store::fsBold));
    f.setItalic(style & (1u << store::fsItalic));
    f.setUnderline(style & (1u << store::fsUnderline));
    f.setStrikeOut(style & (1u << store::fsStrikeOut));
    if (font.Pitch() == store::fpFixed) {
        f.setFixedPitch(true);
        f.setStyleHint(QFont::TypeWriter);
    }
    return f;
}

void AssignFont(store::TFont& target, const QFont& font, const QColor& color) {
    target.SetName(font.family());
    if (font.pixelSize() > 0)
        target.SetHeight(-font.pixelSize());
    else
        target.SetHeight(-qRound(font.pointSizeF() * 96.0 / 72.0));
    quint32 style = 0;
    if (font.bold())
        style |= 1u << store::fsBold;
    if (font.italic())
        style |= 1u << store::fsItalic;
    if (font.underline())
        style |= 1u << store::fsUnderline;
    if (font.strikeOut())
        style |= 1u << store::fsStrikeOut;
    target.SetStyle(style);
    target.SetPitch(font.fixedPitch() ? store::fpFixed : store::fpDefault);
    target.SetColor(FromQColor(color));
}

QColor TextColorOf(const QWidget& control) {
    if (qobject_cast<const QAbstractButton*>(&control))
        return control.palette().color(QPalette::ButtonText);
    return control.palette().color(QPalette::WindowText);
}

void SetTextColor(QWidget& control, const QColor& color) {
    if (!color.isValid())
        return;
    QPalette pal = control.palette();
    pal.setColor(QPalette::WindowText, color);
    pal.setColor(QPalette::ButtonText, color);
    pal.setColor(QPalette::Text, color);
    control.setPalette(pal);
}

void SetButtonGlyph(QAbstractButton& button, const QImage& glyph) {
    button.setProperty(GlyphProperty, glyph);
    if (glyph.isNull()) {
        button.setIcon(QIcon());
        return;
    }
    QPixmap pixmap = QPixmap::fromImage(glyph);
    const QColor key = glyph.pixelColor(0, glyph.height() - 1);
    pixmap.setMask(QBitmap::fromImage(glyph.createMaskFromColor(key.rgb(), Qt::MaskInColor)));
    button.setIcon(QIcon(pixmap));
    button.setIconSize(glyph.size());
    button.resize(glyph.width() + 2, glyph.height() + 2);
}

QImage ButtonGlyph(const QAbstractButton& button) {
    const QVariant kept = button.property(GlyphProperty);
    if (kept.isValid())
        return kept.value<QImage>();
    const QIcon icon = button.icon();
    if (icon.isNull())
        return {};
    const QList<QSize> sizes = icon.availableSizes();
    const QSize size = sizes.isEmpty() ? button.iconSize() : sizes.first();
    return icon.pixmap(size).toImage().convertToFormat(QImage::Format_RGB32);
}

qint32 BottomLeftColor(const QImage& image) {
    if (image.isNull())
        return clNone;
    return FromQColor(image.pixelColor(0, image.height() - 1));
}

} // namespace vestrel
