#include "WindowFixture.h"

#include "monitor/ui/FormWarningInternational.h"

#include "monitor/CheckInternationalThread.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace vestrel;
using namespace vestrel::platform;
using namespace vestrel::testing;

namespace {

class InternationalWarning : public WindowFixture {
protected:
    InternationalWarning() { settings.SetInternationalPrefix(u"00"_s); }

    // Processes events until the script has run, at most two seconds.
    void runScript(const ModalScript& script)
    {
        QElapsedTimer waited;
        waited.start();
        while (!script.done() && waited.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_TRUE(script.done());
    }
};

struct PrefixCase {
    const char* name;
    const char16_t* typed;
    // The prefix stored; none when refused.
    const char16_t* stored;
    friend void PrintTo(const PrefixCase& row, std::ostream* os) { *os << row.name; }
};

class PrefixBox : public InternationalWarning, public ::testing::WithParamInterface<PrefixCase> {};

TEST_P(PrefixBox, OnlyDigitsAreStored)
{
    const PrefixCase& c = GetParam();
    TfmWarningInternational dialog(settings, status());
    dialog.show();
    EXPECT_EQ(dialog.EditMaskPrefix()->text(), u"00"_s);
    dialog.EditMaskPrefix()->setText(QString::fromUtf16(c.typed));
    dialog.buOk()->click();
    if (c.stored) {
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_TRUE(warnings().empty());
        EXPECT_EQ(settings.InternationalPrefix(), QString::fromUtf16(c.stored));
    } else {
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(warnings(), std::vector<QString>{u"Il prefisso inserito non è valido"_s});
        EXPECT_EQ(settings.InternationalPrefix(), u"00"_s);
    }
}

INSTANTIATE_TEST_SUITE_P(Prefixes, PrefixBox,
                         ::testing::Values(PrefixCase{"Digits", u"0044", u"0044"},
                                           PrefixCase{"LeadingZerosKept", u" 00 ", u"00"},
                                           PrefixCase{"Blank", u"", nullptr},
                                           PrefixCase{"Letters", u"0a", nullptr},
                                           PrefixCase{"Signed", u"-1", nullptr}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(InternationalWarning, NumberBeingDialledOpensTheWarningOnceItsHandlerReturned)
{
    addEntry(u"Casa"_s);
    ModalScript script;
    script.then<TfmWarningInternational>([&](TfmWarningInternational* dialog) {
        SaveShot(dialog, u"warninginternational-number"_s);
        EXPECT_EQ(dialog->windowTitle(), u"Vestrel"_s);
        EXPECT_EQ(dialog->LabelWarning()->text(),
                  u"Attenzione: il numero selezionato 0044123 sembra essere un numero internazionale!"_s);
        EXPECT_TRUE(status().QuestionPending());
        dialog->buOk()->click();
    });
    status().SetDialingNumber(u"0044123"_s);
    EXPECT_FALSE(script.done()) << "not inside the setter";
    runScript(script);
    EXPECT_FALSE(status().QuestionPending());
}

TEST_F(InternationalWarning, CheckOfThePhonebookWarnsOfEachInternationalEntry)
{
    dialUp.addEntry(u"Londra"_s);
    dialUp.setEntryProperties(u"Londra"_s, {u"00442079460000"_s, {}, 44, false});
    dialUp.addEntry(u"Casa"_s);
    dialUp.setEntryProperties(u"Casa"_s, {u"0212345"_s, {}, 39, false});
    ModalScript script;
    script.then<TfmWarningInternational>([&](TfmWarningInternational* dialog) {
        SaveShot(dialog, u"warninginternational-entry"_s);
        EXPECT_EQ(dialog->LabelWarning()->text(),
                  u"Attenzione: la voce «Londra» della rubrica RAS sembra essere impostata per un numero "
                  u"internazionale: 00442079460000"_s);
        EXPECT_TRUE(status().QuestionPending());
        dialog->buOk()->click();
    });
    TCheckInternationalThread check(dialUp, settings.InternationalPrefix(), windows->FoundHandler());
    check.Start();
    QElapsedTimer waited;
    waited.start();
    while (!check.IsFinished() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(check.IsFinished());
    EXPECT_TRUE(script.done());
    EXPECT_FALSE(status().QuestionPending());
}

} // namespace
