#include "WindowFixture.h"

#include "monitor/ui/DialAnimation.h"
#include "monitor/ui/FormWaitRas.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QAbstractItemView>
#include <QTest>

using namespace vestrel;
using namespace vestrel::platform;
using namespace vestrel::testing;

namespace {

namespace St = DialUpState;

class DialWindow : public WindowFixture {
protected:
    DialWindow()
    {
        addEntry(u"Casa"_s);
        addEntry(u"Ufficio"_s);
        settings.Entrys().FindOrAdd(u"Casa"_s, keRAS)->SetRetryTime(9);
    }

    TfmWaitRas* window() const { return windows->DialWindow(); }

    QStringList memoLines() const { return window()->Memo()->toPlainText().split(u'\n'); }
};

TEST_F(DialWindow, FollowsADialThatFailsAndDialsAnotherEntryOnRetry)
{
    dialUp.setDialScript(SimulatedDialUp::failingDial({St::DeviceConnected, St::Authenticating}, 691));
    status().DialEntry(u"Casa"_s, 100);
    ASSERT_TRUE(windows->IsDialWindowVisible());
    TfmWaitRas* w = window();
    EXPECT_EQ(w->windowTitle(), u"Connessione a Casa"_s);
    EXPECT_EQ(w->buAnnulla()->text(), u"&Annulla"_s);
    EXPECT_TRUE(w->buAnnulla()->isDefault());
    EXPECT_FALSE(w->ButtonRiprova()->isVisible());
    EXPECT_FALSE(w->CheckBoxMode()->isVisible());
    EXPECT_FALSE(w->cbPhoneBook()->isEnabled());
    EXPECT_EQ(w->cbPhoneBook()->count(), 2);
    EXPECT_EQ(w->cbPhoneBook()->currentText(), u"Casa"_s);
    EXPECT_EQ(w->cbPhoneBook()->toolTip(), u"Vestrel lancia la connessione a Casa"_s);
    EXPECT_TRUE(w->Animate()->Active());
    EXPECT_EQ(w->lbConnessione()->toolTip(), u"Connessione a Casa in corso..."_s);

    clock.advance(100 + 1500);
    LayOut();
    EXPECT_EQ(w->LabelTariffa()->text(), u"Telecom - TAT Urbana"_s) << "the entry's tariff applies";
    EXPECT_EQ(w->LabelStato()->text(), status().ConnectionStateText());
    EXPECT_GE(w->LabelStato()->width(), w->LabelStato()->sizeHint().width()) << "the state is not cut";
    EXPECT_EQ(w->ProgressBar()->value(), dialer().Progress());
    EXPECT_GT(w->ProgressBar()->value(), 0);
    SaveShot(w, u"waitras-dialling"_s);

    clock.advance(5000);
    const QString error = dialer().LastErrorText();
    ASSERT_FALSE(error.isEmpty());
    EXPECT_EQ(w->buAnnulla()->text(), u"&Chiudi"_s);
    EXPECT_TRUE(w->ButtonRiprova()->isVisible());
    EXPECT_TRUE(w->cbPhoneBook()->isEnabled());
    EXPECT_FALSE(w->Animate()->Active());
    EXPECT_EQ(w->ProgressBar()->value(), w->ProgressBar()->maximum());
    EXPECT_EQ(w->ProgressBar()->maximum(), 21);
    EXPECT_EQ(w->LabelStato()->text(), status().ConnectionStateText()) << "the machine's state after the failure";
    EXPECT_EQ(w->lbConnessione()->toolTip(), u"Errore: "_s + error);
    EXPECT_EQ(memoLines(), dialer().Memo()) << "the log shows every progress line";
    EXPECT_EQ(memoLines().back(), u"Errore: "_s + error);
    SaveShot(w, u"waitras-failed"_s);
    w->cbPhoneBook()->showPopup();
    SaveShot(w->cbPhoneBook()->view()->window(), u"waitras-phonebook"_s);
    w->cbPhoneBook()->hidePopup();

    w->cbPhoneBook()->setCurrentIndex(1);
    Q_EMIT w->cbPhoneBook()->activated(1);
    w->ButtonRiprova()->click();
    EXPECT_EQ(window(), w) << "the window is reused";
    EXPECT_EQ(w->windowTitle(), u"Connessione a Ufficio"_s);
    EXPECT_EQ(w->buAnnulla()->text(), u"&Annulla"_s);
    EXPECT_FALSE(w->ButtonRiprova()->isVisible());
    EXPECT_FALSE(w->cbPhoneBook()->isEnabled());
    clock.advance(10);
    ASSERT_EQ(dialUp.dials().size(), 2u);
    EXPECT_EQ(dialUp.dials().back().entry, u"Ufficio"_s);

    w->buAnnulla()->click();
    EXPECT_FALSE(dialer().IsOpen());
    EXPECT_FALSE(windows->IsDialWindowVisible());
    EXPECT_EQ(windows->DialWindow(), nullptr) << "released";
}

TEST_F(DialWindow, BusyLineCountsDownAndOffersTheEntriesOfTheTariff)
{
    status().SetTax(taxations.FindTax(u"Telecom - TAT Urbana"_s));
    dialUp.setDialScript(SimulatedDialUp::failingDial({St::OpeningPort, St::PortOpened}, 676));
    status().DialEntry(u"Casa"_s, 100);
    clock.advance(100 + 2000);
    TfmWaitRas* w = window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->CheckBoxMode()->isVisible()) << "two entries use the tariff";
    EXPECT_EQ(w->CheckBoxMode()->text(), u"Usa connessioni a uguale tariffa "_s);

