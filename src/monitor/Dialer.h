#pragma once

#include "common/DateTime.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace vestrel {

class TDisconnection;
class TRasControl;
class TStatus;
class Timer;
struct TEntryCredentials;

// What to dial again after a busy line or a failure.
enum TRetryMode {
    rmNone = 0,
    // The same entry.
    rmSame = 1,
    // In turn, the phonebook entries that use the current tariff.
    rmCycle = 2,
};

// The password question of a dial without a saved password.
struct TPasswordRequest {
    // "Connessione a: " + entry.
    QString Caption;
    QString Entry;
    // What the entry has saved.
    QString UserName;
    QString Password;
};

struct TPasswordReply {
    // "OK" rather than "Annulla".
    bool Confirmed = false;
    QString UserName;
    QString Password;
    // "Salva la password"; when clear the user name is saved and any saved password removed.
    bool SavePassword = false;
};

using TAskPassword = std::function<TPasswordReply(const TPasswordRequest&)>;

// The program's own dialler: it dials a phonebook entry after a wait, asks for the login that is
// not saved, follows the progress, and after a failure or a busy line counts down to the next
// attempt, optionally with the next entry of the same tariff. The dial window shows this object
// and calls its operations; nothing here needs the window. "Open" is the window being shown.
class TDialer : public QObject {
public:
    static constexpr int ProgressMax = 21;
    static constexpr int RecallIntervalMs = 500;
    // The progress log is emptied at the next attempt once it holds more lines than this.
    static constexpr int MemoLimit = 100;

    // Registers itself as the dialler the disconnection closes.
    TDialer(TStatus& status, TRasControl& ras, TDisconnection& disconnection, QObject* owner = nullptr);
    ~TDialer() override;

    // The live status's OnDialRequested: the retry mode goes back to rmNone, then the dialler
    // opens.
    void DialRequested(const QString& entry, int delayMs);
    // Shows the dialler for the entry and dials it after `delayMs`.
    void OpenDialWindow(const QString& entry, int delayMs);
    // A dial chosen from the connections menu: an open dialler comes forward and tells what it
    // is doing; otherwise the live status dials the entry after 100 ms.
    void DialFromMenu(const QString& entry);
    // Abandons the dial: stops the connection and closes.
    void CloseDial(bool silent);
    // Closes without stopping anything (the line came online, or a stop closed it). The next
    // opening starts afresh: attempts, progress log and cycle position are forgotten.
    void Close();

    // The window's controls.
    void SelectEntry(const QString& entry);
    // "&Riprova".
    void Retry();
    // "&Annulla" / "&Chiudi".
    void Cancel();
    // "Usa connessioni a uguale tariffa ": cycle through the entries, or keep to this one.
    void SetCycleEntries(bool on);

    // Reports of the dial-up monitor (the data module's handlers); ignored while closed.
    void DialProgress(const QString& description);
    void DialError(int anError, int lastState);
    void LineBusy();
    // The state machine's state changed.
    void ShowMachineState();

    bool IsOpen() const { return m_open; }
    bool IsWaitingToDial() const;
    bool IsWaitingToRetry() const;
    QString Entry() const { return m_entry; }
    // "Connessione a " + entry.
    QString Caption() const;
    // "Vestrel lancia la connessione a " + entry.
    QString EntryHint() const;
    QString ProgressLine() const { return m_progressLine; }
    const QStringList& Memo() const { return m_memo; }
    int Progress() const { return m_progress; }
    // "&Annulla" while dialling or waiting to, "&Chiudi" after a failure.
    QString ButtonCaption() const { return m_buttonCaption; }
    bool RetryOffered() const { return m_retryOffered; }
    bool EntryChoiceEnabled() const { return m_entryChoiceEnabled; }
    bool Animating() const { return m_animating; }
    bool CycleOptionOffered() const { return m_cycleOptionOffered; }
    QString CycleHint() const { return m_cycleHint; }
    QString StateText() const { return m_stateText; }
    QString LastErrorText() const { return m_lastErrorText; }
    int Attempts() const { return m_attempts; }
    TDateTime RetryMoment() const { return m_retryMoment; }
    int CycleIndex() const { return m_cycleIndex; }
    TRetryMode RetryMode() const { return m_retryMode; }
    void SetRetryMode(TRetryMode mode) { m_retryMode = mode; }
    // The login of the dial, when the question gave it.
    QString UserName() const { return m_userName; }
    bool CredentialsConfirmed() const { return m_credentialsConfirmed; }
    // "TimerDelay" (the wait before the dial) and "TimerRecall" (500 ms, the retry countdown).
    Timer* DelayTimer() const { return m_delayTimer; }
    Timer* RecallTimer() const { return m_recallTimer; }

    // Asks for the login; the default answers "Annulla". A confirmed reply with a blank user name
    // is warned about and asked again, as the dialog stays open.
    TAskPassword AskPassword;
    // The window is to be shown, or brought forward.
    std::function<void(TDialer*)> OnShow;
    std::function<void(TDialer*)> OnClose;
    // Anything shown changed.
    std::function<void(TDialer*)> OnChanged;
    // A dial failed: the window sounds the error beep, and brings the program to the foreground
    // when told.
    std::function<void(TDialer*, bool bringToForeground)> OnDialError;

private:
    void dial();
    void recallTick();
    bool askCredentials(const TEntryCredentials& saved);
    bool confirmCredentials(const TPasswordReply& reply);
    void progressLine(const QString& text, bool toMemo = true);
    void stepProgress();
    void startRetryWait();
    QStringList entriesOfCurrentTariff() const;
    void changed();

    TStatus& m_status;
    TRasControl& m_ras;
    TDisconnection& m_disconnection;
    Timer* m_delayTimer;
    Timer* m_recallTimer;

    bool m_open = false;
    QString m_entry;
    QString m_userName;
    QString m_password;
    bool m_credentialsConfirmed = false;
    int m_attempts = 0;
    TDateTime m_retryMoment = 0;
    int m_cycleIndex = 0;
    QString m_lastErrorText;
    TRetryMode m_retryMode = rmNone;

    QString m_progressLine;
    QStringList m_memo;
    int m_progress = 0;
    QString m_buttonCaption;
    bool m_retryOffered = false;
    bool m_entryChoiceEnabled = true;
    bool m_animating = false;
    bool m_cycleOptionOffered = false;
    QString m_cycleHint;
    QString m_stateText;
};

} // namespace vestrel
