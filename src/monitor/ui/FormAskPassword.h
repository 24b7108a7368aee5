#pragma once

#include "monitor/Dialer.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace vestrel {

// The login question of a dial without a saved password. It shows the entry's saved user name
// and password; "&OK" refuses a blank user name ("Manca il nome utente!") and stays open.
class TfmAskPassword : public QDialog {
public:
    explicit TfmAskPassword(const TPasswordRequest& request, QWidget* parent = nullptr);

    // What the user confirmed; Confirmed is false until "&OK" was accepted.
    TPasswordReply Reply() const { return m_reply; }

    QLineEdit* edUser() const { return m_user; }
    QLineEdit* edPwd() const { return m_password; }
    QCheckBox* ckSavePassword() const { return m_save; }
    QPushButton* buOk() const { return m_ok; }
    QPushButton* buAnnulla() const { return m_cancel; }

    void accept() override;

private:
    QLineEdit* m_user;
    QLineEdit* m_password;
    QCheckBox* m_save;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    TPasswordReply m_reply;
};

// TDialer::AskPassword for the program: the dialog, modal, captioned with the request's caption.
TPasswordReply AskPasswordModal(const TPasswordRequest& request);

} // namespace vestrel