    const QStringList logged = memoLines();
    clock.advance(TDialer::RecallIntervalMs);
    EXPECT_EQ(w->lbConnessione()->toolTip(), u"Vestrel al prossimo tentativo [1] 00:08"_s);
    EXPECT_EQ(memoLines(), logged) << "the countdown stays out of the log";

    w->CheckBoxMode()->click();
    EXPECT_EQ(dialer().RetryMode(), rmCycle);
    EXPECT_EQ(w->CheckBoxMode()->toolTip(), u"Riprova ciclicamente con \nCasa\nUfficio"_s);
    SaveShot(w, u"waitras-busy"_s);
    w->CheckBoxMode()->click();
    EXPECT_EQ(dialer().RetryMode(), rmSame);
    EXPECT_EQ(w->CheckBoxMode()->toolTip(), u"Prova con la connessione corrente"_s);

}

TEST_F(DialWindow, TariffDoubleClickOpensTheChooserAndClosingCancelsTheDial)
{
    status().DialEntry(u"Casa"_s, 5000);
    TfmWaitRas* w = window();
    ASSERT_NE(w, nullptr);
    QTest::mouseDClick(w->LabelTariffa(), Qt::LeftButton);
    QTest::mouseDClick(w->PanelTariffa(), Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(chooserOpened, 2);

    w->close();
    EXPECT_FALSE(dialer().IsOpen());
    clock.advance(10'000);
    EXPECT_TRUE(dialUp.dials().empty());
}

TEST_F(DialWindow, LongProgressLineIsCutToTheProgressBar)
{
    const QString name = u"Collegamento aziendale di riserva, secondo numero verde"_s;
    addEntry(name);
    status().DialEntry(name, 5000);
    TfmWaitRas* w = window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->width(), 440) << "the long name does not widen the window";
    const QString shown = w->lbConnessione()->text();
    EXPECT_TRUE(shown.endsWith(u"..."_s)) << shown.toStdString();
    EXPECT_LT(w->lbConnessione()->fontMetrics().horizontalAdvance(shown), w->ProgressBar()->width());
    EXPECT_EQ(w->lbConnessione()->toolTip(), u"Connessione a "_s + name + u" in corso..."_s);
    EXPECT_TRUE(w->lbConnessione()->toolTip().startsWith(shown.chopped(3)));
    SaveShot(w, u"waitras-long"_s);
}

struct ElideCase {
    const char* name;
    const char16_t* text;
    int widthInChars;
    bool cut;
    friend void PrintTo(const ElideCase& row, std::ostream* os) { *os << row.name; }
};

class Elide : public ::testing::TestWithParam<ElideCase> {};

TEST_P(Elide, CutsToTheWidthWithDots)
{
    const ElideCase& c = GetParam();
    const QFontMetrics metrics(QApplication::font());
    const QString text = QString::fromUtf16(c.text);
    const int width = metrics.horizontalAdvance(u'x') * c.widthInChars;
    const QString shown = ElideToWidth(text, metrics, width);
    if (!c.cut) {
        EXPECT_EQ(shown, text);
        return;
    }
    EXPECT_TRUE(shown.endsWith(u"..."_s));
    EXPECT_TRUE(text.startsWith(shown.chopped(3)));
    EXPECT_LT(metrics.horizontalAdvance(shown), width);
}

INSTANTIATE_TEST_SUITE_P(Lines, Elide,
                         ::testing::Values(ElideCase{"Fits", u"Connessione", 40, false},
                                           ElideCase{"TooLong", u"Connessione a Casa in corso...", 12, true}),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
