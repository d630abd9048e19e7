#include "ObjectText.h"

#include <QtEndian>
#include <bit>
#include <cmath>
#include <limits>

#include "Exceptions.h"
#include "Filer.h"
#include "FilerConsts.h"
#include "Parser.h"

namespace Kel {

namespace {

constexpr int kStringChunk = 64;      // characters of a string per text line
constexpr int kBinaryLineBytes = 32;  // bytes of binary data per text line

// "1234.5678", "-0.5", "5.0": the exact decimal of a currency, at least one decimal.
QByteArray ObjectCurrencyText(int64_t scaled) {
  const bool negative = scaled < 0;
  const uint64_t magnitude =
      negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  QByteArray fraction =
      QByteArray::number(static_cast<qulonglong>(magnitude % 10000)).rightJustified(4, '0');
  while (fraction.size() > 1 && fraction.endsWith('0')) fraction.chop(1);
  return (negative ? "-" : "") + QByteArray::number(static_cast<qulonglong>(magnitude / 10000)) +
         '.' + fraction;
}

// A number with its type letter ("0.5s", "45000d"). INF and NAN stay bare: with a letter they
// would read as other identifiers; bare they read back as floats of the same value.
QByteArray WithTypeLetter(const std::string& number, char letter) {
  QByteArray text = QByteArray::fromStdString(number);
  if (text.endsWith("INF") || text == "NAN") return text;
  return text + letter;
}

// One piece of a string in quoted runs and #nnn codes: printable ASCII inside quotes (quotes
// doubled), every other character as its Unicode code point.
QByteArray QuotedPiece(QStringView piece) {
  QByteArray text;
  bool inQuotes = false;
  for (qsizetype i = 0; i < piece.size(); ++i) {
    char32_t code = piece.at(i).unicode();
    if (QChar::isHighSurrogate(code) && i + 1 < piece.size() && piece.at(i + 1).isLowSurrogate()) {
      code = QChar::surrogateToUcs4(piece.at(i), piece.at(i + 1));
      ++i;
    }
    if (code >= 0x20 && code <= 0x7E) {
      if (!inQuotes) text += '\'';
      inQuotes = true;
      text += static_cast<char>(code);
      if (code == '\'') text += '\'';
    } else {
      if (inQuotes) text += '\'';
      inQuotes = false;
      text += '#' + QByteArray::number(static_cast<uint>(code));
    }
  }
  if (inQuotes) text += '\'';
  if (text.isEmpty()) text = "''";
  return text;
}

// ------------------------------------------------------------------------------------------
// Binary -> text

class BinaryToText {
 public:
  BinaryToText(TStream& input, TStream& output) : reader_(input), output_(output) {}

  void Run() {
    reader_.ReadSignature();
    ConvertObject(0);
    text_ += "\r\n";
    output_.WriteBuffer(text_.constData(), text_.size());
  }

 private:
  struct Depth {
    explicit Depth(BinaryToText& owner) : owner_(owner) {
      if (owner_.depth_ >= MaxNestingDepth) throw EReadError(RtlMessage(FilerText::NestingTooDeep));
      ++owner_.depth_;
    }
    ~Depth() { --owner_.depth_; }
    BinaryToText& owner_;
  };

  void Line(int level) {
    if (!text_.isEmpty()) text_ += "\r\n";
    text_ += QByteArray(level * 2, ' ');
  }

  void ConvertObject(int level) {
    Depth depth(*this);
    TFilerFlags flags;
    int childPos = -1;
    reader_.ReadPrefix(flags, childPos);
    const QString className = reader_.ReadStr();
    const QString name = reader_.ReadStr();
    Line(level);
    text_ += flags.Contains(ffInherited) ? "inherited "
             : flags.Contains(ffInline)  ? "inline "
                                         : "object ";
    if (!name.isEmpty()) text_ += name.toUtf8() + ": ";
    text_ += className.toUtf8();
    if (flags.Contains(ffChildPos)) text_ += " [" + QByteArray::number(childPos) + ']';
    while (!reader_.EndOfList()) ConvertProperty(level + 1);
    reader_.ReadListEnd();
    while (!reader_.EndOfList()) ConvertObject(level + 1);
    reader_.ReadListEnd();
    Line(level);
    text_ += "end";
  }

