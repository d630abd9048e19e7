#include "Parser.h"

#include <limits>
#include <string>

#include "AsciiChars_p.h"
#include "Exceptions.h"
#include "Filer.h"
#include "FilerConsts.h"
#include "StrUtils.h"

namespace Kel {

namespace {

bool IsHexDigit(QChar c) { return AsciiHexValue(c) >= 0; }

bool IsIdentStart(QChar c) {
  if (c.unicode() < 0x80) return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
  return c.isLetter();
}

bool IsIdentChar(QChar c) {
  return IsIdentStart(c) || IsAsciiDigit(c) || (c.unicode() >= 0x80 && c.isDigit());
}

bool IsFloatTypeLetter(QChar c) {
  const char16_t lower = c.toLower().unicode();
  return lower == u's' || lower == u'd' || lower == u'c';
}

}  // namespace

TParser::TParser(TStream& stream) : text_(DecodeTextBytes(stream.ReadRemaining())) { NextToken(); }

QChar TParser::Peek(qsizetype offset) const {
  const qsizetype at = pos_ + offset;
  return at < text_.size() ? text_.at(at) : QChar();
}

void TParser::Error(const QString& message) const {
  throw EReadError(RtlMessage(FilerText::ParseError, message, tokenLine_));
}

void TParser::SkipBlanks() {
  while (pos_ < text_.size() && text_.at(pos_).unicode() <= u' ') {
    const QChar c = text_.at(pos_);
    // CR LF counts once, a lone CR or LF once each.
    if (c == u'\n' || (c == u'\r' && Peek(1) != u'\n')) ++line_;
    ++pos_;
  }
}

char16_t TParser::NextToken() {
  SkipBlanks();
  tokenLine_ = line_;
  tokenString_.clear();
  tokenInt_ = 0;
  tokenIsQWord_ = false;
  floatType_ = QChar();
  if (pos_ >= text_.size()) {
    token_ = toEOF;
    return token_;
  }
  const QChar c = text_.at(pos_);
  if (IsIdentStart(c)) {
    ScanSymbol();
  } else if (c == u'\'' || c == u'#') {
    ScanString();
  } else if (c == u'$') {
    ScanHexNumber();
  } else if (IsAsciiDigit(c) || (c == u'-' && IsAsciiDigit(Peek(1)))) {
    ScanNumber();
  } else {
    token_ = c.unicode();
    tokenString_ = c;
    ++pos_;
  }
  return token_;
}

void TParser::ScanSymbol() {
  const qsizetype start = pos_;
  while (pos_ < text_.size() && IsIdentChar(text_.at(pos_))) ++pos_;
  tokenString_ = text_.mid(start, pos_ - start);
  token_ = toSymbol;
}

void TParser::ScanString() {
  QString value;
  bool wide = false;
  for (;;) {
    const QChar c = Peek();
    if (c == u'\'') {
      ++pos_;
      for (;;) {
        if (pos_ >= text_.size() || text_.at(pos_) == u'\n' || text_.at(pos_) == u'\r')
          Error(RtlMessage(FilerText::InvalidString));
        const QChar d = text_.at(pos_++);
        if (d == u'\'') {
          if (Peek() != u'\'') break;
          ++pos_;
        }
        if (d.unicode() > 0xFF) wide = true;
        value.append(d);
      }
    } else if (c == u'#') {
      ++pos_;
      uint32_t code = 0;
      bool any = false;
      const bool hex = Peek() == u'$';
      if (hex) ++pos_;
      while (pos_ < text_.size() &&
             (hex ? IsHexDigit(text_.at(pos_)) : IsAsciiDigit(text_.at(pos_)))) {
        code = code * (hex ? 16 : 10) +
               (hex ? AsciiHexValue(text_.at(pos_)) : text_.at(pos_).unicode() - u'0');
        if (code > 0x10FFFF) Error(RtlMessage(FilerText::InvalidString));
        any = true;
        ++pos_;
      }
      if (!any) Error(RtlMessage(FilerText::InvalidString));
      if (code > 0xFF) wide = true;
      if (code > 0xFFFF) {
        const char32_t codePoint = code;
        value.append(QString::fromUcs4(&codePoint, 1));
      } else {
        value.append(QChar(static_cast<char16_t>(code)));
      }
    } else {
      break;
    }
  }
  tokenString_ = value;
  token_ = wide ? toWString : toString;
}

void TParser::ScanHexNumber() {
  const qsizetype start = pos_++;
  uint64_t value = 0;
  bool any = false;
  while (pos_ < text_.size() && IsHexDigit(text_.at(pos_))) {
    if (value > (std::numeric_limits<uint64_t>::max() >> 4))
      Error(RtlMessage(FilerText::InvalidNumber, text_.mid(start, pos_ - start + 1)));
    value = (value << 4) | static_cast<uint64_t>(AsciiHexValue(text_.at(pos_)));
    any = true;
    ++pos_;
  }
  tokenString_ = text_.mid(start, pos_ - start);
  if (!any) Error(RtlMessage(FilerText::InvalidNumber, tokenString_));
  // Hexadecimal is a 64-bit pattern: $FFFFFFFFFFFFFFFF is -1.
  tokenInt_ = value;
  token_ = toInteger;
}

void TParser::ScanNumber() {
  const qsizetype start = pos_;
  const bool negative = Peek() == u'-';
  if (negative) ++pos_;
  uint64_t magnitude = 0;
  bool overflow = false;
  while (pos_ < text_.size() && IsAsciiDigit(text_.at(pos_))) {
    const uint64_t digit = text_.at(pos_).unicode() - u'0';
    if (magnitude > (std::numeric_limits<uint64_t>::max() - digit) / 10) overflow = true;
    magnitude = magnitude * 10 + digit;
    ++pos_;
  }
  token_ = toInteger;
  if (Peek() == u'.') {
    token_ = toFloat;
    ++pos_;
    while (pos_ < text_.size() && IsAsciiDigit(text_.at(pos_))) ++pos_;
  }
  if ((Peek() == u'e' || Peek() == u'E') &&
      (IsAsciiDigit(Peek(1)) || ((Peek(1) == u'+' || Peek(1) == u'-') && IsAsciiDigit(Peek(2))))) {
    token_ = toFloat;
    pos_ += 2;
    while (pos_ < text_.size() && IsAsciiDigit(text_.at(pos_))) ++pos_;
  }
  tokenString_ = text_.mid(start, pos_ - start);
  if (pos_ < text_.size() && IsFloatTypeLetter(text_.at(pos_))) {
    floatType_ = text_.at(pos_).toLower();
    token_ = toFloat;
    ++pos_;
  }
  if (token_ != toInteger) return;
  const uint64_t signedLimit = uint64_t(std::numeric_limits<int64_t>::max());
  if (overflow || (negative && magnitude > signedLimit + 1))
    Error(RtlMessage(FilerText::InvalidNumber, tokenString_));
  tokenInt_ = negative ? 0 - magnitude : magnitude;
  tokenIsQWord_ = !negative && magnitude > signedLimit;
}

std::string TParser::NumberText() const {
  if (token_ == toInteger)
    return tokenIsQWord_ ? std::to_string(tokenInt_) : std::to_string(TokenInt());
  return tokenString_.toStdString();
}

TExtended80 TParser::TokenFloat() const {
  TExtended80 value;
  if (!DecimalToExtended(NumberText(), value))
    Error(RtlMessage(FilerText::InvalidNumber, tokenString_));
  return value;
}

double TParser::TokenDouble() const {
  double value = 0;
  if (!DecimalToDouble(NumberText(), value))
    Error(RtlMessage(FilerText::InvalidNumber, tokenString_));
  return value;
}

float TParser::TokenSingle() const {
  float value = 0;
  if (!DecimalToSingle(NumberText(), value))
    Error(RtlMessage(FilerText::InvalidNumber, tokenString_));
  return value;
}

QString TParser::TokenComponentIdent() {
  CheckToken(toSymbol);
  QString ident = tokenString_;
  while (NextToken() == u'.') {
    NextToken();
    CheckToken(toSymbol);
    ident += u'.' + tokenString_;
  }
  return ident;
}

bool TParser::TokenSymbolIs(const QString& symbol) const {
  return token_ == toSymbol && tokenString_.compare(symbol, Qt::CaseInsensitive) == 0;
}

void TParser::CheckToken(char16_t token) const {
  if (token_ == token) return;
  if (token == toString && token_ == toWString) return;
  switch (token) {
    case toSymbol:
      Error(RtlMessage(FilerText::IdentifierExpected));
    case toString:
    case toWString:
      Error(RtlMessage(FilerText::StringExpected));
    case toInteger:
    case toFloat:
      Error(RtlMessage(FilerText::NumberExpected));
    default:
      Error(RtlMessage(FilerText::CharExpected, QString(QChar(token))));
  }
}

void TParser::CheckTokenSymbol(const QString& symbol) const {
  if (!TokenSymbolIs(symbol)) Error(RtlMessage(FilerText::SymbolExpected, symbol));
}

void TParser::HexToBinary(TStream& stream) {
  CheckToken(u'{');
  QByteArray bytes;
  for (;;) {
    SkipBlanks();
    tokenLine_ = line_;
    if (pos_ >= text_.size()) Error(RtlMessage(FilerText::InvalidBinary));
    if (text_.at(pos_) == u'}') break;
    if (!IsHexDigit(text_.at(pos_)) || !IsHexDigit(Peek(1)))
      Error(RtlMessage(FilerText::InvalidBinary));
    bytes.append(
        static_cast<char>(AsciiHexValue(text_.at(pos_)) * 16 + AsciiHexValue(text_.at(pos_ + 1))));
    pos_ += 2;
  }
  ++pos_;  // the closing brace
  stream.WriteBuffer(bytes.constData(), bytes.size());
  NextToken();
}

}  // namespace Kel
