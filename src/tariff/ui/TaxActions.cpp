#include "TaxActions.h"

#include "monitor/Status.h"
#include "tariff/Taxations.h"

#include "common/Dialogs.h"

#include <QWidget>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

QString DeleteTaxQuestion(const TTaxItem& tax)
{
    return u"Sei proprio sicuro di voler eliminare la tariffa  «"_s + tax.DisplayName() + u"»"_s;
}

void CloseTaxEditor(TTaxItem* tax)
{
    QObject* editor = tax ? tax->Editor() : nullptr;
    if (!editor)
        return;
    tax->SetEditor(nullptr);
    // The window goes later: it may be the one whose command is deleting its tariff.
    if (auto* window = qobject_cast<QWidget*>(editor))
        window->close();
    editor->deleteLater();
}

TTaxItem* DeleteTaxAsked(TTaxations& taxations, TStatus* status, TTaxItem* tax, bool keepCurrent)
{
    if (!tax || taxations.Taxs().IndexOf(tax) < 0)
        return nullptr;
    if (taxations.Taxs().Count() == 1) {
        ShowWarningBox(OnlyTaxLeftText());
        return nullptr;
    }
    if (AskYesNo(DeleteTaxQuestion(*tax)) != DialogAnswer::Yes)
        return nullptr;
    CloseTaxEditor(tax);
    const bool wasCurrent = status && status->Tax() == tax;
    if (wasCurrent)
        status->SetTax(nullptr);
    TTaxItem* first = taxations.DeleteTax(tax);
    if (status && (wasCurrent || !keepCurrent))
        status->SetTax(first);
    return first;
}

bool RestoreBuiltinTaxsAsked(TTaxations& taxations, TStatus* status,
                             const std::function<void()>& closeAllProperties)
{
    const QString question =
        u"L'impostazione predefinita delle tariffe azzererà eventuali bonus mensili di tariffe "
        "tipo Teleconomy NoStop\rRipristina le impostazioni predefinite per le tariffe?"_s;
    if (AskYesNo(question) != DialogAnswer::Yes)
        return false;
    if (closeAllProperties)
        closeAllProperties();
    // Whatever the callback left open would point at a tariff about to go.
    for (int i = 0; i < taxations.Taxs().Count(); ++i)
        CloseTaxEditor(taxations.Taxs()[i]);
    if (status)
        status->SetTax(nullptr);
    taxations.LoadDefaultTaxs();
    if (status && taxations.Taxs().Count() > 0)
        status->SetTax(taxations.Taxs()[0]);
    return true;
}

} // namespace vestrel