  void ConvertProperty(int level) {
    Line(level);
    text_ += reader_.ReadStr().toUtf8() + " = ";
    ConvertValue(level);
  }

  template <typename T>
  T ReadRaw() {
    T value{};
    reader_.Read(&value, sizeof value);
    return qFromLittleEndian(value);
  }

  void ConvertValue(int level) {
    const TValueType kind = reader_.NextValue();
    switch (kind) {
      case vaList:
        ConvertList(level);
        break;
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64:
        text_ += QByteArray::number(static_cast<qlonglong>(reader_.ReadInt64()));
        break;
      case vaQWord:
        reader_.ReadValue();
        text_ += QByteArray::number(static_cast<qulonglong>(ReadRaw<uint64_t>()));
        break;
      case vaExtended: {
        reader_.ReadValue();
        TExtended80 value;
        reader_.Read(value.Bytes.data(), static_cast<int64_t>(value.Bytes.size()));
        text_ += QByteArray::fromStdString(ExtendedToStreamText(value));
        break;
      }
      case vaSingle:
        reader_.ReadValue();
        text_ += WithTypeLetter(
            SingleToStreamText(std::bit_cast<float>(ReadRaw<uint32_t>()), false), 's');
        break;
      case vaCurrency:
        reader_.ReadValue();
        text_ += ObjectCurrencyText(ReadRaw<int64_t>());
        break;
      case vaDate:
        reader_.ReadValue();
        text_ += WithTypeLetter(
            FloatToStreamText(std::bit_cast<double>(ReadRaw<uint64_t>()), false), 'd');
        break;
      case vaString:
      case vaLString:
      case vaWString:
      case vaUTF8String:
      case vaUString:
        ConvertString(reader_.ReadString(), level);
        break;
      case vaIdent:
      case vaFalse:
      case vaTrue:
      case vaNil:
      case vaNull:
        text_ += reader_.ReadIdent().toUtf8();
        break;
      case vaBinary:
        ConvertBinary(reader_.ReadBinary(), level);
        break;
      case vaSet:
        text_ += '[' + reader_.ReadSet().join(QStringLiteral(", ")).toUtf8() + ']';
        break;
      case vaCollection:
        ConvertCollection(level);
        break;
    }
  }

  void ConvertList(int level) {
    Depth depth(*this);
    reader_.ReadValue();
    text_ += '(';
    while (!reader_.EndOfList()) {
      Line(level + 1);
      ConvertValue(level + 1);
    }
    reader_.ReadListEnd();
    text_ += ')';
  }

  void ConvertCollection(int level) {
    Depth depth(*this);
    reader_.ReadValue();
    text_ += '<';
    while (!reader_.EndOfList()) {
      Line(level + 1);
      text_ += "item";
      if (IsIntegerKind(reader_.NextValue())) {
        text_ += " [";
        ConvertValue(level + 1);
        text_ += ']';
      }
      reader_.ReadListBegin();
      while (!reader_.EndOfList()) ConvertProperty(level + 2);
      reader_.ReadListEnd();
      Line(level + 1);
      text_ += "end";
    }
    reader_.ReadListEnd();
    text_ += '>';
  }

  void ConvertString(const QString& value, int level) {
    if (value.isEmpty()) {
      text_ += "''";
      return;
    }
    qsizetype start = 0;
    while (start < value.size()) {
      qsizetype length = std::min<qsizetype>(kStringChunk, value.size() - start);
      // Never split a surrogate pair over two pieces.
      if (start + length < value.size() && value.at(start + length - 1).isHighSurrogate() &&
          value.at(start + length).isLowSurrogate()) {
        ++length;
      }
      if (start > 0) {
        text_ += " +";
        Line(level + 1);
      }
      text_ += QuotedPiece(QStringView(value).mid(start, length));
      start += length;
    }
  }

  void ConvertBinary(const QByteArray& bytes, int level) {
    if (bytes.isEmpty()) {
      text_ += "{}";
    } else if (bytes.size() <= kBinaryLineBytes) {
      text_ += "{ " + bytes.toHex().toUpper() + " }";
    } else {
      text_ += '{';
      for (qsizetype i = 0; i < bytes.size(); i += kBinaryLineBytes) {
        Line(level + 1);
        text_ += bytes.mid(i, kBinaryLineBytes).toHex().toUpper();
      }
      text_ += '}';
    }
  }

