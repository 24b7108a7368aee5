#include "WaveFile.h"

#include "WaveSounds.h"
#include "WaveThread.h"

#include "common/VestrelError.h"

#include <QFile>

#include <atomic>

namespace vestrel {

using namespace store;
using namespace Qt::Literals::StringLiterals;

const ClassInfo& TWaveFile::staticClassInfo()
{
    using T = TWaveFile;
    static const ClassInfo info = ClassBuilder<T>("TWaveFile", nullptr)
                                      .string("FileName", &T::FileName, &T::SetFileName)
                                      .boolean("Disabled", &T::Disabled, &T::SetDisabled)
                                      .event("OnPlay", [](T& w) { w.OnPlay = nullptr; })
                                      .event("OnStop", [](T& w) { w.OnStop = nullptr; })
                                      .binary("Data", &T::HasData, &T::Data, &T::SetData)
                                      .build();
    return info;
}

TWaveFile::TWaveFile(TWaveItem* item) : m_item(item)
{
    static std::atomic<quint64> lastSerial = 0;
    m_serial = ++lastSerial;
}

void TWaveFile::changed()
{
    if (m_item)
        m_item->SetModified(true);
}

void TWaveFile::SetFileName(const QString& v)
{
    if (v == m_fileName)
        return;
    m_fileName = v;
    changed();
}

void TWaveFile::SetDisabled(bool v)
{
    if (v == m_disabled)
        return;
    m_disabled = v;
    changed();
}

void TWaveFile::SetData(const QByteArray& v)
{
    if (v == m_data)
        return;
    m_data = v;
    changed();
}

void TWaveFile::LoadFromFile(const QString& fileName)
{
    if (QFile::exists(fileName)) {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            throw VestrelError(withDetail(u"Impossibile aprire il file: "_s + fileName, file.errorString()));
        if (file.size() > MaxFileSize)
            throw VestrelError(u"Il file "_s + fileName + u" è troppo grande per essere un suono"_s);
        const QByteArray bytes = file.read(MaxFileSize + 1);
        if (file.error() != QFileDevice::NoError)
            throw VestrelError(withDetail(u"Impossibile leggere il file: "_s + fileName, file.errorString()));
        // A special file can grow past what its size said.
        if (bytes.size() > MaxFileSize)
            throw VestrelError(u"Il file "_s + fileName + u" è troppo grande per essere un suono"_s);
        SetData(bytes);
    }
    SetFileName(fileName);
}

void TWaveFile::Play(bool pause)
{
    if (m_data.isEmpty() || m_disabled)
        return;
    TWaveSounds* sounds = m_item ? m_item->Sounds() : nullptr;
    if (!sounds)
        return;
    m_pause = pause;
    sounds->Thread().Post({m_data, m_fileName, pause, m_serial});
    if (OnPlay)
        OnPlay(this);
}

} // namespace vestrel
