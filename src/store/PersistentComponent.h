#pragma once

#include "Schema.h"

#include <QObject>
#include <QString>

#include <functional>

namespace vestrel {
class Timer;
}

namespace vestrel::store {

// A store: one object bound to one file in the data directory, saved whole in the component
// stream. Binding loads the file (creating it first when missing), every change marks the store
// modified, a modified store saves itself ten seconds later, and a file that cannot be decoded
// is set aside as name + "@error" and the process ends.
//
// A concrete store calls SaveOnDestroy() first thing in its own destructor, while its
// collections still exist.
class TPersistentComponent : public QObject, public TPersistent {
    Q_OBJECT
public:
    using Notify = std::function<void(TPersistentComponent* sender)>;

    explicit TPersistentComponent(QObject* owner = nullptr);
    ~TPersistentComponent() override;

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // The component base.
    QString Name() const { return objectName(); }
    void SetName(const QString& name) { setObjectName(name); }
    qint32 Tag() const { return m_tag; }
    void SetTag(qint32 tag) { assign(m_tag, tag); }

    bool Modified() const { return m_modified; }
    int AutoSaveInterval() const { return m_autoSaveInterval; }
    Timer* AutoSaveTimer() const { return m_autoSaveTimer; }
    bool Loading() const { return m_loading; }
    bool FileExisted() const { return m_fileExisted; }
    bool SaveFailed() const { return m_saveFailed; }

    QString FileName() const { return m_fileName; }
    // Binds the store and loads it; on an error the store is left unbound and the error passes on.
    void SetFileName(const QString& name);

    qint32 Version() const { return m_version; }
    void SetVersion(qint32 version) { assign(m_version, version); }
    bool AskOnLoadError() const { return m_askOnLoadError; }
    void SetAskOnLoadError(bool ask) { assign(m_askOnLoadError, ask); }

    Notify OnChange;
    Notify OnLoaded;

    virtual void Load();
    virtual void Save();
    virtual void DoLoaded();

    void SetModified(bool value);
    bool CheckVersion(qint32 expected);
    // Reads another file of the same store kind into this store: no rename, no message.
    void ImportFromFile(const QString& path);
    // Deletes the file and unbinds, so the next start recreates it from the constructor defaults.
    void RestoreFactoryDefaults();

protected:
    // While true, becoming modified does not raise OnChange.
    bool ChangeLock = false;

    void SaveOnDestroy();

    // The setter pattern of every store: compare, assign, mark modified.
    template <class V, class U>
    void assign(V& field, const U& value)
    {
        if (field == value)
            return;
        field = value;
        SetModified(true);
    }

private:
    void autoSaveTick();
    [[noreturn]] void rejectUnreadableFile(const QString& error);

    bool m_modified = false;
    int m_autoSaveInterval = 10'000;
    QString m_fileName;
    Timer* m_autoSaveTimer;
    bool m_loading = false;
    bool m_fileExisted = false;
    bool m_saveFailed = false;
    qint32 m_tag = 0;
    qint32 m_version = 0;
    bool m_askOnLoadError = false;
};

} // namespace vestrel::store
