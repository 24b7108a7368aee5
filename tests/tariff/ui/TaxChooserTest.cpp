#include "TaxWindowFixture.h"

#include "config/EntryItem.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <optional>

namespace vestrel::testing {
namespace {

QString panel(TaxChooser& window, const QString& name)
{
    return window.findChild<QLabel*>(name)->text();
}

bool enabled(TaxChooser& window, const QString& button)
{
    return window.findChild<QToolButton*>(button)->isEnabled();
}

class TaxChooserTest : public TaxWindowFixture {};

TEST_F(TaxChooserTest, TreeGroupsOperatorsAndOpensOnTheCurrentTariff)
{
    TTaxItem* notte = taxations.AddTax(u"WIND"_s, u"Notte"_s, ttTat, u" Notturna "_s);
    status.SetTax(notte);
    TaxChooser window(context(), TaxChooserMode::Choose);

    EXPECT_EQ(window.windowTitle(), u"Scegli la tariffa da impostare"_s);
    const QStringList rows = treeText(window);
    ASSERT_EQ(rows.size(), 5);
    EXPECT_TRUE(rows[0].startsWith(u"Telecom: TAT Urbana,TAT Formula Urbana,"_s));
    EXPECT_TRUE(rows[1].startsWith(u"Infostrada: Libero@Sogno"_s));
    EXPECT_EQ(rows[2], u"Wind: Urbana,Urbana 1088 Light,Internet Light 1088,"
                       "Internet Light 1088 24 Ore,Regionale 1088 Light,Notte"_s);
    EXPECT_EQ(rows.mid(3), (QStringList{u"Tele2: Urbana"_s, u"Flat: Gratis"_s}));

    EXPECT_EQ(tree(window)->currentItem(), node(window, u"Wind"_s, u"Notte"_s));
    EXPECT_EQ(window.SelectedTax(), notte);
    EXPECT_EQ(panel(window, u"pnGestore"_s), u"WIND"_s);
    EXPECT_EQ(panel(window, u"pnNome"_s), u"Notte"_s);
    EXPECT_EQ(panel(window, u"pnDescrizione"_s), u" Notturna "_s);
    EXPECT_EQ(window.Hint(), u"La tariffa corrente è WIND - Notte\rNotturna"_s);
    EXPECT_EQ(window.AssignText(), u"Imposta la tariffa"_s);
}

TEST_F(TaxChooserTest, SelectingATariffSetsTheCurrentOneOnlyInTheChooser)
{
    TTaxItem* first = taxations.Taxs()[0];
    TTaxItem* wind = tax(u"Wind - Urbana"_s);
    status.SetTax(first);
    std::vector<TTaxItem*> changes;
    status.OnTaxChanged = [&](TStatus* s, TTaxItem*) { changes.push_back(s->Tax()); };
    {
        TaxChooser window(context(), TaxChooserMode::Choose);
        tree(window)->setCurrentItem(tree(window)->topLevelItem(2)); // an operator
        EXPECT_EQ(status.Tax(), first);
        EXPECT_FALSE(enabled(window, u"buElimina"_s));
        tree(window)->setCurrentItem(node(window, u"Wind"_s, u"Urbana"_s));
        EXPECT_EQ(status.Tax(), wind);
        EXPECT_EQ(changes, std::vector<TTaxItem*>{wind});
        EXPECT_TRUE(enabled(window, u"buElimina"_s));
        EXPECT_EQ(panel(window, u"pnNome"_s), u"Urbana"_s);
    }

    TEntryItem* casa = settings.Entrys().FindOrAdd(u"Casa"_s, keRAS);
    casa->SetTaxName(u" infostrada - locali "_s);
    status.SetTax(first);
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "OK" : "Annulla");
        TaxChooser window(context(), TaxChooserMode::Select, casa);
        EXPECT_EQ(window.windowTitle(), u"Scegli la tariffa da associare a Casa"_s);
        EXPECT_EQ(window.SelectedTax(), tax(u"Infostrada - Locali"_s));
        tree(window)->setCurrentItem(node(window, u"Wind"_s, u"Urbana"_s));
        EXPECT_EQ(status.Tax(), first);
        EXPECT_EQ(panel(window, u"pnGestore"_s), u"Wind"_s);
        EXPECT_TRUE(window.Hint().startsWith(u"La tariffa corrente è Wind - Urbana\r"_s));
        EXPECT_EQ(casa->TaxName(), u"infostrada - locali"_s);
        if (ok)
            window.accept();
        else
            window.reject();
        EXPECT_EQ(casa->TaxName(), ok ? u"Wind - Urbana"_s : u"infostrada - locali"_s);
    }
    EXPECT_EQ(status.Tax(), first);
}

