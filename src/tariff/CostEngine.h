#pragma once

#include "common/DateTime.h"

namespace vestrel {

// The day uses the holiday table: a Sunday, or a holiday of the calendar.
bool IsFestivo(TDateTime date);
bool IsSabato(TDateTime date);

// The moment with its milliseconds dropped (date, hours, minutes and seconds kept).
TDateTime DropMilliseconds(TDateTime moment);

} // namespace vestrel
