#include "Forms.h"

#include "common/Clock.h"
#include "common/SystemInfo.h"
#include "common/Dialogs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

FormResourceGuard& guard()
{
    static FormResourceGuard g;
    return g;
}

// The windows waiting for release, and the timer that releases them. The timer runs on real
// time: it lives for the whole process, longer than any clock a test installs.
class FormReleaser {
public:
    FormReleaser()
    {
        m_timer.setObjectName(u"TimerToolsFreeForm"_s);
        m_timer.setInterval(1000);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { releaseAll(); });
    }

    void add(QWidget* window)
    {
        window->hide();
        m_queue.push_back(window);
        m_timer.stop();
        m_timer.start();
    }

private:
    void releaseAll()
    {
        m_timer.stop();
        const auto queue = std::exchange(m_queue, {});
        for (const auto& window : queue)
            delete window.data();
    }

    QTimer m_timer;
    std::vector<QPointer<QWidget>> m_queue;
};

FormReleaser& releaser()
{
    // Parented to nothing and never destroyed before the application: windows still queued at
    // the end go with their parents or with the process.
    static auto* r = new FormReleaser;
    return *r;
}

} // namespace

void SetFormResourceGuard(FormResourceGuard g)
{
    guard() = std::move(g);
}

bool ResourcesAllowNewForm()
{
    if (!guard())
        return true;
    const std::optional<QString> low = guard()();
    if (!low)
        return true;
    ShowWarningBox(u"Risorse di sistema in esaurimento - "_s + *low + u"\rAprire altre finestre potrebbe bloccare "_s +
                   OSName() + u"!!!"_s);
    return false;
}

void BringToForeground(QWidget* window)
{
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

void Pause(int ms)
{
    const qint64 until = Clock::instance().tickMs() + ms;
    while (Clock::instance().tickMs() < until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

void ReleaseFormLater(QWidget* window)
{
    releaser().add(window);
}

bool CheckRequiredFields(const std::vector<std::pair<QString, QWidget*>>& fields, QStringList& errors)
{
    QWidget* first = nullptr;
    QStringList missing;
    for (const auto& field : fields) {
        QString text;
        if (const auto* edit = qobject_cast<const QLineEdit*>(field.second))
            text = edit->text();
        else if (const auto* combo = qobject_cast<const QComboBox*>(field.second))
            text = combo->currentText();
        else
            continue;
        if (!text.trimmed().isEmpty())
            continue;
        missing << u"- "_s + field.first;
        if (!first)
            first = field.second;
    }
    if (missing.isEmpty())
        return true;
    errors << u"I seguenti campi sono obbligatori: "_s << missing;
    first->setFocus();
    return false;
}

} // namespace vestrel