TEST_F(TaxChooserTest, DeletingTheOnlyTariffIsRefusedWithoutAsking)
{
    while (taxations.Taxs().Count() > 1)
        taxations.DeleteTax(taxations.Taxs()[1]);
    status.SetTax(taxations.Taxs()[0]);
    TaxChooser window(context(), TaxChooserMode::Choose);
    QTest::keyClick(tree(window), Qt::Key_Delete);
    EXPECT_EQ(texts(DialogKind::Warning), std::vector<QString>{u"Almeno una tariffa ci deve essere!"_s});
    EXPECT_TRUE(texts(DialogKind::YesNo).empty());
    EXPECT_EQ(taxations.Taxs().Count(), 1);
}

TEST_F(TaxChooserTest, DeletingTheCurrentTariffMakesTheFirstCurrentAndRebuilds)
{
    TTaxItem* wind = tax(u"Wind - Urbana"_s);
    status.SetTax(wind);
    QPointer<QWidget> editor = new QWidget;
    editor->show();
    wind->SetEditor(editor);
    TaxChooser window(context(), TaxChooserMode::Choose);

    dialogs.setNextAnswer(DialogAnswer::No);
    QTest::keyClick(tree(window), Qt::Key_Delete);
    EXPECT_EQ(texts(DialogKind::YesNo),
              std::vector<QString>{u"Sei proprio sicuro di voler eliminare la tariffa  «Wind - Urbana»"_s});
    EXPECT_EQ(taxations.Taxs().Count(), 24);
    EXPECT_TRUE(editor->isVisible());

    dialogs.setNextAnswer(DialogAnswer::Yes);
    window.findChild<QToolButton*>(u"buElimina"_s)->click();
    EXPECT_EQ(taxations.Taxs().Count(), 23);
    EXPECT_EQ(tax(u"Wind - Urbana"_s), nullptr);
    ASSERT_TRUE(editor);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(status.Tax(), taxations.Taxs()[0]);
    EXPECT_EQ(window.SelectedTax(), taxations.Taxs()[0]);
    EXPECT_EQ(treeText(window)[2], u"Wind: Urbana 1088 Light,Internet Light 1088,"
                                   "Internet Light 1088 24 Ore,Regionale 1088 Light"_s);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(editor.isNull());
}

TEST_F(TaxChooserTest, SelectionDialogKeepsTheCurrentTariffWhenDeletingAnother)
{
    TTaxItem* current = tax(u"Wind - Urbana"_s);
    status.SetTax(current);
    TEntryItem* casa = settings.Entrys().FindOrAdd(u"Casa"_s, keRAS);
    casa->SetTaxName(u"Flat - Gratis"_s);
    TaxChooser window(context(), TaxChooserMode::Select, casa);
    dialogs.setNextAnswer(DialogAnswer::Yes);
    window.DeleteSelected();
    EXPECT_EQ(tax(u"Flat - Gratis"_s), nullptr);
    EXPECT_EQ(status.Tax(), current);
    EXPECT_EQ(window.SelectedTax(), taxations.Taxs()[0]);
}

TEST_F(TaxChooserTest, ClosingRecordsTheTariffForTheEntryAndClearsQuestionPending)
{
    for (const QString& name : {u"Casa"_s, ManualStartKey()}) {
        SCOPED_TRACE(name.toStdString());
        status.SetEntryName(name);
        status.SetTax(tax(u"Tele2 - Urbana"_s));
        settings.Entrys().FindOrAdd(name, keRAS)->SetTaxName({});
        status.SetQuestionPending(true);
        TaxChooser window(context(), TaxChooserMode::Choose);
        window.show();
        // Enter closes the chooser as closing the window does.
        if (name == ManualStartKey())
            QTest::keyClick(tree(window), Qt::Key_Return);
        else
            window.close();
        EXPECT_FALSE(window.isVisible());
        EXPECT_FALSE(status.QuestionPending());
        EXPECT_EQ(settings.Entrys().FindOrAdd(name, keRAS)->TaxName(), u"Tele2 - Urbana"_s);
        status.SetTax(taxations.Taxs()[0]);
    }
    EXPECT_EQ(settings.Entrys().IndexOfName(ManualStartCaption()), -1);
}

