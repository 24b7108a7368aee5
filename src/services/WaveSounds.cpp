#include "WaveSounds.h"

#include "WaveThread.h"

#include "common/VestrelError.h"
#include "platform/SoundOutput.h"

#include <QFile>

namespace vestrel {

using namespace store;
using namespace Qt::Literals::StringLiterals;

namespace {

struct BuiltinSound {
    const char16_t* nome;
    const char16_t* descrizione;
};

// The design-time content of the data module, in its order.
constexpr BuiltinSound Builtin[] = {
    {u"CambioStato", u"Cambio impostazione della tariffa corrente"},
    {u"EndConnection", u"Fine della connessione"},
    {u"Laser", u"Invio sms in corso"},
    {u"Message", u"Novità"},
    {u"MsgBack", u""},
    {u"MsgBell", u""},
    {u"MsgEnd", u"Fine invio sms"},
    {u"MsgError", u"Errore"},
    {u"MsgSent", u"Invio sms riuscito"},
    {u"Ring", u"Scatto - inizio connessione"},
    {u"MsgToSend", u"Sms accodato"},
    {u"MsgType", u""},
    {u"Clink", u""},
};

QByteArray builtinBytes(const QString& name)
{
    QFile file(u":/sounds/"_s + name + u".wav"_s);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

const ClassInfo& TWaveItem::staticClassInfo()
{
    using T = TWaveItem;
    static const ClassInfo info = ClassBuilder<T>("TWaveItem", &TDataCollectionItem::staticClassInfo())
                                      .string("Nome", &T::Nome, &T::SetNome)
                                      .string("Descrizione", &T::Descrizione, &T::SetDescrizione)
                                      .boolean("Active", &T::Active, &T::SetActive)
                                      .nested("WaveFile", qNonConstOverload<>(&T::WaveFile))
                                      .build();
    return info;
}

TWaveSounds* TWaveItem::Sounds() const
{
    return Collection() ? dynamic_cast<TWaveSounds*>(Collection()->Owner()) : nullptr;
}

void TWaveItem::SetActive(bool value)
{
    // A file being loaded says what the item was; the disk is not asked (nor read) then, so a
    // stored set loads and saves again unchanged.
    if (const TWaveSounds* sounds = Sounds(); sounds && sounds->Loading()) {
        assign(m_active, value);
        return;
    }
    const QString name = m_waveFile.FileName();
    const bool exists = !name.isEmpty() && QFile::exists(name);
    assign(m_active, value && exists);
    if (!exists)
        return;
    try {
        m_waveFile.LoadFromFile(name);
    } catch (...) {
        assign(m_active, false);
        throw;
    }
    SetModified(true);
}

TWaveSounds::TWaveSounds(QObject* owner) : TPersistentComponent(owner)
{
    LoadBuiltinSounds();
    // The built-in set is the constructor default, not a change.
    SetModified(false);
}

TWaveSounds::~TWaveSounds()
{
    SaveOnDestroy();
    BeginShutdown();
    m_thread.reset();
}

const ClassInfo& TWaveSounds::staticClassInfo()
{
    using T = TWaveSounds;
    static const ClassInfo info = ClassBuilder<T>("TWaveSounds", &TPersistentComponent::staticClassInfo())
                                      .collection("Waves", qNonConstOverload<>(&T::Waves))
                                      .build();
    return info;
}

void TWaveSounds::LoadBuiltinSounds()
{
    m_waves.Clear();
    for (const BuiltinSound& b : Builtin) {
        TWaveItem* item = m_waves.Add();
        const QString nome = QString::fromUtf16(b.nome);
        item->SetNome(nome);
        item->SetDescrizione(QString::fromUtf16(b.descrizione));
        item->WaveFile().SetData(builtinBytes(nome));
    }
}

TWaveItem* TWaveSounds::Find(const QString& name) const
{
    for (int i = 0; i < m_waves.Count(); ++i)
        if (m_waves[i]->Nome().compare(name, Qt::CaseInsensitive) == 0)
            return m_waves[i];
    return nullptr;
}

void TWaveSounds::Play(const QString& name, bool pause)
{
    TWaveItem* item = Find(name);
    if (!item)
        throw VestrelError(u"Suono "_s + name + u" non trovato!"_s);
    item->WaveFile().Play(pause);
}

TWaveThread& TWaveSounds::Thread()
{
    if (!m_thread)
        m_thread = std::make_unique<TWaveThread>(
            platform::SoundOutput::instance(),
            [this](quint64 source, const QString& text) { deliverError(source, text); });
    return *m_thread;
}

void TWaveSounds::BeginShutdown()
{
    m_shuttingDown = true;
    if (m_thread)
        m_thread->BeginShutdown();
}

// The item that asked may be gone (a file loaded meanwhile replaces every item): only a wave file
// still in the store hears of its error.
void TWaveSounds::deliverError(quint64 source, const QString& text)
{
    if (m_shuttingDown)
        return;
    for (int i = 0; i < m_waves.Count(); ++i) {
        TWaveFile& wave = m_waves[i]->WaveFile();
        if (wave.Serial() == source) {
            if (wave.OnError)
                wave.OnError(&wave, text);
            return;
        }
    }
}

} // namespace vestrel
