#pragma once

#include "common/DateTime.h"

#include <QString>

#include <vector>

namespace vestrel {

class TDataUnits;

// One row of the connection tables of earlier releases ("Scatti.db", "Vestrel.dat", Paradox
// format): dates as whole days, times of day as fractions, a NULL date or time as 0.
struct OldConnectionRow {
    TDateTime Datainizio = 0;
    TDateTime Orainizio = 0;
    TDateTime Datafine = 0;
    TDateTime Orafine = 0;
    double Numeroscatti = 0;
    double Costo = 0;

    TDateTime start() const { return Datainizio + Orainizio; }
    TDateTime end() const { return Datafine + Orafine; }
    // Numeroscatti rounded to the nearest integer, ties to even.
    qint32 pulses() const;
};

// Whether the Paradox library can be set up in this process.
bool OldTablesAvailable();

// Reads every row of a table with the six fields Datainizio, Datafine (dates), Orainizio,
// Orafine (times), Numeroscatti and Costo (numbers), in table order; other fields are ignored.
// Raises VestrelError with the reason when the table cannot be read.
std::vector<OldConnectionRow> ReadOldTable(const QString& path);
// Creates (or replaces) a table with those six fields holding the rows.
void WriteOldTable(const QString& path, const std::vector<OldConnectionRow>& rows);

// The start-up take-over of the old tables found in `directory`: "Scatti.db" becomes
// "Vestrel.dat" (renamed "Scatti.old"), then "Vestrel.dat" goes into the log (renamed
// "Vestrel.old"), each step confirmed by an information box. Names are matched without regard
// to case. Does nothing when the Paradox library is not available; raises VestrelError when a
// table cannot be read or written, leaving that table where it is.
void TakeOverOldTables(TDataUnits& log, const QString& directory);

} // namespace vestrel
