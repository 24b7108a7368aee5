#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QWidget;

namespace vestrel {

// Tells whether there are resources for another window: none when there are, else their
// description ("Sistema: 5% ..."). Installed by the data module; the default always allows.
using FormResourceGuard = std::function<std::optional<QString>()>;
void SetFormResourceGuard(FormResourceGuard guard);
// Warns "Risorse di sistema in esaurimento - " ... when the guard refuses; true when allowed.
bool ResourcesAllowNewForm();

// Shows the window on top of the others and gives it the focus.
void BringToForeground(QWidget* window);

// Processes events until `ms` milliseconds of the Clock's tick have passed.
void Pause(int ms);

// Queues the window for release by a one-second timer ("TimerToolsFreeForm") and clears the
// reference, so a window may ask for its own release from one of its handlers.
void ReleaseFormLater(QWidget* window);
template <class W>
void ReleaseFormLater(QPointer<W>& reference)
{
    W* window = reference.data();
    reference.clear();
    if (window)
        ReleaseFormLater(static_cast<QWidget*>(window));
}

// The fields that must not be blank: (label, edit or combo box). The error list gets
// "I seguenti campi sono obbligatori: " and "- " + label for each blank one, the focus goes to
// the first; true when none is blank.
bool CheckRequiredFields(const std::vector<std::pair<QString, QWidget*>>& fields, QStringList& errors);

// Shows the window the reference holds, or creates one: `create` builds it, `init` prepares it,
// then it is shown modeless (the reference keeps it) or modal (released when closed; its
// result is returned). Nothing is created when resources are low. Returns the modal result,
// QDialog::Accepted for a modeless show, QDialog::Rejected when nothing was shown.
template <class W>
int ShowForm(QPointer<W>& reference, bool modeless, const std::function<W*()>& create,
             const std::function<void(W*)>& init = {})
{
    if (reference) {
        BringToForeground(reference.data());
        return QDialog::Accepted;
    }
    if (!ResourcesAllowNewForm())
        return QDialog::Rejected;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    W* window = nullptr;
    try {
        window = create();
        if (init)
            init(window);
    } catch (...) {
        QApplication::restoreOverrideCursor();
        delete window;
        throw;
    }
    QApplication::restoreOverrideCursor();
    reference = window;
    if (modeless) {
        window->show();
        BringToForeground(window);
        return QDialog::Accepted;
    }
    int result = QDialog::Rejected;
    if (auto* dialog = qobject_cast<QDialog*>(window))
        result = dialog->exec();
    ReleaseFormLater(reference);
    return result;
}

} // namespace vestrel
