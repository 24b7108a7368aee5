#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vestrel {

class TSettings;
class TStatus;

// The warning that a number about to be dialled looks international, with the prefix that
// triggers it ("Avvertimi sempre se il numero inizia con"). "&OK" stores a prefix of digits as
// the international prefix and closes; anything else is refused and the window stays. The live
// status's QuestionPending is set while the window is on screen.
class TfmWarningInternational : public QDialog {
public:
    TfmWarningInternational(TSettings& settings, TStatus& status, QWidget* parent = nullptr);

    // Tells of a phonebook entry whose number looks international, instead of the number being
    // dialled.
    void ShowEntry(const QString& entry, const QString& number);

    QLabel* LabelWarning() const { return m_warning; }
    QLineEdit* EditMaskPrefix() const { return m_prefix; }
    QPushButton* buOk() const { return m_ok; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void fitHeight();

    TSettings& m_settings;
    TStatus& m_status;
    QLabel* m_warning;
    QLineEdit* m_prefix;
    QPushButton* m_ok;
};

// Opens the warning modally: for the number the live status is dialling when `entry` is empty,
// else for that phonebook entry and its number. While one is open another is not opened.
void ShowWarningInternational(TSettings& settings, TStatus& status, const QString& entry = {},
                              const QString& number = {});
// The warning open now, if any.
TfmWarningInternational* OpenedWarningInternational();

} // namespace vestrel
