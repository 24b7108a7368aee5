#include "Taxations.h"

#include "common/StringHelpers.h"
#include "common/VestrelError.h"

#include <algorithm>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

char16_t asciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

} // namespace

bool SameTaxText(const QString& a, const QString& b)
{
    const QString x = TrimBlanks(a);
    const QString y = TrimBlanks(b);
    if (x.size() != y.size())
        return false;
    for (qsizetype i = 0; i < x.size(); ++i)
        if (asciiLower(x[i].unicode()) != asciiLower(y[i].unicode()))
            return false;
    return true;
}

int TTaxItems::IndexOfDisplayName(const QString& text) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameTaxText((*this)[i]->DisplayName(), text))
            return i;
    return -1;
}

TTaxations::TTaxations(QObject* owner) : TPersistentComponent(owner) {}

TTaxations::~TTaxations()
{
    SaveOnDestroy();
}

const store::ClassInfo& TTaxations::staticClassInfo()
{
    static const store::ClassInfo info =
        store::ClassBuilder<TTaxations>("TTaxations", &TPersistentComponent::staticClassInfo())
            .collection("Taxs", [](TTaxations& s) -> TTaxItems& { return s.Taxs(); })
            .build();
    return info;
}

TTaxItem* TTaxations::AddTax(const QString& gestore, const QString& nome, TTipoTariffa tipo,
                             const QString& descrizione)
{
    const int found = IndexOfTax(gestore, nome);
    if (found >= 0)
        throw VestrelError(u"Impossibile aggiungere la tariffa "_s + m_taxs[found]->DisplayName()
                           + u"\rE' già presente una tariffa con questo nome!"_s);
    TTaxItem* tax = m_taxs.Add();
    tax->SetNome(TrimBlanks(nome));
    tax->SetGestore(TrimBlanks(gestore));
    tax->SetDescrizione(descrizione);
    tax->SetTipo(tipo);
    tax->SetCompare(tipo == ttTat);
    tax->SetScattiAllaRisposta(1);
    tax->SetCostoFissoRidotta(120);
    tax->SetCostoFissoIntera(120);
    tax->SetCostoFissoPunta(120);
    tax->SetFormulaUrbana(false);
    tax->SetTatPunta1(36.72);
    tax->SetTatPunta2(33.12);
    tax->SetTatIntera1(36.72);
    tax->SetTatIntera2(33.12);
    tax->SetTatRidotta1(21.24);
    tax->SetTatRidotta2(19.08);
    tax->SetScattiRidotta(400);
    tax->SetScattiIntera(220);
    tax->SetScattiPunta(170);
    SetModified(true);
    return tax;
}

int TTaxations::IndexOfTax(const QString& gestore, const QString& nome) const
{
    for (int i = 0; i < m_taxs.Count(); ++i) {
        const TTaxItem& tax = *m_taxs[i];
        if (SameTaxText(tax.Nome(), nome) && SameTaxText(tax.Gestore(), gestore))
            return i;
    }
    return -1;
}

bool TTaxations::TaxNameInUse(const TTaxItem* item, const QString& gestore,
                              const QString& nome) const
{
    for (int i = 0; i < m_taxs.Count(); ++i) {
        const TTaxItem* tax = m_taxs[i];
        if (tax != item && SameTaxText(tax->Nome(), nome) && SameTaxText(tax->Gestore(), gestore))
            return true;
    }
    return false;
}

TTaxItem* TTaxations::FindTax(const QString& displayName) const
{
    const int index = m_taxs.IndexOfDisplayName(displayName);
    return index >= 0 ? m_taxs[index] : nullptr;
}

TTaxItem* TTaxations::DeleteTax(TTaxItem* tax)
{
    const int index = m_taxs.IndexOf(tax);
    if (index < 0)
        return nullptr;
    if (m_taxs.Count() == 1)
        throw VestrelError(OnlyTaxLeftText());
    m_taxs.Delete(index);
    return m_taxs[0];
}

QString OnlyTaxLeftText()
{
    return u"Almeno una tariffa ci deve essere!"_s;
}

std::vector<TaxGroup> GroupTaxsByGestore(const TTaxItems& taxs)
{
    std::vector<TaxGroup> groups;
    for (int i = 0; i < taxs.Count(); ++i) {
        TTaxItem* tax = taxs[i];
        auto group = std::find_if(groups.begin(), groups.end(), [tax](const TaxGroup& g) {
            return SameTaxText(g.Gestore, tax->Gestore());
        });
        if (group == groups.end())
            group = groups.insert(groups.end(), TaxGroup{tax->Gestore(), {}});
        group->Taxs.push_back(tax);
    }
    return groups;
}

void TTaxations::UpdateMonthlyBonuses()
{
    for (int i = 0; i < m_taxs.Count(); ++i)
        m_taxs[i]->UpdateMonthlyBonus();
}

void TTaxations::DoLoaded()
{
    TPersistentComponent::DoLoaded();
    if (m_taxs.Count() == 0)
        LoadDefaultTaxs();
}

} // namespace vestrel
