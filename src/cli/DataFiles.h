#pragma once

#include <QObject>

#include <memory>

namespace vestrel {
class TAgenda;
class TSettings;
class TTaxations;
} // namespace vestrel

namespace vestrel::cli {

// The stores a command needs, each bound to its file in the data directory on first use (a
// missing file is created with its defaults, as at the program's start). The calendar, once
// bound, is the holiday calendar of the cost engine.
class DataFiles {
public:
    DataFiles();
    ~DataFiles();
    DataFiles(const DataFiles&) = delete;
    DataFiles& operator=(const DataFiles&) = delete;

    TSettings& settings();
    TTaxations& taxations();
    TAgenda& agenda();

private:
    std::unique_ptr<TSettings> m_settings;
    std::unique_ptr<TTaxations> m_taxations;
    std::unique_ptr<TAgenda> m_agenda;
};

} // namespace vestrel::cli
