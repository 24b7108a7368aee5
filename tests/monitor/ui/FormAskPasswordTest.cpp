#include "WindowFixture.h"

#include "monitor/ui/FormAskPassword.h"
#include "monitor/ui/FormWaitRas.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using namespace vestrel;
using namespace vestrel::platform;
using namespace vestrel::testing;

namespace {

TEST(AskPasswordDialog, BlankUserNameIsWarnedAndTheDialogStays)
{
    ScriptedDialogs dialogs;
    TfmAskPassword dialog({u"Connessione a: Casa"_s, u"Casa"_s, {}, {}});
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), u"Connessione a: Casa"_s);
    EXPECT_EQ(dialog.focusWidget(), dialog.edUser()) << "no user name yet";
    EXPECT_EQ(dialog.edPwd()->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(dialog.buOk()->isDefault());

    for (const QString& blank : {QString(), u"   "_s}) {
        dialog.edUser()->setText(blank);
        dialog.buOk()->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(dialog.Reply().Confirmed);
    }
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].kind, DialogKind::Warning);
    EXPECT_EQ(dialogs.shown[0].text, u"Manca il nome utente!"_s);

    dialog.edUser()->setText(u"luigi"_s);
    dialog.edPwd()->setText(u"verde"_s);
    dialog.buOk()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const TPasswordReply reply = dialog.Reply();
    EXPECT_TRUE(reply.Confirmed);
    EXPECT_EQ(reply.UserName, u"luigi"_s);
    EXPECT_EQ(reply.Password, u"verde"_s);
}

struct SaveCase {
    const char* name;
    bool save;
    bool passwordKept;
    friend void PrintTo(const SaveCase& row, std::ostream* os) { *os << row.name; }
};

class PasswordAtDial : public WindowFixture, public ::testing::WithParamInterface<SaveCase> {};

// The dialog asks for the login of an entry without a saved password; the dial uses what was
// typed, and the box decides whether the password is kept.
TEST_P(PasswordAtDial, DialsWithTheLoginAndKeepsThePasswordOnlyWhenAsked)
{
    const SaveCase& c = GetParam();
    addEntry(u"Casa"_s, false);
    ModalScript script;
    script.then<TfmAskPassword>([&](TfmAskPassword* dialog) {
        SaveShot(dialog, u"askpassword"_s);
        EXPECT_EQ(dialog->windowTitle(), u"Connessione a: Casa"_s);
        EXPECT_EQ(dialog->edUser()->text(), u"mario"_s);
        EXPECT_EQ(dialog->focusWidget(), dialog->edPwd()) << "the user name is known";
        dialog->edPwd()->setText(u"nuova"_s);
        dialog->ckSavePassword()->setChecked(c.save);
        dialog->buOk()->click();
    });
    status().DialEntry(u"Casa"_s, 100);
    clock.advance(100);
    EXPECT_TRUE(script.done());

    ASSERT_EQ(dialUp.dials().size(), 1u);
    EXPECT_EQ(dialUp.dials()[0].userName, u"mario"_s);
    EXPECT_EQ(dialUp.dials()[0].password, u"nuova"_s);
    const auto saved = dialUp.entryCredentials(u"Casa"_s).value;
    EXPECT_EQ(saved.userName, u"mario"_s);
    EXPECT_EQ(saved.hasPassword, c.passwordKept);
    EXPECT_EQ(saved.password, c.passwordKept ? u"nuova"_s : QString());
}

INSTANTIATE_TEST_SUITE_P(SaveBox, PasswordAtDial,
                         ::testing::Values(SaveCase{"Ticked", true, true}, SaveCase{"Clear", false, false}),
                         [](const auto& row) { return std::string(row.param.name); });

using PasswordQuestion = WindowFixture;

TEST_F(PasswordQuestion, CancelAbandonsTheDialAndClosesTheDialWindow)
{
    addEntry(u"Casa"_s, false);
    ModalScript script;
    script.then<TfmAskPassword>([](TfmAskPassword* dialog) { dialog->buAnnulla()->click(); });
    status().DialEntry(u"Casa"_s, 100);
    clock.advance(100);
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(dialUp.dials().empty());
    EXPECT_FALSE(windows->IsDialWindowVisible());
}

} // namespace
