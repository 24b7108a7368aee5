#include "TaxWindowFixture.h"

#include "widgets/FishIcons.h"

#include <QApplication>
#include <QCheckBox>
#include <QEnterEvent>
#include <QLabel>
#include <QListWidget>

namespace vestrel::testing {
namespace {

class ComparisonSettingsTest : public TaxWindowFixture {
protected:
    TProfileItem& profile() { return *settings.Profiles()[0]; }
    static QListWidget* times(ComparisonSettingsDialog& d) { return d.findChild<QListWidget*>(u"lbTempi"_s); }
    static QImage fishShown(ComparisonSettingsDialog& d)
    {
        return d.findChild<QLabel*>(u"imFish"_s)->pixmap().toImage();
    }
    static QImage fish(Fish f) { return FishIcon(f).pixmap(16, 16).toImage(); }
};

TEST_F(ComparisonSettingsTest, ListOffersTheSevenTimesAndSelectsTheStoredOne)
{
    const QStringList texts = {
        u"Non visualizzare il messaggio"_s, u"Visualizza per 20 secondi"_s,
        u"Visualizza per 15 secondi"_s,     u"Visualizza per 10 secondi"_s,
        u"Visualizza per 5 secondi"_s,      u"Visualizza per 2 secondi"_s,
        u"Non visualizzare nessun messaggio"_s,
    };
    const std::pair<qint32, int> rows[] = {{0, 0},    {20000, 1}, {15000, 2}, {10000, 3},
                                           {5000, 4}, {2000, 5},  {-1, 6},    {7000, -1}};
    for (const auto& [pause, index] : rows) {
        SCOPED_TRACE(pause);
        profile().SetTrayHintPause(pause);
        ComparisonSettingsDialog dialog(profile(), &status, {});
        QStringList shown;
        for (int i = 0; i < times(dialog)->count(); ++i)
            shown << times(dialog)->item(i)->text();
        EXPECT_EQ(shown, texts);
        EXPECT_EQ(DisplayTimeIndex(pause), index);
        EXPECT_EQ(times(dialog)->selectedItems().size(), index < 0 ? 0 : 1);
        if (index >= 0) {
            EXPECT_EQ(times(dialog)->currentRow(), index);
        }
    }
}

TEST_F(ComparisonSettingsTest, OkStoresAndAppliesAtOnceCancelStoresNothing)
{
    struct Row {
        const char* name;
        qint32 stored;
        int choose; // -1: leave the list as it is
        bool ok;
        qint32 expected;
    };
    const Row rows[] = {
        {"no messages", 10000, 6, true, -1},
        {"two seconds", 0, 5, true, 2000},
        {"odd value, no choice", 7000, -1, true, 7000},
        {"cancelled", 10000, 1, false, 10000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        profile().SetTrayHintPause(row.stored);
        profile().SetSanctiOff(false);
        std::vector<qint32> applied;
        ComparisonSettingsDialog dialog(profile(), &status, [&](qint32 p) { applied.push_back(p); });
        if (row.choose >= 0)
            times(dialog)->setCurrentRow(row.choose);
        dialog.findChild<QCheckBox*>(u"ckSanctiOff"_s)->setChecked(true);
        if (row.ok)
            dialog.accept();
        else
            dialog.reject();
        EXPECT_EQ(profile().TrayHintPause(), row.expected);
        EXPECT_EQ(profile().SanctiOff(), row.ok);
        EXPECT_EQ(applied, row.ok ? std::vector<qint32>{row.expected} : std::vector<qint32>{});
    }
}

TEST_F(ComparisonSettingsTest, HintTellsWhatTheLastComparisonFound)
{
    EXPECT_EQ(LastComparisonHint({}, u"Casa"_s), u"Bene! Hai scelto la tariffa più conveniente! ;)"_s);
    EXPECT_EQ(LastComparisonHint(u"risparmiavi 1.500 £irette con Wind - Urbana"_s, u"Casa"_s),
              u"Maledizione non hai scelto la tariffa più conveniente con la connessione Casa\r"
              "risparmiavi 1.500 £irette con Wind - Urbana"_s);
}

TEST_F(ComparisonSettingsTest, PreviewShowsTheBandFishAndTheClock)
{
    status.SetTax(tax(u"Telecom - TAT Urbana"_s)); // full band on a weekday at 10:00
    status.SetLastComparison(u"risparmiavi 50 £irette con Tele2 - Urbana"_s);
    ComparisonSettingsDialog dialog(profile(), &status, {});
    SaveShot(&dialog, u"comparison-settings"_s);
    auto* time = dialog.findChild<QLabel*>(u"lbOra"_s);
    auto* icon = dialog.findChild<QLabel*>(u"imFish"_s);
    EXPECT_EQ(time->text(), u"10:00"_s);
    EXPECT_EQ(time->toolTip(), u"mercoledì 14 marzo 2001"_s);
    EXPECT_EQ(icon->toolTip(), u"Maledizione non hai scelto la tariffa più conveniente con la "
                               "connessione \nrisparmiavi 50 £irette con Tele2 - Urbana"_s);
    EXPECT_EQ(fishShown(dialog), fish(Fish::Yellow));

    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
    QApplication::sendEvent(icon, &enter);
    EXPECT_EQ(fishShown(dialog), fish(Fish::Transparent));

    clock.setNow(EncodeDateTime(2001, 3, 14, 19, 0, 0)); // reduced band
    clock.advance(1000);
    EXPECT_EQ(time->text(), u"19:00"_s);
    EXPECT_EQ(fishShown(dialog), fish(Fish::Transparent));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(icon, &leave);
    EXPECT_EQ(fishShown(dialog), fish(Fish::Green));
}

} // namespace
} // namespace vestrel::testing
