#pragma once

// The stores and the live status the tariff windows work on, on a fake clock, with the state
// machine installed as the data module installs it (its actions left unwired: tests move it
// between states without counting).

#include "tariff/ui/TaxWindows.h"

#include "config/Settings.h"
#include "monitor/MatrixStatus.h"
#include "monitor/Status.h"
#include "support/FakeClock.h"
#include "support/QStringPrinter.h"
#include "support/RecordingNotices.h"
#include "support/ScriptedDialogs.h"
#include "tariff/Taxations.h"
#include "widgets/Forms.h"

#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWidget>

#include <gtest/gtest.h>

namespace vestrel::testing {

using namespace Qt::Literals::StringLiterals;

// The release list of the window helpers keeps the clock it was first used under; it is made to
// start under the system clock, before any fake clock, so it never outlives its clock.
struct ReleaseListOnSystemClock {
    ReleaseListOnSystemClock()
    {
        static const bool primed = [] {
            ReleaseFormLater(new QWidget);
            return true;
        }();
        (void)primed;
    }
};

// Saves a picture of the window when VESTREL_WINDOW_SHOTS names a folder.
inline void SaveShot(QWidget* window, const QString& name)
{
    const QString dir = qEnvironmentVariable("VESTREL_WINDOW_SHOTS");
    if (!dir.isEmpty() && window)
        window->grab().save(dir + u"/win-"_s + name + u".png"_s);
}

class TaxWindowFixture : public ::testing::Test {
protected:
    TaxWindowFixture() : clock(EncodeDateTime(2001, 3, 14, 10, 0, 0)) // a Wednesday
    {
        status.SetTaxations(&taxations);
        SetMtxMatrixStatus(&machine, nullptr);
        SetCurrentStatus(&status);
        settings.SetFileName(dir.filePath(u"Settings.dat"_s));
        taxations.SetFileName(dir.filePath(u"Taxations.dat"_s)); // the built-in tariffs
        status.SetProfile(settings.Profiles()[0]);
    }

    ~TaxWindowFixture() override
    {
        SetCurrentStatus(nullptr);
        SetMtxMatrixStatus(nullptr, nullptr);
    }

    TaxChooserContext context()
    {
        TaxChooserContext c;
        c.Taxations = &taxations;
        c.Status = &status;
        c.Settings = &settings;
        c.EntryPhoneNumber = [](const QString& entry) {
            return entry == u"Casa"_s ? u"0612345"_s : QString();
        };
        return c;
    }

    TTaxItem* tax(const QString& name) { return taxations.FindTax(name); }

    static QTreeWidget* tree(TaxChooser& window)
    {
        return window.findChild<QTreeWidget*>(u"tvTariffe"_s);
    }

    // The node of a tariff, found by operator and name as the tree shows them.
    static QTreeWidgetItem* node(TaxChooser& window, const QString& gestore, const QString& nome)
    {
        QTreeWidget* t = tree(window);
        for (int i = 0; i < t->topLevelItemCount(); ++i) {
            QTreeWidgetItem* root = t->topLevelItem(i);
            if (root->text(0) != gestore)
                continue;
            for (int j = 0; j < root->childCount(); ++j)
                if (root->child(j)->text(0) == nome)
                    return root->child(j);
        }
        return nullptr;
    }

    // "Operator: name,name" per root node, in tree order.
    static QStringList treeText(TaxChooser& window)
    {
        QStringList rows;
        QTreeWidget* t = tree(window);
        for (int i = 0; i < t->topLevelItemCount(); ++i) {
            QStringList names;
            for (int j = 0; j < t->topLevelItem(i)->childCount(); ++j)
                names << t->topLevelItem(i)->child(j)->text(0);
            rows << t->topLevelItem(i)->text(0) + u": "_s + names.join(u',');
        }
        return rows;
    }

    std::vector<QString> texts(DialogKind kind) const
    {
        std::vector<QString> found;
        for (const auto& shown : dialogs.shown)
            if (shown.kind == kind)
                found.push_back(shown.text);
        return found;
    }

    ReleaseListOnSystemClock releaseList;
    FakeClock clock;
    ScriptedDialogs dialogs;
    RecordingNotices notices;
    QTemporaryDir dir;
    TSettings settings;
    TTaxations taxations;
    TStatus status{&settings};
    TMtxMatrixStatus machine;
};

} // namespace vestrel::testing
