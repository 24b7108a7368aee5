#pragma once

#include "WaveFile.h"

#include "store/DataCollection.h"
#include "store/PersistentComponent.h"

#include <QString>

#include <memory>

namespace vestrel {

class TWaveSounds;
class TWaveThread;

// One named sound event.
class TWaveItem : public store::TDataCollectionItem {
public:
    TWaveItem() = default;

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    // The event name the program plays the sound by (looked up without regard to case).
    QString Nome() const { return m_nome; }
    void SetNome(const QString& v) { assign(m_nome, v); }
    // The text of the settings window's sound list.
    QString Descrizione() const { return m_descrizione; }
    void SetDescrizione(const QString& v) { assign(m_descrizione, v); }
    // True only when set true while WaveFile.FileName names a file that exists. Setting it, with
    // either value, reads that file again into the sound whenever it exists; a read error leaves
    // it false and is raised. While the store loads, the stored value is taken as it is.
    bool Active() const { return m_active; }
    void SetActive(bool value);
    TWaveFile& WaveFile() { return m_waveFile; }
    const TWaveFile& WaveFile() const { return m_waveFile; }

    // The store the item belongs to, if any.
    TWaveSounds* Sounds() const;

private:
    QString m_nome;
    QString m_descrizione;
    bool m_active = false;
    TWaveFile m_waveFile{this};
};

class TWaveItems : public store::TCollectionOf<TWaveItem> {
public:
    using store::TCollectionOf<TWaveItem>::TCollectionOf;
};

// The sound store (file "Waves.dat"): one item per named sound with the bytes of its WAV file.
// It starts with the built-in set; loading a file replaces it. It owns the sound thread, started
// with the first sound played.
class TWaveSounds : public store::TPersistentComponent {
public:
    explicit TWaveSounds(QObject* owner = nullptr);
    ~TWaveSounds() override;

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    TWaveItems& Waves() { return m_waves; }
    const TWaveItems& Waves() const { return m_waves; }

    // The item of that name (without regard to case), or nullptr.
    TWaveItem* Find(const QString& name) const;
    // Plays the named sound; raises "Suono " + name + " non trovato!" when no item bears it.
    void Play(const QString& name, bool pause);

    // The 13 built-in sounds, replacing the items there are.
    void LoadBuiltinSounds();

    // Created and started on first use, on the user-interface thread, over the sound output
    // installed then.
    TWaveThread& Thread();
    // From here on no playback error is delivered.
    void BeginShutdown();

private:
    void deliverError(quint64 source, const QString& text);

    TWaveItems m_waves{this};
    bool m_shuttingDown = false;
    std::unique_ptr<TWaveThread> m_thread;
};

} // namespace vestrel
