#pragma once

// The entry points of the tariff windows for the main window and the settings window.
//
//   OpenTaxChooser(context)         "&Tariffe", OnTaxNeeded: opens the non-modal tariff chooser,
//                                   or brings the open one forward showing the current state.
//                                   OnTaxNeeded sets QuestionPending after it; closing the
//                                   chooser clears it and associates the current tariff with
//                                   the live status's entry.
//   RefreshTaxChooser()             OnTaxChanged: the open chooser shows the new current tariff.
//   RebuildTaxChooserTree()         after a tariff was added, renamed or deleted elsewhere (the
//                                   properties window): the open chooser rebuilds its tree.
//   SelectEntryTax(context, entry)  the settings window: the modal selection dialog of one
//                                   entry; OK on a tariff sets the entry's TaxName.
//   EditComparisonSettings(...)     the settings window: the modal comparison settings; OK
//                                   stores SanctiOff and TrayHintPause on the profile and hands
//                                   the new TrayHintPause to `apply` (the main window sets up
//                                   its messages with it).
//
// Commands whose callback is not given in TaxChooserContext::Callbacks (properties window,
// closing every properties window, holiday calendar) are shown disabled.

#include "ComparisonSettings.h"
#include "TaxActions.h"
#include "TaxChooser.h"

namespace vestrel {

class TProfileItem;

TaxChooser* OpenTaxChooser(const TaxChooserContext& context, QWidget* parent = nullptr);
// The open chooser, or nullptr.
TaxChooser* OpenedTaxChooser();
void RefreshTaxChooser();
void RebuildTaxChooserTree();

// True when OK changed the tariff associated with the entry.
bool SelectEntryTax(const TaxChooserContext& context, TEntryItem& entry, QWidget* parent = nullptr);

// True when closed with OK.
bool EditComparisonSettings(TProfileItem& profile, const TStatus* status,
                            std::function<void(qint32 trayHintPause)> apply,
                            QWidget* parent = nullptr);

} // namespace vestrel