  TReader reader_;
  TStream& output_;
  QByteArray text_;
  int depth_ = 0;
};

// ------------------------------------------------------------------------------------------
// Text -> binary

class TextToBinary {
 public:
  TextToBinary(TStream& input, TStream& output) : parser_(input), writer_(output) {}

  void Run() {
    writer_.WriteSignature();
    ConvertObject();
  }

 private:
  struct Depth {
    explicit Depth(TextToBinary& owner) : owner_(owner) {
      if (owner_.depth_ >= MaxNestingDepth)
        owner_.parser_.Error(RtlMessage(FilerText::NestingTooDeep));
      ++owner_.depth_;
    }
    ~Depth() { --owner_.depth_; }
    TextToBinary& owner_;
  };

  // Names travel as ShortStrings: at most 255 bytes of UTF-8.
  const QString& CheckedName(const QString& name) {
    if (name.toUtf8().size() > 255)
      parser_.Error(RtlMessage(FilerText::NameTooLong, name.left(64)));
    return name;
  }

  bool AtObjectStart() const {
    return parser_.TokenSymbolIs(QStringLiteral("object")) ||
           parser_.TokenSymbolIs(QStringLiteral("inherited")) ||
           parser_.TokenSymbolIs(QStringLiteral("inline"));
  }

  void ConvertObject() {
    Depth depth(*this);
    ConvertHeader();
    while (!parser_.TokenSymbolIs(QStringLiteral("end")) && !AtObjectStart()) ConvertProperty();
    writer_.WriteListEnd();
    while (!parser_.TokenSymbolIs(QStringLiteral("end"))) ConvertObject();
    writer_.WriteListEnd();
    parser_.NextToken();
  }

  void ConvertHeader() {
    TFilerFlags flags;
    if (parser_.TokenSymbolIs(QStringLiteral("inherited"))) {
      flags.Include(ffInherited);
    } else if (parser_.TokenSymbolIs(QStringLiteral("inline"))) {
      flags.Include(ffInline);
    } else {
      parser_.CheckTokenSymbol(QStringLiteral("object"));
    }
    parser_.NextToken();
    parser_.CheckToken(TParser::toSymbol);
    QString name;
    QString className = parser_.TokenString();
    if (parser_.NextToken() == u':') {
      parser_.NextToken();
      parser_.CheckToken(TParser::toSymbol);
      name = className;
      className = parser_.TokenString();
      parser_.NextToken();
    }
    int childPos = -1;
    if (parser_.Token() == u'[') {
      parser_.NextToken();
      parser_.CheckToken(TParser::toInteger);
      const int64_t position = parser_.TokenInt();
      if (parser_.TokenIsQWord() || position < std::numeric_limits<int32_t>::min() ||
          position > std::numeric_limits<int32_t>::max()) {
        parser_.Error(RtlMessage(FilerText::InvalidNumber, parser_.TokenString()));
      }
      childPos = static_cast<int>(position);
      parser_.NextToken();
      parser_.CheckToken(u']');
      parser_.NextToken();
      flags.Include(ffChildPos);
    }
    writer_.WriteComponentHeader(flags, childPos, CheckedName(className), CheckedName(name));
  }

  void ConvertProperty() {
    parser_.CheckToken(TParser::toSymbol);
    QString name = parser_.TokenString();
    while (parser_.NextToken() == u'.') {
      parser_.NextToken();
      parser_.CheckToken(TParser::toSymbol);
      name += u'.' + parser_.TokenString();
    }
    parser_.CheckToken(u'=');
    parser_.NextToken();
    writer_.WriteStr(CheckedName(name));
    ConvertValue();
  }

  void ConvertFloat() {
    const char16_t type = parser_.FloatType().unicode();
    if (type == u's') {
      writer_.WriteSingle(parser_.TokenSingle());
    } else if (type == u'd') {
      writer_.WriteDate(parser_.TokenDouble());
    } else if (type == u'c') {
      int64_t scaled = 0;  // the number is the currency value x 10000
      if (!ExtendedToInt64Rounded(parser_.TokenFloat(), scaled))
        parser_.Error(RtlMessage(FilerText::InvalidNumber, parser_.TokenString()));
      writer_.WriteCurrency(Currency::FromScaled(scaled));
    } else {
      writer_.WriteExtended(parser_.TokenFloat());
    }
    parser_.NextToken();
  }

