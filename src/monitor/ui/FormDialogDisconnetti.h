#pragma once

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QTimeEdit;

namespace vestrel {

class TStatus;

// The window that schedules the disconnection hour over the `schedule` rules: a date and a
// time, or "Fra" N "ore" from now, and whether to power the machine off afterwards. "&OK"
// schedules (a moment already past is refused and the window stays), "&Annulla" clears the
// scheduled hour.
class TfmDialogDisconnetti : public QDialog {
public:
    explicit TfmDialogDisconnetti(TStatus& status, QWidget* parent = nullptr);

    QDateEdit* DateInizio() const { return m_date; }
    QTimeEdit* TimeInizio() const { return m_time; }
    QLineEdit* EditMaskOre() const { return m_hours; }
    QCheckBox* CheckBoxCloseWindoz() const { return m_shutdown; }
    QPushButton* buOk() const { return m_ok; }
    QPushButton* buAnnulla() const { return m_cancel; }

    void accept() override;

protected:
    // Escape presses "&Annulla"; the window's close button only closes.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void cancelSchedule();
    void showMoment(double moment);

    TStatus& m_status;
    QDateEdit* m_date;
    QTimeEdit* m_time;
    QLineEdit* m_hours;
    QCheckBox* m_shutdown;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

// "Disconnetti a&lle...": opens the window modally; does nothing while it is already open.
void OpenScheduleDialog(TStatus& status);
// The window open now, if any.
TfmDialogDisconnetti* OpenedScheduleDialog();

} // namespace vestrel
