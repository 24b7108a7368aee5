#pragma once

#include "store/NestedObjects.h"

#include <QByteArray>
#include <QImage>

namespace vestrel {

// A picture property (the skin background, a button image): written as Name.Data, the graphic's
// class name "TBitmap" followed by a 4-byte length and a BMP file image; left out when empty.
// The bytes read from a file are kept and written back unchanged until the image is replaced.
class TPicture : public store::TPersistent {
public:
    explicit TPicture(store::ChangeNotify onChange = {})
        : m_onChange(std::move(onChange)) {}

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    const QImage& Image() const { return m_image; }
    void SetImage(const QImage& image);
    bool Empty() const { return m_image.isNull(); }
    void Clear() { SetImage({}); }
    // Copies image, stored bytes and the transparency mark.
    void Assign(const TPicture& other);

    // In memory only, as for the platform's bitmaps: whether the picture is meant to be shown
    // with its see-through colour (the colour of its bottom-left pixel) left out.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool transparent) { m_transparent = transparent; }
    qint32 TransparentColor() const;

    QByteArray Data() const;
    // Raises a VestrelError on a payload that is not a readable bitmap; the picture is then
    // unchanged.
    void SetData(const QByteArray& data);

    // The BMP file image of an image (24 bits per pixel for true-colour images).
    static QByteArray EncodeBmp(const QImage& image);

private:
    void changed() {
        if (m_onChange)
            m_onChange();
    }

    QImage m_image;
    QByteArray m_data; // as read, empty once the image is replaced
    bool m_transparent = false;
    store::ChangeNotify m_onChange;
};

} // namespace vestrel
