#pragma once

#include "ValueTag.h"

#include <QString>

#include <QByteArray>
#include <QIODevice>

#include <array>
#include <cstring>

namespace vestrel::store {

// Writes through a 4096-byte buffer; a failing device raises its error text.
class StreamOutput {
public:
    explicit StreamOutput(QIODevice& device) : m_device(device) {}
    StreamOutput(const StreamOutput&) = delete;
    StreamOutput& operator=(const StreamOutput&) = delete;

    void writeByte(std::uint8_t b)
    {
        if (m_used == m_buffer.size())
            flush();
        m_buffer[m_used++] = char(b);
    }
    void writeTag(ValueTag tag) { writeByte(std::uint8_t(tag)); }
    void writeBytes(const char* data, qsizetype size);
    void writeBytes(const QByteArray& bytes) { writeBytes(bytes.constData(), bytes.size()); }
    void writeInt16(qint16 v);
    void writeInt32(qint32 v);
    // One length byte and at most 255 bytes.
    void writeShortString(const QByteArray& bytes);
    // The text as Windows-1252 bytes, one per character, straight into the buffer.
    void writeCp1252(const QString& text);
    void flush();

private:
    QIODevice& m_device;
    std::array<char, 4096> m_buffer;
    std::size_t m_used = 0;
};

// Reads through a 4096-byte buffer; running out of bytes raises "Stream read error".
// finish() puts a random-access device just after the last byte consumed.
class StreamInput {
public:
    explicit StreamInput(QIODevice& device) : m_device(device) {}
    StreamInput(const StreamInput&) = delete;
    StreamInput& operator=(const StreamInput&) = delete;

    std::uint8_t peekByte()
    {
        if (m_pos == m_end)
            fill();
        return std::uint8_t(m_buffer[m_pos]);
    }
    std::uint8_t readByte()
    {
        const std::uint8_t b = peekByte();
        ++m_pos;
        return b;
    }
    ValueTag peekTag() { return ValueTag(peekByte()); }
    ValueTag readTag() { return ValueTag(readByte()); }
    qint16 readInt16();
    qint32 readInt32();
    quint32 readUInt32() { return quint32(readInt32()); }
    void readInto(char* out, qsizetype size)
    {
        if (m_end - m_pos >= std::size_t(size)) {
            std::memcpy(out, m_buffer.data() + m_pos, std::size_t(size));
            m_pos += std::size_t(size);
        } else {
            readAcross(out, size);
        }
    }
    // Grows with the bytes actually read, so a damaged length cannot allocate more than the input.
    QByteArray readBytes(quint32 size);
    QByteArray readShortString();
    // The same into the caller's buffer, without allocating.
    QByteArrayView readShortString(char (&buffer)[256])
    {
        const std::uint8_t n = readByte();
        readInto(buffer, n);
        return QByteArrayView(buffer, n);
    }
    void skip(qsizetype size);
    void finish();

private:
    void fill();
    void readAcross(char* out, qsizetype size);

    QIODevice& m_device;
    std::array<char, 4096> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
};

} // namespace vestrel::store
