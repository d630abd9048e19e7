#pragma once
// Character tests for the machine-written texts the platform reads (numbers, expressions,
// component streams): ASCII digits and blanks only, whatever Unicode says of other characters.

#include <QChar>

namespace Kel {

inline bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The value of a hexadecimal digit, -1 for any other character.
inline int AsciiHexValue(QChar c) {
  if (IsAsciiDigit(c)) return c.unicode() - u'0';
  if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
  return -1;
}

// A blank or a control character: what is trimmed around values.
inline bool IsBlankOrControl(QChar c) { return c.unicode() <= 32; }

}  // namespace Kel
