#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>

class QCheckBox;
class QComboBox;
class QFontMetrics;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace vestrel {

class TDialAnimation;
class TDialer;
class TRasControl;
class TStatus;

// The longest start of `text` that is narrower than `width`, followed by "..." when something
// had to be cut.
QString ElideToWidth(const QString& text, const QFontMetrics& metrics, int width);

// The dial window: shows the program's dialler (TDialer) and hands the user's commands to it.
// Every shown value is read from the dialler in Refresh(); the window keeps no state of its own.
// Escape and the window's close button act as "&Annulla" / "&Chiudi".
class TfmWaitRas : public QDialog {
public:
    TfmWaitRas(TDialer& dialer, TRasControl& ras, TStatus& status, std::function<void()> openTariffChooser,
               QWidget* parent = nullptr);

    // Reads everything again from the dialler and the live status.
    void Refresh();

    QComboBox* cbPhoneBook() const { return m_phoneBook; }
    QLabel* lbConnessione() const { return m_progressLine; }
    QCheckBox* CheckBoxMode() const { return m_mode; }
    TDialAnimation* Animate() const { return m_animate; }
    QPushButton* buAnnulla() const { return m_cancel; }
    QProgressBar* ProgressBar() const { return m_progress; }
    QPlainTextEdit* Memo() const { return m_memo; }
    QPushButton* ButtonRiprova() const { return m_retry; }
    QLabel* LabelTariffa() const { return m_tariff; }
    QFrame* PanelTariffa() const { return m_tariffPanel; }
    QLabel* LabelStato() const { return m_state; }

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void refreshEntries();
    void refreshMemo();
    void refreshProgressLine();
    void refreshTariff();

    TDialer& m_dialer;
    TRasControl& m_ras;
    TStatus& m_status;
    std::function<void()> m_openTariffChooser;

    QComboBox* m_phoneBook;
    TDialAnimation* m_animate;
    QLabel* m_progressLine;
    QProgressBar* m_progress;
    QCheckBox* m_mode;
    QPlainTextEdit* m_memo;
    QFrame* m_tariffPanel;
    QLabel* m_tariff;
    QFrame* m_statePanel;
    QLabel* m_state;
    QPushButton* m_retry;
    QPushButton* m_cancel;
    QStringList m_shownMemo;
};

} // namespace vestrel
