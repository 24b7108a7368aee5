#include "widgets/FormSettings.h"
#include "widgets/Forms.h"

#include "common/Registry.h"
#include "common/VestrelError.h"
#include "support/ScriptedDialogs.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vestrel {
namespace {

using namespace Qt::Literals::StringLiterals;

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override { SetRegistryFile(m_dir.filePath(u"Vestrel.ini"_s)); }
    void TearDown() override { SetRegistryFile({}); }

    QStringList writtenKeys()
    {
        QSettings ini(RegistryFile(), QSettings::IniFormat);
        return ini.allKeys();
    }

    QTemporaryDir m_dir;
};

TEST_F(FormsTest, WindowPlaceIsRestoredAndOnlyChangedValuesAreWritten)
{
    {
        QWidget window;
        window.setObjectName(u"fmProva"_s);
        window.setFixedSize(100, 50);
        RememberSettings(&window);
        EXPECT_EQ(window.pos(), QPoint(20, 20));
        window.move(20, 130);
    }
    const QStringList keys = writtenKeys();
    ASSERT_EQ(keys.size(), 1) << keys.join(u' ').toStdString();
    EXPECT_TRUE(keys[0].startsWith(u"Settings/fmProva/"_s));
    EXPECT_TRUE(keys[0].endsWith(u"/Top"_s));

    QWidget again;
    again.setObjectName(u"fmProva"_s);
    again.setFixedSize(100, 50);
    RememberSettings(&again);
    EXPECT_EQ(again.pos(), QPoint(20, 130));
}

TEST_F(FormsTest, SizeableWindowKeepsItsSize)
{
    {
        QWidget window;
        window.setObjectName(u"fmGrande"_s);
        window.resize(300, 200);
        RememberSettings(&window);
        EXPECT_EQ(window.size(), QSize(300, 200));
        window.resize(420, 240);
    }
    QWidget again;
    again.setObjectName(u"fmGrande"_s);
    again.resize(300, 200);
    RememberSettings(&again);
    EXPECT_EQ(again.size(), QSize(420, 240));
}

TEST_F(FormsTest, CentredWindowIsRefused)
{
    QWidget window;
    window.setProperty("centred", true);
    try {
        RememberSettings(&window);
        FAIL();
    } catch (const VestrelError& e) {
        EXPECT_EQ(e.message(), u"Fallita la RememberSettings: La proprietà Position deve essere poDesigned!"_s);
    }
}

TEST_F(FormsTest, RequiredFieldsListTheBlankOnes)
{
    QWidget form;
    auto* name = new QLineEdit(u"  "_s, &form);
    auto* number = new QLineEdit(u"0612345"_s, &form);
    auto* gateway = new QComboBox(&form);
    QStringList errors;
    EXPECT_FALSE(CheckRequiredFields({{u"Nome"_s, name}, {u"Numero"_s, number}, {u"Gateway"_s, gateway}}, errors));
    EXPECT_EQ(errors, QStringList({u"I seguenti campi sono obbligatori: "_s, u"- Nome"_s, u"- Gateway"_s}));

    errors.clear();
    name->setText(u"Anna"_s);
    gateway->addItem(u"Uno"_s);
    EXPECT_TRUE(CheckRequiredFields({{u"Nome"_s, name}, {u"Gateway"_s, gateway}}, errors));
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(FormsTest, ShowFormReusesAModelessWindowAndRefusesWhenResourcesAreLow)
{
    QPointer<QWidget> reference;
    int created = 0;
    const std::function<QWidget*()> create = [&created] {
        ++created;
        return new QWidget;
    };
    EXPECT_EQ(ShowForm(reference, true, create), QDialog::Accepted);
    EXPECT_EQ(ShowForm(reference, true, create), QDialog::Accepted);
    EXPECT_EQ(created, 1);
    delete reference.data();

    testing::ScriptedDialogs dialogs;
    SetFormResourceGuard([] { return std::optional<QString>(u"Sistema: 4% Utente: 4% GDI: 4%"_s); });
    EXPECT_EQ(ShowForm(reference, true, create), QDialog::Rejected);
    SetFormResourceGuard({});
    EXPECT_EQ(created, 1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(u"Risorse di sistema in esaurimento - Sistema: 4%"_s));
    EXPECT_TRUE(dialogs.shown[0].text.endsWith(u"!!!"_s));
}

TEST_F(FormsTest, ModalFormReturnsItsResultAndIsReleasedLater)
{
    QPointer<QDialog> reference;
    QPointer<QDialog> shown;
    const int result = ShowForm<QDialog>(
        reference, false, [] { return new QDialog; },
        [&shown](QDialog* dialog) {
            shown = dialog;
            QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
        });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(reference.isNull());
    ASSERT_FALSE(shown.isNull());
    Pause(1300);
    EXPECT_TRUE(shown.isNull());
}

} // namespace
} // namespace vestrel