TEST_F(TaxChooserTest, DoubleClickFollowsTheMachineState)
{
    struct Row {
        const char* name;
        TaxChooserMode mode;
        std::optional<TMtxEvent> event;
        bool opensProperties;
        bool closes;
    };
    const Row rows[] = {
        {"idle", TaxChooserMode::Choose, std::nullopt, true, false},
        {"asking", TaxChooserMode::Choose, TMtxEvent::AskHold, true, false},
        {"dialling", TaxChooserMode::Choose, TMtxEvent::RasDialing, false, true},
        {"counting", TaxChooserMode::Choose, TMtxEvent::ManualStart, false, true},
        {"selection, counting", TaxChooserMode::Select, TMtxEvent::ManualStart, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TMtxMatrixStatus fresh;
        SetMtxMatrixStatus(&fresh, nullptr);
        if (row.event)
            fresh.SetEvent(nullptr, *row.event);
        TEntryItem* casa = settings.Entrys().FindOrAdd(u"Casa"_s, keRAS);
        casa->SetTaxName({});
        std::vector<TTaxItem*> opened;
        TaxChooserContext c = context();
        c.Callbacks.OpenProperties = [&](TTaxItem* t) { opened.push_back(t); };
        TaxChooser window(c, row.mode, casa);
        window.show();
        QTreeWidgetItem* flat = node(window, u"Flat"_s, u"Gratis"_s);
        tree(window)->setCurrentItem(flat);
        Q_EMIT tree(window)->itemDoubleClicked(flat, 0);
        EXPECT_EQ(opened, row.opensProperties ? std::vector<TTaxItem*>{tax(u"Flat - Gratis"_s)}
                                              : std::vector<TTaxItem*>{});
        EXPECT_EQ(window.isVisible(), !row.closes);
        if (row.mode == TaxChooserMode::Select) {
            EXPECT_EQ(casa->TaxName(), u"Flat - Gratis"_s);
        }
    }
    SetMtxMatrixStatus(&machine, nullptr);
}

TEST_F(TaxChooserTest, LabelNamesTheEntryAndItsNumber)
{
    struct Row {
        QString entry;
        QString dialled;
        QString label;
    };
    const Row rows[] = {
        {{}, {}, u"Imposta la tariffa"_s},
        {u"Casa"_s, {}, u"Associa la tariffa a Casa tel 0612345"_s},
        {u"Casa"_s, u"0699"_s, u"Associa la tariffa a Casa"_s},
        {u"Ufficio"_s, {}, u"Associa la tariffa a Ufficio"_s},
        {ManualStartKey(), {}, u"Associa la tariffa a Avvio manuale"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label.toStdString());
        status.SetEntryName(row.entry);
        status.SetDialingNumber(row.dialled);
        TaxChooser window(context(), TaxChooserMode::Choose);
        EXPECT_EQ(window.findChild<QLabel*>(u"lbAssocia"_s)->text(), row.label);
    }
    TEntryItem* manual = settings.Entrys().FindOrAdd(ManualStartKey(), keManual);
    TaxChooser selection(context(), TaxChooserMode::Select, manual);
    EXPECT_EQ(selection.windowTitle(), u"Scegli la tariffa da associare a Avvio manuale"_s);
    TaxChooser casa(context(), TaxChooserMode::Select, settings.Entrys().FindOrAdd(u"Casa"_s, keRAS));
    EXPECT_EQ(casa.AssignText(), u"Associa la tariffa a Casa tel 0612345"_s);
}

TEST_F(TaxChooserTest, CommandsWithoutTheirWindowAreDisabled)
{
    status.SetTax(taxations.Taxs()[0]);
    const QStringList needCallbacks = {u"buNuova"_s, u"buModifica"_s, u"buFestivita"_s, u"buChiudiTutte"_s};
    {
        TaxChooser window(context(), TaxChooserMode::Choose);
        for (const QString& b : needCallbacks)
            EXPECT_FALSE(enabled(window, b)) << b.toStdString();
        EXPECT_TRUE(enabled(window, u"buRipristina"_s));
        EXPECT_TRUE(enabled(window, u"buElimina"_s));
    }
    QStringList calls;
    TaxChooserContext c = context();
    c.Callbacks.OpenProperties = [&](TTaxItem* t) { calls << (t ? t->DisplayName() : u"nuova"_s); };
    c.Callbacks.CloseAllProperties = [&] { calls << u"chiudi"_s; };
    c.Callbacks.OpenHolidays = [&] { calls << u"festività"_s; };
    TaxChooser window(c, TaxChooserMode::Choose);
    SaveShot(&window, u"tax-chooser"_s);
    for (const QString& b : needCallbacks)
        window.findChild<QToolButton*>(b)->click();
    EXPECT_EQ(calls, (QStringList{u"nuova"_s, u"Telecom - TAT Urbana"_s, u"festività"_s, u"chiudi"_s}));
}

TEST_F(TaxChooserTest, RestoreBringsBackTheBuiltInListAndMakesTheFirstCurrent)
{
    taxations.DeleteTax(tax(u"Telecom - TAT Urbana"_s));
    taxations.AddTax(u"Mia"_s, u"Tariffa"_s, ttTat, {});
    status.SetTax(tax(u"Mia - Tariffa"_s));
    int closedAll = 0;
    TaxChooserContext c = context();
    c.Callbacks.CloseAllProperties = [&] { ++closedAll; };
    TaxChooser window(c, TaxChooserMode::Choose);

    dialogs.setNextAnswer(DialogAnswer::Yes);
    window.findChild<QToolButton*>(u"buRipristina"_s)->click();
    EXPECT_EQ(texts(DialogKind::YesNo),
              std::vector<QString>{u"L'impostazione predefinita delle tariffe azzererà eventuali bonus "
                                   "mensili di tariffe tipo Teleconomy NoStop\rRipristina le "
                                   "impostazioni predefinite per le tariffe?"_s});
    EXPECT_EQ(closedAll, 1);
    EXPECT_EQ(taxations.Taxs().Count(), 24);
    EXPECT_EQ(status.Tax(), tax(u"Telecom - TAT Urbana"_s));
    EXPECT_EQ(window.SelectedTax(), status.Tax());
    EXPECT_EQ(treeText(window).size(), 5);
}

TEST_F(TaxChooserTest, EntryPointsKeepOneChooserAndRunTheSelectionDialogModally)
{
    status.SetTax(taxations.Taxs()[0]);
    TaxChooser* chooser = OpenTaxChooser(context());
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_EQ(OpenTaxChooser(context()), chooser);

    // The current tariff changed elsewhere (the main window's OnTaxChanged).
    status.SetTax(tax(u"Tele2 - Urbana"_s));
    RefreshTaxChooser();
    EXPECT_EQ(chooser->SelectedTax(), tax(u"Tele2 - Urbana"_s));
    chooser->close();
    EXPECT_EQ(OpenedTaxChooser(), nullptr);

    TEntryItem* casa = settings.Entrys().FindOrAdd(u"Casa"_s, keRAS);
    casa->SetTaxName(u"Wind - Urbana"_s);
    QString seen;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<TaxChooser*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = dialog->windowTitle();
        dialog->resize(440, 460);
        SaveShot(dialog, u"tax-selection"_s);
        tree(*dialog)->setCurrentItem(node(*dialog, u"Infostrada"_s, u"Regionali"_s));
        dialog->accept();
    });
    EXPECT_TRUE(SelectEntryTax(context(), *casa));
    EXPECT_EQ(seen, u"Scegli la tariffa da associare a Casa"_s);
    EXPECT_EQ(casa->TaxName(), u"Infostrada - Regionali"_s);
    EXPECT_EQ(status.Tax(), tax(u"Tele2 - Urbana"_s));
}

} // namespace
} // namespace vestrel::testing
