#include "HolidayCalendar.h"

#include "common/Dates.h"

#include <atomic>
#include <cmath>

namespace vestrel {

namespace {

// Month and day of a day number (days since 30 December 1899), proleptic Gregorian.
struct CivilDate {
    int year, month, day;
};

CivilDate civilFromDays(qint64 dayNumber)
{
    // Days since 1 March of year 0, then the 400-year era arithmetic.
    const qint64 z = dayNumber + 693'899; // 30 December 1899 is day 693,899 from 1 March of year 0
    const qint64 era = (z >= 0 ? z : z - 146'096) / 146'097;
    const qint64 doe = z - era * 146'097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36'524 - doe / 146'096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    const int day = int(doy - (153 * mp + 2) / 5 + 1);
    const int month = int(mp < 10 ? mp + 3 : mp - 9);
    const int year = int(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

class NationalHolidays final : public HolidayCalendar {
public:
    bool IsFesta(TDateTime date) const override
    {
        CivilDate d;
        // The engine asks with whole day numbers; anything else goes through the time stamp.
        if (date == std::floor(date) && std::abs(date) < 3'000'000) {
            d = civilFromDays(qint64(date));
        } else {
            const DateParts p = DecodeDate(date);
            d = {p.year, p.month, p.day};
        }
        struct Fixed { int day, month; };
        static constexpr Fixed fixed[] = {{1, 1},  {6, 1},  {25, 4},  {1, 5},  {15, 8},
                                          {1, 11}, {8, 12}, {25, 12}, {26, 12}};
        for (const Fixed& f : fixed)
            if (f.day == d.day && f.month == d.month)
                return true;
        return (d.month == 3 || d.month == 4) && EasterMonday(d.year) == MonthDay{d.month, d.day};
    }
};

const NationalHolidays& national()
{
    static const NationalHolidays calendar;
    return calendar;
}

std::atomic<const HolidayCalendar*> installed{nullptr};

} // namespace

const HolidayCalendar& HolidayCalendar::instance()
{
    const HolidayCalendar* calendar = installed.load(std::memory_order_acquire);
    return calendar ? *calendar : national();
}

void HolidayCalendar::setInstance(const HolidayCalendar* calendar)
{
    installed.store(calendar, std::memory_order_release);
}

const HolidayCalendar& HolidayCalendar::defaultCalendar()
{
    return national();
}

} // namespace vestrel
