#pragma once

#include "TaxItem.h"

#include "store/PersistentComponent.h"

#include <functional>
#include <vector>

namespace vestrel {

// All tariffs, in user order.
class TTaxItems : public store::TCollectionOf<TTaxItem> {
public:
    using TCollectionOf::TCollectionOf;
    // Index of the first tariff whose DisplayName matches the text (blanks and control
    // characters at both ends ignored, ASCII case ignored), or -1.
    int IndexOfDisplayName(const QString& text) const;
};

// What the comparison reads of a finished connection.
struct ComparedConnection {
    TDateTime Start = 0;
    TDateTime End = 0;
    double Lire = 0; // as charged under the tariff that was used
};

// The tariff store ("Taxations.dat"). An empty list is filled with the built-in tariffs when
// loaded.
class TTaxations : public store::TPersistentComponent {
public:
    using CompareProgress = std::function<void(const QString& text, int percent)>;
    using CompareStop = std::function<bool()>;

    explicit TTaxations(QObject* owner = nullptr);
    ~TTaxations() override;

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    TTaxItems& Taxs() { return m_taxs; }
    const TTaxItems& Taxs() const { return m_taxs; }

    // Appends a tariff with the new-tariff values; raises when the pair is already in use.
    TTaxItem* AddTax(const QString& gestore, const QString& nome, TTipoTariffa tipo,
                     const QString& descrizione);
    int IndexOfTax(const QString& gestore, const QString& nome) const;
    // True when a tariff other than `item` has that operator and name.
    bool TaxNameInUse(const TTaxItem* item, const QString& gestore, const QString& nome) const;
    TTaxItem* FindTax(const QString& displayName) const;
    // Destroys a tariff of the list and returns the first one left, which the caller makes
    // current. The list keeps at least one tariff: for the only one, raises OnlyTaxLeftText()
    // and changes nothing. A tariff not in the list is left alone (nullptr).
    TTaxItem* DeleteTax(TTaxItem* tax);
    // Replaces every tariff with the built-in list.
    void LoadDefaultTaxs();
    void UpdateMonthlyBonuses();

    // Prices the connection again under every time-based tariff marked for comparison and
    // returns the lines of those that would have cost at least one Lira less, the largest saving
    // first. Empty when the tariff used was the cheapest.
    QString CompareTaxs(const ComparedConnection& connection, const CompareProgress& progress = {},
                        const CompareStop& stop = {}) const;

    void DoLoaded() override;

private:
    TTaxItems m_taxs{this};
};

// Why the only tariff left cannot be deleted.
QString OnlyTaxLeftText();

// One operator of the tariff tree and its tariffs, in store order. The operator is written as
// its first tariff writes it.
struct TaxGroup {
    QString Gestore;
    std::vector<TTaxItem*> Taxs;
};

// The tariffs grouped by operator, the operators in the order of their first tariff; operators
// that differ only in ASCII case or in blanks at the ends are one group.
std::vector<TaxGroup> GroupTaxsByGestore(const TTaxItems& taxs);

// Text comparison of tariff keys: blanks and control characters at both ends are ignored, and
// the case of ASCII letters only.
bool SameTaxText(const QString& a, const QString& b);

} // namespace vestrel
