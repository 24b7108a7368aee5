#include "PersistentComponent.h"

#include "StoreStream.h"

#include "common/Dialogs.h"
#include "common/Files.h"
#include "common/ProcessExit.h"
#include "common/StringHelpers.h"
#include "common/Timer.h"
#include "common/VestrelError.h"

#include <QFile>

namespace vestrel::store {

using namespace Qt::Literals::StringLiterals;

namespace {

const ClassInfo& componentClassInfo()
{
    using T = TPersistentComponent;
    static const ClassInfo info = ClassBuilder<T>("TComponent", nullptr)
                                      .string("Name", &T::Name, &T::SetName)
                                      .notStored()
                                      .integer("Tag", &T::Tag, &T::SetTag)
                                      .withDefault(0)
                                      .build();
    return info;
}

} // namespace

const ClassInfo& TPersistentComponent::staticClassInfo()
{
    using T = TPersistentComponent;
    static const ClassInfo info =
        ClassBuilder<T>("TPersistentComponent", &componentClassInfo())
            .integer("Version", &T::Version, &T::SetVersion)
            .withDefault(0)
            .boolean("AskOnLoadError", &T::AskOnLoadError, &T::SetAskOnLoadError)
            .event("OnChange", [](T& s) { s.OnChange = nullptr; })
            .event("OnLoaded", [](T& s) { s.OnLoaded = nullptr; })
            .build();
    return info;
}

TPersistentComponent::TPersistentComponent(QObject* owner)
    : QObject(owner),
      m_autoSaveTimer(new Timer(this, u"FTimerAutoSavePersistentComponent"_s, m_autoSaveInterval))
{
    connect(m_autoSaveTimer, &Timer::timeout, this, &TPersistentComponent::autoSaveTick);
}

TPersistentComponent::~TPersistentComponent() = default;

void TPersistentComponent::SaveOnDestroy()
{
    if (m_modified)
        Save();
}

void TPersistentComponent::SetFileName(const QString& name)
{
    m_fileName = TrimBlanks(name);
    if (m_fileName.isEmpty())
        return;
    try {
        m_fileExisted = QFile::exists(m_fileName);
        if (!m_fileExisted)
            Save();
        MakeOwnerWritable(m_fileName);
        Load();
    } catch (...) {
        m_fileName.clear();
        throw;
    }
}

void TPersistentComponent::Load()
{
    m_loading = true;
    if (!m_fileName.isEmpty()) {
        QFile file(m_fileName);
        if (!file.open(QIODevice::ReadOnly)) {
            ShowWarningBox(withDetail(u"Impossibile aprire il file: "_s + m_fileName, file.errorString()));
        } else {
            try {
                ReadStore(file, *this);
            } catch (const VestrelError& e) {
                file.close();
                rejectUnreadableFile(e.message());
            }
        }
    }
    m_loading = false;
    DoLoaded();
}

void TPersistentComponent::rejectUnreadableFile(const QString& error)
{
    const QString aside = m_fileName + u"@error"_s;
    if (QFile::exists(aside))
        DeleteFileForced(aside);
    QFile::rename(m_fileName, aside);
    const QString head = u"Impossibile caricare i dati dal file: "_s + m_fileName + u" il file sarà ricreato!\r"_s;
    if (m_askOnLoadError) {
        if (AskYesNo(head + withDetail(u"Provo a salvare il salvabile?"_s, error)) == DialogAnswer::Yes) {
            m_loading = false;
            Save();
        }
    } else {
        ShowInfoBox(head + u'[' + error + u']');
    }
    TerminateProcess(0);
}

void TPersistentComponent::Save()
{
    if (m_fileName.isEmpty())
        return;
    try {
        WriteStoreFile(m_fileName, *this);
        SetModified(false);
    } catch (const VestrelError& e) {
        m_saveFailed = true;
        ShowWarningBox(withDetail(u"Impossibile salvare il file: "_s + m_fileName, e.message()));
    }
}

void TPersistentComponent::DoLoaded()
{
    if (OnLoaded)
        OnLoaded(this);
}

void TPersistentComponent::SetModified(bool value)
{
    if (m_loading || value == m_modified)
        return;
    if (value && !ChangeLock && OnChange)
        OnChange(this);
    m_modified = value;
    m_autoSaveTimer->setEnabled(value);
}

void TPersistentComponent::autoSaveTick()
{
    if (m_modified && !m_saveFailed)
        Save();
}

bool TPersistentComponent::CheckVersion(qint32 expected)
{
    const bool result = expected == m_version || !m_fileExisted;
    if (expected != m_version) {
        SetVersion(expected);
        Save();
    }
    return result;
}

void TPersistentComponent::ImportFromFile(const QString& path)
{
    const QString name = TrimBlanks(path);
    if (name.isEmpty())
        return;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        throw VestrelError(file.errorString());
    try {
        ReadStore(file, *this);
    } catch (const VestrelError& e) {
        throw VestrelError(withDetail(u"Impossibile importare i dati dal file: "_s + path, e.message()));
    }
}

void TPersistentComponent::RestoreFactoryDefaults()
{
    if (!m_fileName.isEmpty())
        DeleteFileForced(m_fileName);
    m_fileName.clear();
}

} // namespace vestrel::store
