#pragma once

#include "store/Schema.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace vestrel {

class TWaveItem;

// One sound of the sound store: the complete bytes of a WAV file, header included, kept in the
// store so that no sound file is needed at run time. Written as WaveFile.FileName, …, and the
// bytes as WaveFile.Data when there are any.
class TWaveFile : public store::TPersistent {
public:
    using Notify = std::function<void(TWaveFile* sender)>;
    using ErrorEvent = std::function<void(TWaveFile* sender, const QString& text)>;

    // Changes are reported to the item (which marks the store modified); the item's store also
    // gives the sound thread.
    explicit TWaveFile(TWaveItem* item = nullptr);

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    // The file the sound was last read from.
    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& v);
    // A disabled sound is never played.
    bool Disabled() const { return m_disabled; }
    void SetDisabled(bool v);

    bool HasData() const { return !m_data.isEmpty(); }
    const QByteArray& Data() const { return m_data; }
    void SetData(const QByteArray& v);
    qsizetype Size() const { return m_data.size(); }
    // The pause flag of the last Play.
    bool Pause() const { return m_pause; }
    // Unique in the process, never reused: what a playback error is addressed to.
    quint64 Serial() const { return m_serial; }

    // Takes the file's complete content and its name. A file that does not exist leaves the bytes
    // as they are and only sets FileName; one that exists but cannot be read raises the error and
    // changes nothing.
    void LoadFromFile(const QString& fileName);
    // Hands the bytes to the sound thread, which plays them after a short pause when `pause` is
    // set; silently nothing when there are no bytes or the sound is disabled.
    void Play(bool pause);

    Notify OnPlay;
    // Raised by no operation; kept because it is part of the file's schema.
    Notify OnStop;
    // A playback that failed, on the user-interface thread.
    ErrorEvent OnError;

    // The largest file LoadFromFile takes: the store keeps every sound in memory and writes all
    // of them at every save.
    static constexpr qint64 MaxFileSize = 32 * 1024 * 1024;

private:
    void changed();

    TWaveItem* m_item;
    QString m_fileName;
    bool m_disabled = false;
    QByteArray m_data;
    bool m_pause = false;
    quint64 m_serial;
};

} // namespace vestrel
