#pragma once
// String helpers of the runtime. Positions are 1-based where the classic functions are.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <initializer_list>

#include "PlatformExport.h"

namespace Kel {

class Variant;

// Ordinal comparison (code units): < 0, 0, > 0.
KEL_PLATFORM_EXPORT int CompareStr(const QString& a, const QString& b);
// Comparison with ASCII letters folded to upper case; other characters compare by code.
KEL_PLATFORM_EXPORT int CompareText(const QString& a, const QString& b);
KEL_PLATFORM_EXPORT bool SameText(const QString& a, const QString& b);
// Comparisons under the locale's rules (case-sensitive / case-insensitive).
KEL_PLATFORM_EXPORT int AnsiCompareStr(const QString& a, const QString& b);
KEL_PLATFORM_EXPORT int AnsiCompareText(const QString& a, const QString& b);
KEL_PLATFORM_EXPORT bool AnsiSameText(const QString& a, const QString& b);

KEL_PLATFORM_EXPORT QString UpperCase(const QString& s);  // ASCII letters only
KEL_PLATFORM_EXPORT QString LowerCase(const QString& s);
KEL_PLATFORM_EXPORT QString AnsiUpperCase(const QString& s);  // every letter, by the Unicode rules
KEL_PLATFORM_EXPORT QString AnsiLowerCase(const QString& s);

// Blanks and control characters (code <= 32) removed from both ends / the start / the end.
KEL_PLATFORM_EXPORT QString Trim(const QString& s);
KEL_PLATFORM_EXPORT QString TrimLeft(const QString& s);
KEL_PLATFORM_EXPORT QString TrimRight(const QString& s);

KEL_PLATFORM_EXPORT QString QuotedStr(const QString& s);  // 'O''Brien'
KEL_PLATFORM_EXPORT QString AnsiQuotedStr(const QString& s,
                                          QChar quote);  // any quote character, doubled inside
// The text between quotes with doubled quotes made single; the text itself when it does not
// start with the quote.
KEL_PLATFORM_EXPORT QString AnsiDequotedStr(const QString& s, QChar quote);

KEL_PLATFORM_EXPORT int Pos(const QString& sub, const QString& s);         // 1-based, 0 when absent
KEL_PLATFORM_EXPORT QString Copy(const QString& s, int index, int count);  // 1-based, clipped
KEL_PLATFORM_EXPORT void Delete(QString& s, int index, int count);         // 1-based, clipped
KEL_PLATFORM_EXPORT void Insert(const QString& sub, QString& s, int index);  // 1-based, clipped
KEL_PLATFORM_EXPORT QString StringOfChar(QChar c, int count);

enum class ReplaceFlag { All = 1, IgnoreCase = 2 };
KEL_PLATFORM_EXPORT QString StringReplace(const QString& s, const QString& oldPattern,
                                          const QString& newPattern,
                                          int flags /* ReplaceFlag bits */);

// Classic Format: %d %u %x %s %f %e %g %n %m with optional "-", width and ".precision"
// ("%.10d" pads with zeros), "*" taking the width from the arguments, and "%%".
// Raises EConvertError for a bad format or a missing or mismatched argument.
KEL_PLATFORM_EXPORT QString Format(const QString& format, std::initializer_list<Variant> args);

// 8-bit text as Windows-1252, the code page older files and streams were written in (bytes
// 0x80..0x9F are the characters that code page puts there, not control codes).
KEL_PLATFORM_EXPORT QString DecodeAnsiBytes(const QByteArray& bytes);
// 8-bit text of either kind: UTF-8 when the bytes are valid UTF-8 throughout (newer writers
// store it), else Windows-1252 for all of them. Windows-1252 text with letters beyond ASCII is
// almost never valid UTF-8, so older text keeps reading as it was written.
KEL_PLATFORM_EXPORT QString DecodeUtf8OrAnsiBytes(const QByteArray& bytes);
// The bytes of a text file: a byte-order mark for UTF-8 or UTF-16 decides; otherwise
// DecodeUtf8OrAnsiBytes.
KEL_PLATFORM_EXPORT QString DecodeTextBytes(const QByteArray& bytes);

// File-name helpers. Both "/" and the platform's separator count as path delimiters.
KEL_PLATFORM_EXPORT QString IncludeTrailingPathDelimiter(const QString& path);
KEL_PLATFORM_EXPORT QString ExcludeTrailingPathDelimiter(const QString& path);
KEL_PLATFORM_EXPORT QString
ExtractFilePath(const QString& fileName);                             // with the trailing delimiter
KEL_PLATFORM_EXPORT QString ExtractFileDir(const QString& fileName);  // without it
KEL_PLATFORM_EXPORT QString ExtractFileName(const QString& fileName);
KEL_PLATFORM_EXPORT QString ExtractFileExt(const QString& fileName);  // with the dot
KEL_PLATFORM_EXPORT QString ChangeFileExt(const QString& fileName, const QString& extension);
KEL_PLATFORM_EXPORT bool FileExists(const QString& fileName);
KEL_PLATFORM_EXPORT bool DirectoryExists(const QString& path);

}  // namespace Kel
