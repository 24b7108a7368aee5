#include "FormAskPassword.h"

#include "common/Dialogs.h"
#include "widgets/Forms.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

TfmAskPassword::TfmAskPassword(const TPasswordRequest& request, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(u"fmAskPassword"_s);
    setWindowTitle(request.Caption);

    auto* text = new QLabel(u"Immettere un nome utente e password con accesso al dominio della rete remota"_s, this);
    text->setWordWrap(true);

    m_user = new QLineEdit(request.UserName, this);
    m_user->setObjectName(u"edUser"_s);
    m_password = new QLineEdit(request.Password, this);
    m_password->setObjectName(u"edPwd"_s);
    m_password->setEchoMode(QLineEdit::Password);
    // Masked with "*", whatever the style's own mask character.
    m_password->setStyleSheet(u"lineedit-password-character: 42"_s);
    m_save = new QCheckBox(u"Salva la password"_s, this);
    m_save->setObjectName(u"ckSavePassword"_s);
    m_save->setChecked(!request.Password.isEmpty());

    auto* userLabel = new QLabel(u"Nome utente:"_s, this);
    userLabel->setBuddy(m_user);
    auto* passwordLabel = new QLabel(u"Password:"_s, this);
    passwordLabel->setBuddy(m_password);
    auto* fields = new QFormLayout;
    fields->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fields->setHorizontalSpacing(10);
    fields->addRow(userLabel, m_user);
    fields->addRow(passwordLabel, m_password);
    fields->addRow(QString(), m_save);

    m_ok = new QPushButton(u"&OK"_s, this);
    m_ok->setObjectName(u"buOk"_s);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(u"&Annulla"_s, this);
    m_cancel->setObjectName(u"buAnnulla"_s);
    m_cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(text);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    setFixedWidth(340);
    setFixedHeight(sizeHint().height());

    connect(m_ok, &QPushButton::clicked, this, &TfmAskPassword::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TfmAskPassword::reject);
    if (!request.UserName.trimmed().isEmpty())
        m_password->setFocus();
    else
        m_user->setFocus();
}

void TfmAskPassword::accept()
{
    if (m_user->text().trimmed().isEmpty()) {
        ShowWarningBox(u"Manca il nome utente!"_s);
        m_user->setFocus();
        return;
    }
    m_reply = {true, m_user->text(), m_password->text(), m_save->isChecked()};
    QDialog::accept();
}

TPasswordReply AskPasswordModal(const TPasswordRequest& request)
{
    static QPointer<TfmAskPassword> reference;
    QPointer<TfmAskPassword> shown;
    const int result = ShowForm<TfmAskPassword>(
        reference, false,
        [&] {
            shown = new TfmAskPassword(request);
            return shown.data();
        },
        [&](TfmAskPassword* window) { window->setWindowTitle(request.Caption); });
    // The window waits for its release; its answer is still there.
    if (result != QDialog::Accepted || !shown)
        return {};
    return shown->Reply();
}

} // namespace vestrel