  void ConvertString() {
    QString text = parser_.TokenString();
    while (parser_.NextToken() == u'+') {
      parser_.NextToken();
      parser_.CheckToken(TParser::toString);
      text += parser_.TokenString();
    }
    writer_.WriteString(text);
  }

  void ConvertSymbol() {
    // Non-finite floats have no decimal spelling; the text form names them.
    if (parser_.Token() == TParser::toSymbol && (parser_.TokenString() == QLatin1String("INF") ||
                                                 parser_.TokenString() == QLatin1String("NAN"))) {
      writer_.WriteFloat(parser_.TokenString() == QLatin1String("INF")
                             ? std::numeric_limits<double>::infinity()
                             : std::numeric_limits<double>::quiet_NaN());
      parser_.NextToken();
      return;
    }
    const QString ident = parser_.TokenComponentIdent();
    writer_.WriteIdent(CheckedName(ident));
  }

  void ConvertNegativeSymbol() {
    parser_.NextToken();
    if (parser_.Token() != TParser::toSymbol || parser_.TokenString() != QLatin1String("INF"))
      parser_.Error(RtlMessage(FilerText::NumberExpected));
    writer_.WriteFloat(-std::numeric_limits<double>::infinity());
    parser_.NextToken();
  }

  void ConvertSet() {
    QStringList members;
    if (parser_.NextToken() != u']') {
      for (;;) {
        parser_.CheckToken(TParser::toSymbol);
        members.append(CheckedName(parser_.TokenString()));
        if (parser_.NextToken() == u']') break;
        parser_.CheckToken(u',');
        parser_.NextToken();
      }
    }
    writer_.WriteSet(members);
    parser_.NextToken();
  }

  void ConvertList() {
    Depth depth(*this);
    parser_.NextToken();
    writer_.WriteListBegin();
    while (parser_.Token() != u')') ConvertValue();
    writer_.WriteListEnd();
    parser_.NextToken();
  }

  void ConvertBinary() {
    TMemoryStream bytes;
    parser_.HexToBinary(bytes);
    writer_.WriteBinary(bytes.Bytes());
  }

  void ConvertCollection() {
    Depth depth(*this);
    parser_.NextToken();
    writer_.WriteCollectionBegin();
    while (parser_.Token() != u'>') {
      parser_.CheckTokenSymbol(QStringLiteral("item"));
      parser_.NextToken();
      if (parser_.Token() == u'[') {
        parser_.NextToken();
        parser_.CheckToken(TParser::toInteger);
        writer_.WriteInteger(parser_.TokenInt());
        parser_.NextToken();
        parser_.CheckToken(u']');
        parser_.NextToken();
      }
      writer_.WriteListBegin();
      while (!parser_.TokenSymbolIs(QStringLiteral("end"))) ConvertProperty();
      writer_.WriteListEnd();
      parser_.NextToken();
    }
    writer_.WriteListEnd();
    parser_.NextToken();
  }

  void ConvertValue() {
    switch (parser_.Token()) {
      case TParser::toInteger:
        if (parser_.TokenIsQWord()) {
          writer_.WriteQWord(parser_.TokenQWord());
        } else {
          writer_.WriteInteger(parser_.TokenInt());
        }
        parser_.NextToken();
        break;
      case TParser::toFloat:
        ConvertFloat();
        break;
      case TParser::toString:
      case TParser::toWString:
        ConvertString();
        break;
      case TParser::toSymbol:
        ConvertSymbol();
        break;
      case u'-':
        ConvertNegativeSymbol();
        break;
      case u'[':
        ConvertSet();
        break;
      case u'(':
        ConvertList();
        break;
      case u'{':
        ConvertBinary();
        break;
      case u'<':
        ConvertCollection();
        break;
      default:
        parser_.Error(RtlMessage(FilerText::InvalidPropertyValue));
    }
  }

  TParser parser_;
  TWriter writer_;
  int depth_ = 0;
};

}  // namespace

void ObjectBinaryToText(TStream& input, TStream& output) { BinaryToText(input, output).Run(); }

void ObjectTextToBinary(TStream& input, TStream& output) { TextToBinary(input, output).Run(); }

}  // namespace Kel
