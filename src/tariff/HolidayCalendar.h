#pragma once

#include "common/DateTime.h"

namespace vestrel {

// Tells the cost engine whether a day is a holiday. The calendar store implements it; until one
// is installed the default knows the fixed national holidays and Easter Monday.
class HolidayCalendar {
public:
    virtual ~HolidayCalendar() = default;
    virtual bool IsFesta(TDateTime date) const = 0;

    // The process-wide calendar: the one last installed with setInstance, else the default.
    static const HolidayCalendar& instance();
    // Installs `calendar` (not owned; it must outlive its use). nullptr restores the default.
    static void setInstance(const HolidayCalendar* calendar);
    // The built-in calendar of national holidays.
    static const HolidayCalendar& defaultCalendar();
};

} // namespace vestrel
