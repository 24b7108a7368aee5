#include "WindowFixture.h"

#include "monitor/ui/FormDialogDisconnetti.h"

#include "monitor/Disconnection.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

using namespace vestrel;
using namespace vestrel::testing;

// Readable failures (found by argument lookup in the global namespace).
inline void PrintTo(const QDateTime& value, std::ostream* os)
{
    *os << value.toString(u"dd/MM/yyyy HH:mm:ss"_s).toStdString();
}

namespace {

class ScheduleDialog : public WindowFixture {
protected:
    QDateTime shown(const TfmDialogDisconnetti& dialog) const
    {
        return QDateTime(dialog.DateInizio()->date(), dialog.TimeInizio()->time());
    }

    static QDateTime at(int day, int hour, int minute)
    {
        return QDateTime(QDate(2001, 3, day), QTime(hour, minute));
    }
};

TEST_F(ScheduleDialog, OpensOnTheScheduledMomentOrNow)
{
    {
        TfmDialogDisconnetti dialog(status());
        EXPECT_EQ(dialog.windowTitle(), u"Imposta l'orario di disconnessione"_s);
        EXPECT_EQ(shown(dialog), at(14, 10, 0));
        EXPECT_EQ(dialog.CheckBoxCloseWindoz()->text(), schedule::ShutdownCaption());
        EXPECT_EQ(dialog.CheckBoxCloseWindoz()->toolTip(),
                  u"Indica se chiudere o meno la sessione di Windows alla disconnessione"_s);
        EXPECT_FALSE(dialog.CheckBoxCloseWindoz()->isChecked());
        EXPECT_TRUE(dialog.buAnnulla()->isDefault());
        EXPECT_EQ(dialog.buAnnulla()->toolTip(), u"Annulla la disconnessione programmata"_s);
        dialog.show();
        SaveShot(&dialog, u"dialogdisconnetti"_s);
    }
    status().SetScheduledDisconnect(EncodeDateTime(2001, 3, 15, 8, 30, 0));
    status().SetShutdownAtDisconnect(true);
    TfmDialogDisconnetti dialog(status());
    EXPECT_EQ(shown(dialog), at(15, 8, 30));
    EXPECT_TRUE(dialog.CheckBoxCloseWindoz()->isChecked());
}

struct HoursCase {
    const char* name;
    const char16_t* text;
    int day;
    int hour;
    friend void PrintTo(const HoursCase& row, std::ostream* os) { *os << row.name; }
};

class HoursBox : public ScheduleDialog, public ::testing::WithParamInterface<HoursCase> {};

TEST_P(HoursBox, MovesBothPickersOnlyForAWholeNumber)
{
    const HoursCase& c = GetParam();
    TfmDialogDisconnetti dialog(status());
    dialog.show();
    // From another moment, so that an ignored text visibly leaves it.
    dialog.DateInizio()->setDate(QDate(2001, 3, 20));
    dialog.TimeInizio()->setTime(QTime(18, 45));
    dialog.EditMaskOre()->setText(QString::fromUtf16(c.text));
    EXPECT_EQ(shown(dialog), c.day ? at(c.day, c.hour, 0) : at(20, 18, 45));
}

INSTANTIATE_TEST_SUITE_P(Texts, HoursBox,
                         ::testing::Values(HoursCase{"TwoHours", u"2", 14, 12},
                                           HoursCase{"PastMidnight", u"15", 15, 1},
                                           HoursCase{"NotANumber", u"x", 0, 0},
                                           HoursCase{"NumberThenLetter", u"2x", 0, 0}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ScheduleDialog, MomentNotInTheFutureIsRefusedAndALaterOneScheduled)
{
    TfmDialogDisconnetti dialog(status());
    dialog.show();
    for (const QTime& time : {QTime(9, 0), QTime(10, 0)}) {
        dialog.TimeInizio()->setTime(time);
        dialog.buOk()->click();
        EXPECT_TRUE(dialog.isVisible());
    }
    EXPECT_EQ(warnings(), (std::vector<QString>(2, u"Uhm...l'orario specificato è già trascorso..."_s)));
    EXPECT_EQ(status().ScheduledDisconnect(), 0);

    dialog.TimeInizio()->setTime(QTime(11, 30));
    dialog.CheckBoxCloseWindoz()->setChecked(true);
    dialog.buOk()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(status().ScheduledDisconnect(), EncodeDateTime(2001, 3, 14, 11, 30, 0));
    EXPECT_TRUE(status().ShutdownAtDisconnect());
    EXPECT_TRUE(noticed(u"Disconnessione programmata: mercoledì 14 marzo 2001 11:30:00"_s));
}

TEST_F(ScheduleDialog, AnnullaAndEscapeClearTheScheduleTheCloseButtonDoesNot)
{
    const TDateTime moment = EncodeDateTime(2001, 3, 14, 22, 0, 0);
    const auto scheduled = [&] {
        status().SetScheduledDisconnect(moment);
        status().SetShutdownAtDisconnect(true);
    };

    scheduled();
    {
        TfmDialogDisconnetti dialog(status());
        dialog.show();
        dialog.close();
        EXPECT_EQ(status().ScheduledDisconnect(), moment);
        EXPECT_TRUE(status().ShutdownAtDisconnect());
    }
    for (const bool escape : {false, true}) {
        scheduled();
        TfmDialogDisconnetti dialog(status());
        dialog.show();
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.buAnnulla()->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(status().ScheduledDisconnect(), 0) << (escape ? "escape" : "button");
        EXPECT_FALSE(status().ShutdownAtDisconnect());
    }
    EXPECT_TRUE(noticed(u"Annullata la disconnessione programmata"_s));
}

TEST_F(ScheduleDialog, MenuOpensItModallyOnce)
{
    ModalScript script;
    script.then<TfmDialogDisconnetti>([&](TfmDialogDisconnetti* dialog) {
        windows->OpenScheduleDialog();
        EXPECT_EQ(QApplication::activeModalWidget(), dialog) << "no second window";
        EXPECT_EQ(OpenedScheduleDialog(), dialog);
        QTest::keyClicks(dialog->EditMaskOre(), u"3"_s);
        dialog->buOk()->click();
    });
    windows->OpenScheduleDialog();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(status().ScheduledDisconnect(), EncodeDateTime(2001, 3, 14, 13, 0, 0));
    EXPECT_EQ(OpenedScheduleDialog(), nullptr);
}

} // namespace
