#include "MainWindowFixture.h"

#include <QAction>
#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>

namespace vestrel::testing {
namespace {

using MainWindow = MainWindowFixture;

struct MenuRow {
    const char* name;
    bool dialCounting;
    bool connectionCounting;
    bool messenger;
    QString ip;
    bool disconnect;
    bool connections;
    bool winPopup;
    QString ipCaption;
};

TEST(MainMenuVisibility, FollowsTheConnection)
{
    const MenuRow rows[] = {
        {"idle", false, false, false, {}, false, true, false, u"IndirizzoIP"_s},
        {"dialling", true, false, false, {}, true, false, false, u"IndirizzoIP"_s},
        {"counting", false, true, false, u"10.0.0.9"_s, true, false, false, u"&Copia IP 10.0.0.9"_s},
        {"messenger", false, false, true, {}, false, true, true, u"IndirizzoIP"_s},
    };
    for (const MenuRow& r : rows) {
        SCOPED_TRACE(r.name);
        MainMenu menu;
        menu.Apply(VisibilityFor(r.dialCounting, r.connectionCounting, r.messenger, r.ip));
        EXPECT_EQ(menu.Item(u"MenuDisconnetti"_s)->isVisible(), r.disconnect);
        EXPECT_EQ(menu.Item(u"MenuDisconnettiAlle"_s)->isVisible(), r.disconnect);
        EXPECT_EQ(menu.Item(u"MenuConnessioni"_s)->isVisible(), r.connections);
        EXPECT_EQ(menu.Item(u"MenuStart"_s)->isVisible(), r.connections);
        EXPECT_EQ(menu.Item(u"MenuWinPopup"_s)->isVisible(), r.winPopup);
        EXPECT_EQ(menu.Item(u"MenuIndirizzoIP"_s)->isVisible(), !r.ip.isEmpty());
        EXPECT_EQ(menu.Item(u"MenuIndirizzoIP"_s)->text(), r.ipCaption);
    }
}

TEST(MainMenuConnections, StartEntryFirstThenAlphabetical)
{
    const QStringList phonebook{u"zeta"_s, u"Casa"_s, u"ufficio"_s};
    EXPECT_EQ(ConnectionsMenuEntries(phonebook, u"ufficio"_s),
              QStringList({u"ufficio"_s, QString(), u"Casa"_s, u"ufficio"_s, u"zeta"_s}));
    // A start entry that is not in the phonebook is left out.
    EXPECT_EQ(ConnectionsMenuEntries(phonebook, u"Altro"_s), QStringList({u"Casa"_s, u"ufficio"_s, u"zeta"_s}));
}

TEST_F(MainWindow, ManualCountShowsTheFiguresAndTheDisconnectionLogsIt)
{
    startUp();
    EXPECT_FALSE(window->Button(u"SpeedButtonDisconnetti"_s)->isVisible());
    window->Start();
    seconds(61);
    EXPECT_EQ(label(u"lbTempoTrascorso"_s), u"0.01.01"_s);
    EXPECT_TRUE(label(u"lbSpesa"_s).startsWith(u"£ "_s));
    EXPECT_NE(label(u"lbSpesa"_s), u"£ 0"_s);
    EXPECT_TRUE(window->Button(u"SpeedButtonDisconnetti"_s)->isVisible());
    window->UpdateMenu();
    EXPECT_TRUE(window->Menu().Item(u"MenuDisconnetti"_s)->isVisible());
    EXPECT_FALSE(window->Menu().Item(u"MenuStart"_s)->isVisible());

    const QString cost = label(u"lbSpesa"_s);
    window->Disconnect();
    EXPECT_EQ(log.Units().Count(), 1);
    EXPECT_EQ(noticesWith(u"Interruzione conteggio avvio manuale"_s), 1);
    EXPECT_EQ(noticesWith(u"Sconnesso!"_s), 1);
    EXPECT_TRUE(sounds.played.contains(u"EndConnection"_s));
    const bool compared = std::any_of(notices.shown.begin(), notices.shown.end(), [](const auto& n) {
        return (n.balloon == Balloon::Comparison && n.text.startsWith(u"Maledizione: \r"_s)) ||
               n.text == u"Bene! Hai scelto la tariffa più conveniente! ;)"_s;
    });
    EXPECT_TRUE(compared);
    EXPECT_FALSE(window->Button(u"SpeedButtonDisconnetti"_s)->isVisible());
    // The figures of the finished connection stay; the period display is reset at once.
    EXPECT_EQ(label(u"lbTempoTrascorso"_s), u"0.01.01"_s);
    EXPECT_EQ(label(u"lbSpesa"_s), cost);
    EXPECT_EQ(window->Figures().widgets().progress->value(), 0);
}

TEST_F(MainWindow, ManualStartWithoutTariffForTheEntryAsksForOne)
{
    startUp();
    window->Start();
    EXPECT_EQ(chooserOpened, 1);
    EXPECT_TRUE(status().QuestionPending());
    EXPECT_EQ(noticesWith(u"Scegli la tariffa da applicare alla connessione «Avvio manuale»"_s), 1);
}

TEST_F(MainWindow, AutoHideHidesAfterStartUpShowsForCountingAndHidesAgain)
{
    profile()->SetAutoHide(true);
    status().SetTax(taxations.FindTax(u"Telecom - TAT Urbana"_s));
    window->show();
    window->FirstActivation();
    seconds(4);
    EXPECT_TRUE(window->isVisible());
    seconds(1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->Menu().Item(u"MenuNascondi"_s)->text(), u"&Mostra"_s);

    window->Start();
    EXPECT_TRUE(window->isVisible());
    seconds(10);
    window->Disconnect();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindow, ForceHideKeepsTheWindowHiddenUntilCountingStarts)
{
    startUp();
    window->ToggleHidden();
    EXPECT_TRUE(profile()->ForceHide());
    EXPECT_FALSE(window->isVisible());
    // Pre-counting (a dial) leaves it hidden; the start of counting shows it.
    status().OnPreCountingStarted(&status());
    EXPECT_FALSE(window->isVisible());
    window->Start();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindow, ADialUpConnectionComingOnlineIsAnnouncedWithItsAddress)
{
    dialUp.addEntry(u"Casa"_s);
    settings.Entrys().AssignTax(u"Casa"_s, u"Telecom - TAT Urbana"_s);
    startUp();
    dialUp.addConnection(u"Casa"_s, platform::DialUpState::Connected, u"10.0.0.9"_s);
    seconds(2);
    ASSERT_TRUE(IsMtxState(TMtxState::RasConnected));
    const auto connected = std::find_if(notices.shown.begin(), notices.shown.end(), [](const auto& n) {
        return n.text.startsWith(u"Felicemente connesso a: Casa"_s);
    });
    ASSERT_NE(connected, notices.shown.end());
    EXPECT_TRUE(connected->text.contains(u"\rCasa ti ha assegnato l'indirizzo 10.0.0.9\rTariffa Telecom - TAT Urbana - Fascia "_s))
        << connected->text.toStdString();
    EXPECT_EQ(window->Menu().Item(u"MenuIndirizzoIP"_s)->text(), u"&Copia IP 10.0.0.9"_s);
    EXPECT_TRUE(window->Menu().Item(u"MenuDisconnetti"_s)->isVisible());
}

class MainWindowAtEight : public MainWindowFixture {
protected:
    MainWindowAtEight() : MainWindowFixture(EncodeDateTime(2001, 3, 14, 7, 58, 0)) {}
};

TEST_F(MainWindowAtEight, BandChangeChangesTheFishAndTellsItOnce)
{
    startUp();
    window->Start();
    seconds(10);
    const Fish before = window->BandFish();
    const auto bandNotices = [this] {
        return noticesWith(u"Accidenti... siamo nella fascia ora di punta!"_s) +
               noticesWith(u"Maledizione... siamo nella fascia intera!"_s);
    };
    EXPECT_EQ(bandNotices(), 0);
    seconds(120);
    EXPECT_NE(window->BandFish(), before);
    EXPECT_NE(window->BandFish(), Fish::Green);
    EXPECT_EQ(bandNotices(), 1);
}

TEST_F(MainWindow, TrayMouseMoveBlinksUntilTheNextSystemTick)
{
    startUp();
    const Fish band = window->BandFish();
    window->Tray().MouseMove();
    EXPECT_EQ(window->ShownFish(), Fish::Transparent);
    seconds(1);
    EXPECT_EQ(window->ShownFish(), band);
}

TEST_F(MainWindow, TrayClickShowsTheSummaryAfterTheDoubleClickTime)
{
    startUp();
    notices.shown.clear();
    window->Tray().LeftButtonDown();
    EXPECT_TRUE(notices.shown.empty());
    seconds(1);
    ASSERT_EQ(notices.shown.size(), 1u);
    EXPECT_TRUE(notices.shown[0].text.startsWith(status().ConnectionStateText() + u"\rTariffa Telecom - TAT Urbana - Fascia "_s))
        << notices.shown[0].text.toStdString();

    // A double click toggles the window instead and no summary follows.
    notices.shown.clear();
    window->Tray().LeftButtonDown();
    window->Tray().LeftDoubleClick();
    seconds(1);
    EXPECT_TRUE(notices.shown.empty());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindow, DayChangeSetsTheSaintsHintAndRefillsFreeSeconds)
{
    startUp();
    EXPECT_TRUE(window->Tray().Hint().startsWith(u"Oggi si festeggia "_s)) << window->Tray().Hint().toStdString();
    EXPECT_EQ(noticesWith(window->Tray().Hint()), 1);
}

class MainWindowAtChristmas : public MainWindowFixture {
protected:
    MainWindowAtChristmas() : MainWindowFixture(EncodeDateTime(2001, 12, 25, 9, 0, 0)) {}
};

TEST_F(MainWindowAtChristmas, GreetsOnChristmasDay)
{
    startUp();
    const auto greeting = std::find_if(notices.shown.begin(), notices.shown.end(),
                                       [](const auto& n) { return n.balloon == Balloon::Greeting; });
    ASSERT_NE(greeting, notices.shown.end());
    EXPECT_EQ(greeting->text, u"Vestrel ti augura un buon Natale!"_s);
    EXPECT_EQ(greeting->title, u"*** A U G U R I ***"_s);
}

TEST(TrayBalloonsConfiguration, TrayHintPauseDecidesWhichBalloonsSpeak)
{
    struct Row {
        int pause;
        bool comparison;
        bool notice;
    };
    for (const Row r : {Row{-1, false, false}, Row{0, false, true}, Row{5000, true, true}}) {
        SCOPED_TRACE(r.pause);
        TrayBalloons balloons;
        balloons.Configure(r.pause);
        EXPECT_EQ(balloons.balloon(Balloon::Comparison).IsActive(), r.comparison);
        EXPECT_EQ(balloons.balloon(Balloon::Notice).IsActive(), r.notice);
        if (r.comparison) {
            EXPECT_EQ(balloons.balloon(Balloon::Comparison).DisplayMs(), r.pause);
        }
    }
}

TEST(TrayBalloonsDisplay, ANoteShowsForItsTimeNearTheCorner)
{
    FakeClock clock(EncodeDateTime(2001, 3, 14, 10, 0, 0));
    TrayBalloons balloons;
    NoteBalloon& notice = balloons.balloon(Balloon::Notice);
    balloons.show(Balloon::Notice, u"Sconnesso!"_s);
    EXPECT_TRUE(notice.isVisible());
    EXPECT_EQ(notice.Text(), u"Sconnesso!"_s);
    clock.advance(TrayBalloons::NoticeMs);
    EXPECT_FALSE(notice.isVisible());
    balloons.Configure(-1);
    balloons.show(Balloon::Notice, u"Sconnesso!"_s);
    EXPECT_FALSE(notice.isVisible());
}

} // namespace
} // namespace vestrel::testing
