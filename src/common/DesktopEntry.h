#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace vestrel {

// The pieces of the desktop entry format (.desktop files) that shortcuts need.

// One argument of an Exec line: quoted, with ", `, $ and \ escaped, % doubled.
QString QuoteExecArgument(const QString& argument);
// The arguments of an Exec line, quotes and escapes removed; nullopt for an unclosed quote.
std::optional<QStringList> SplitExecLine(const QString& exec);

// A string value as written after "Key=": backslash, newline, tab and CR escaped.
QString EscapeDesktopValue(const QString& value);
// The keys of the [Desktop Entry] group with their values unescaped; nullopt when the group is
// missing. Localised keys ("Name[it]") are kept under their full name.
std::optional<QHash<QString, QString>> ParseDesktopEntry(const QString& content);

} // namespace vestrel
