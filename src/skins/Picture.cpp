#include "Picture.h"

#include "SkinConvert.h"

#include "common/VestrelError.h"
#include "store/Cp1252.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

const QByteArray BitmapClass = "TBitmap";
// Larger sides than any window could use: a damaged header must not ask for gigabytes.
constexpr qint32 MaxSide = 8192;

[[noreturn]] void fail(const QString& message) {
    throw VestrelError(message);
}

QImage decodeBmp(const QByteArray& bmp) {
    // BITMAPFILEHEADER (14 bytes) then at least the width and height of the info header.
    if (bmp.size() < 26 || !bmp.startsWith("BM"))
        fail(u"Immagine bitmap non valida"_s);
    const auto* bytes = reinterpret_cast<const uchar*>(bmp.constData());
    const quint32 headerSize = qFromLittleEndian<quint32>(bytes + 14);
    qint32 width = 0, height = 0;
    if (headerSize == 12) { // the old core header: 16-bit sides
        width = qFromLittleEndian<qint16>(bytes + 18);
        height = qFromLittleEndian<qint16>(bytes + 20);
    } else {
        width = qFromLittleEndian<qint32>(bytes + 18);
        height = qFromLittleEndian<qint32>(bytes + 22);
    }
    if (width <= 0 || width > MaxSide || height == 0 || height < -MaxSide || height > MaxSide)
        fail(u"Immagine bitmap non valida: dimensioni "_s + QString::number(width) + u" x "_s +
             QString::number(height));
    QBuffer buffer;
    buffer.setData(bmp);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    QImage image = reader.read();
    if (image.isNull())
        fail(u"Immagine bitmap non valida"_s);
    return image;
}

} // namespace

const store::ClassInfo& TPicture::staticClassInfo() {
    static const store::ClassInfo info =
        store::ClassBuilder<TPicture>("TPicture", nullptr)
            .binary(
                "Data", [](const TPicture& p) { return !p.Empty(); }, &TPicture::Data,
                &TPicture::SetData)
            .build();
    return info;
}

void TPicture::SetImage(const QImage& image) {
    // Equal pixels keep the stored bytes, so recording a skin again does not rewrite it.
    if (image == m_image)
        return;
    m_image = image;
    m_data.clear();
    changed();
}

void TPicture::Assign(const TPicture& other) {
    m_image = other.m_image;
    m_data = other.m_data;
    m_transparent = other.m_transparent;
    changed();
}

qint32 TPicture::TransparentColor() const {
    return BottomLeftColor(m_image);
}

QByteArray TPicture::EncodeBmp(const QImage& image) {
    const QImage source =
        image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_RGB32) : image;
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    if (!source.save(&buffer, "BMP"))
        fail(u"Impossibile salvare l'immagine bitmap"_s);
    return bmp;
}

QByteArray TPicture::Data() const {
    if (m_image.isNull())
        return {};
    if (!m_data.isEmpty())
        return m_data;
    const QByteArray bmp = EncodeBmp(m_image);
    QByteArray out;
    out.reserve(1 + BitmapClass.size() + 4 + bmp.size());
    out.append(char(BitmapClass.size()));
    out.append(BitmapClass);
    char length[4];
    qToLittleEndian<quint32>(quint32(bmp.size()), length);
    out.append(length, 4);
    out.append(bmp);
    return out;
}

void TPicture::SetData(const QByteArray& data) {
    if (data.isEmpty())
        fail(u"Stream read error"_s);
    const int nameLength = static_cast<unsigned char>(data[0]);
    if (data.size() < 1 + nameLength)
        fail(u"Stream read error"_s);
    const QByteArray className = data.mid(1, nameLength);
    if (!store::SameName(className, BitmapClass))
        fail(u"Tipo di immagine non supportato: "_s + store::FromCp1252(className));
    const qsizetype at = 1 + nameLength;
    if (data.size() < at + 4)
        fail(u"Stream read error"_s);
    const quint32 length = qFromLittleEndian<quint32>(data.constData() + at);
    if (quint64(length) > quint64(data.size() - at - 4))
        fail(u"Stream read error"_s);
    QImage image;
    if (length > 0)
        image = decodeBmp(data.mid(at + 4, qsizetype(length)));
    m_image = image;
    m_data = image.isNull() ? QByteArray() : data;
    changed();
}

} // namespace vestrel
