#include "DataFiles.h"

#include "common/ProcessValues.h"
#include "config/Settings.h"
#include "tariff/Agenda.h"
#include "tariff/HolidayCalendar.h"
#include "tariff/Taxations.h"

namespace vestrel::cli {

using namespace Qt::Literals::StringLiterals;

namespace {
template <class Store>
Store& bound(std::unique_ptr<Store>& store, const QString& fileName)
{
    if (!store) {
        auto created = std::make_unique<Store>();
        created->SetFileName(DataDirectory() + fileName);
        store = std::move(created);
    }
    return *store;
}
} // namespace

DataFiles::DataFiles() = default;

DataFiles::~DataFiles()
{
    if (m_agenda)
        HolidayCalendar::setInstance(nullptr);
}

TSettings& DataFiles::settings()
{
    return bound(m_settings, u"Settings.dat"_s);
}

TTaxations& DataFiles::taxations()
{
    agenda(); // prices depend on the holidays
    return bound(m_taxations, u"Taxations.dat"_s);
}

TAgenda& DataFiles::agenda()
{
    if (!m_agenda)
        HolidayCalendar::setInstance(&bound(m_agenda, u"Calendar.dat"_s));
    return *m_agenda;
}

} // namespace vestrel::cli
