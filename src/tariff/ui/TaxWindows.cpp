#include "TaxWindows.h"

#include "config/EntryItem.h"
#include "widgets/Forms.h"

namespace vestrel {

namespace {

QPointer<TaxChooser>& chooser()
{
    static QPointer<TaxChooser> reference;
    return reference;
}

} // namespace

TaxChooser* OpenTaxChooser(const TaxChooserContext& context, QWidget* parent)
{
    if (TaxChooser* open = chooser()) {
        open->Refresh();
        BringToForeground(open);
        return open;
    }
    ShowForm<TaxChooser>(chooser(), true, [&] {
        auto* window = new TaxChooser(context, TaxChooserMode::Choose, nullptr, parent);
        QObject::connect(window, &QDialog::finished, window, [] { ReleaseFormLater(chooser()); });
        return window;
    });
    return chooser();
}

TaxChooser* OpenedTaxChooser()
{
    return chooser();
}

void RefreshTaxChooser()
{
    if (TaxChooser* open = chooser())
        open->Refresh();
}

void RebuildTaxChooserTree()
{
    if (TaxChooser* open = chooser())
        open->RebuildTree();
}

bool SelectEntryTax(const TaxChooserContext& context, TEntryItem& entry, QWidget* parent)
{
    static QPointer<TaxChooser> dialog;
    const QString before = entry.TaxName();
    const int result = ShowForm<TaxChooser>(dialog, false, [&] {
        return new TaxChooser(context, TaxChooserMode::Select, &entry, parent);
    });
    return result == QDialog::Accepted && entry.TaxName() != before;
}

bool EditComparisonSettings(TProfileItem& profile, const TStatus* status,
                            std::function<void(qint32)> apply, QWidget* parent)
{
    static QPointer<ComparisonSettingsDialog> dialog;
    return ShowForm<ComparisonSettingsDialog>(dialog, false, [&] {
               return new ComparisonSettingsDialog(profile, status, std::move(apply), parent);
           }) == QDialog::Accepted;
}

} // namespace vestrel
