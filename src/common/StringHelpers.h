#pragma once

#include <QString>

namespace vestrel {

// Leading and trailing blanks and control characters (everything up to ' ') removed, the way
// the program trims names and texts everywhere.
QString TrimBlanks(const QString& text);

// Every occurrence of `find` replaced, case-sensitively; an empty `find` changes nothing.
QString ReplaceAll(const QString& text, const QString& find, const QString& replacement);
// The program's texts break lines with CR (or CR LF); screens and terminals with LF.
QString ScreenLines(const QString& text);
// Every CR becomes a space, every LF is removed.
QString StripLineBreaks(const QString& text);
// The trimmed text is not empty and holds only the digits 0-9, backspaces and CRs.
bool IsNumeric(const QString& text);
// The text filled on the right up to `length` characters; a longer text is kept whole.
QString PadRight(const QString& text, int length, QChar fill = u' ');

// The position-th field (1-based) of a text split at `separator`: the text before the
// position-th separator and after the one before it. The last field runs to the end of the
// text, so Token("a;b;c", 3, ";") is "c" and Token("abc", 1, ";") is "abc"; a position before the
// first or past the last field gives an empty string.
QString Token(const QString& text, int position, const QString& separator);
// The text before the first separator; the whole text when there is none.
QString TextBefore(const QString& separator, const QString& text);
// The text after the first separator; empty when there is none.
QString TextAfter(const QString& separator, const QString& text);

// The file name without its last extension: "dir/Skin.old.dat" gives "dir/Skin.old". A dot in a
// directory name or at the start of the file name (".config") does not start an extension.
QString RemoveExtension(const QString& fileName);

} // namespace vestrel
