#pragma once
// TParser: the tokenizer of the text form of component streams.
//
// Tokens: symbols (identifiers: letters, digits, "_", starting with a letter or "_"), strings
// (quoted runs with doubled quotes and #nnn / #$hh character codes, written next to each other:
// 'O''Brien '#228'x'), integers (decimal with an optional "-", or "$" hexadecimal), floats
// (digits with "." and/or an exponent, e.g. "2.50000000000000000000E+0000", optionally followed
// by the type letter s (single), d (date) or c (currency x 10000)), and every other character as
// itself ("=", "(", "<", ...). Blanks and line breaks (CR LF, LF or CR) between tokens are free.
// The text is UTF-8 (a BOM is skipped; UTF-16 with a BOM is read too); bytes that are not valid
// UTF-8 are read as Windows-1252.
//
// Errors raise EReadError "<what> on line <n>".

#include <QString>
#include <cstdint>
#include <string>

#include "ExtendedFloat.h"
#include "PlatformExport.h"
#include "Streams.h"

namespace Kel {

class KEL_PLATFORM_EXPORT TParser {
 public:
  enum : char16_t {
    toEOF = 0,
    toSymbol = 1,
    toString = 2,
    toInteger = 3,
    toFloat = 4,
    toWString = 5,
  };

  // Reads the rest of stream as text and moves to the first token.
  explicit TParser(TStream& stream);

  char16_t Token() const { return token_; }
  char16_t NextToken();
  int SourceLine() const { return tokenLine_; }

  // The symbol, the text of a number, or the value of a string.
  QString TokenString() const { return tokenString_; }
  // The value of an integer token; values above the 64-bit signed range set TokenIsQWord.
  int64_t TokenInt() const { return static_cast<int64_t>(tokenInt_); }
  uint64_t TokenQWord() const { return tokenInt_; }
  bool TokenIsQWord() const { return tokenIsQWord_; }
  // The value of a float token (or of an integer token), as precise as an extended holds it.
  TExtended80 TokenFloat() const;
  // The same value rounded once, straight from the text, to a double or a single.
  double TokenDouble() const;
  float TokenSingle() const;
  // 's', 'd', 'c' after a float, or 0.
  QChar FloatType() const { return floatType_; }
  // A dotted identifier starting at the current symbol ("Form1.Table1"); moves past it.
  QString TokenComponentIdent();

  // Case-insensitive comparison of the current symbol.
  bool TokenSymbolIs(const QString& symbol) const;
  void CheckToken(char16_t token) const;
  void CheckTokenSymbol(const QString& symbol) const;
  [[noreturn]] void Error(const QString& message) const;

  // With the current token "{": reads hexadecimal byte pairs (blanks between pairs and line
  // breaks allowed) up to "}" into stream, then moves to the next token.
  void HexToBinary(TStream& stream);

 private:
  void SkipBlanks();
  void ScanSymbol();
  void ScanString();
  void ScanNumber();
  void ScanHexNumber();
  QChar Peek(qsizetype offset = 0) const;
  std::string NumberText() const;

  QString text_;
  qsizetype pos_ = 0;
  int line_ = 1;
  int tokenLine_ = 1;
  char16_t token_ = toEOF;
  QString tokenString_;
  uint64_t tokenInt_ = 0;
  bool tokenIsQWord_ = false;
  QChar floatType_;
};

}  // namespace Kel
