#pragma once

#include <QString>

#include <functional>

namespace vestrel {

class TStatus;
class TTaxations;
class TTaxItem;

// The question asked before a tariff is deleted.
QString DeleteTaxQuestion(const TTaxItem& tax);

// Closes the tariff's properties window, if it has one, and forgets it.
void CloseTaxEditor(TTaxItem* tax);

// Deletes a tariff as the tariff windows do: the only tariff is refused with
// "Almeno una tariffa ci deve essere!"; otherwise, once the user confirms, the tariff's
// properties window is closed, the live status lets go of it, it is destroyed and the first
// tariff becomes current (with `keepCurrent`, only when the deleted one was current). Returns
// the first tariff when the tariff was deleted, nullptr otherwise.
TTaxItem* DeleteTaxAsked(TTaxations& taxations, TStatus* status, TTaxItem* tax,
                         bool keepCurrent = false);

// Asks, then replaces the tariff list with the built-in one: every properties window is closed,
// the live status lets go of its tariff, and the first built-in tariff becomes current. True
// when restored.
bool RestoreBuiltinTaxsAsked(TTaxations& taxations, TStatus* status,
                             const std::function<void()>& closeAllProperties);

} // namespace vestrel
