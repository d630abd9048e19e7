// TReader, value level: type bytes and payloads of every value kind, read defensively: lengths
// are checked against what the stream holds before anything is allocated.
#include <QtEndian>
#include <bit>
#include <limits>
#include <vector>

#include "Exceptions.h"
#include "Filer.h"
#include "FilerConsts.h"
#include "Reader_p.h"

namespace Kel {

namespace {

template <typename T>
T ReadLittleEndian(TReader& reader) {
  T value{};
  reader.Read(&value, sizeof value);
  return qFromLittleEndian(value);
}

TExtended80 ReadExtendedPayload(TReader& reader) {
  TExtended80 value;
  reader.Read(value.Bytes.data(), static_cast<int64_t>(value.Bytes.size()));
  return value;
}

[[noreturn]] void ThrowInvalidImage() { throw EReadError(RtlMessage(FilerText::InvalidImage)); }

// Refuses a length that is negative or runs past the end of the stream, before anything is
// allocated or skipped: a damaged length cannot ask for gigabytes.
void CheckAvailable(TStream& stream, int64_t count) {
  if (count < 0) ThrowInvalidImage();
  if (count > stream.Size() - stream.Position()) throw EReadError(RtlMessage(RtlText::ReadError));
}

}  // namespace

TReader::TReader(TStream& stream)
    : TFiler(stream, MaxNestingDepth), impl_(std::make_unique<Impl>()) {}

TReader::~TReader() = default;

void TReader::DefineProperty(const QString& name, TReaderProc readData, TWriterProc, bool) {
  if (propClaimed_ || !readData || name.compare(propName_, Qt::CaseInsensitive) != 0) return;
  propClaimed_ = true;
  readData(*this);
}

void TReader::DefineBinaryProperty(const QString& name, TStreamProc readData, TStreamProc, bool) {
  if (propClaimed_ || !readData || name.compare(propName_, Qt::CaseInsensitive) != 0) return;
  propClaimed_ = true;
  TMemoryStream bytes(ReadBinary());
  readData(bytes);
}

void TReader::NestingError() { throw EReadError(RtlMessage(FilerText::NestingTooDeep)); }

void TReader::InvalidValue() { throw EReadError(RtlMessage(FilerText::InvalidPropertyValue)); }

TValueType TReader::ReadValue() {
  uint8_t byte = 0;
  Read(&byte, 1);
  if (byte > kLastValueType) ThrowInvalidImage();
  return static_cast<TValueType>(byte);
}

TValueType TReader::NextValue() {
  const TValueType value = ReadValue();
  Stream().Seek(-1, TSeekOrigin::soCurrent);
  return value;
}

void TReader::CheckValue(TValueType expected) {
  if (ReadValue() != expected) {
    Stream().Seek(-1, TSeekOrigin::soCurrent);
    InvalidValue();
  }
}

bool TReader::EndOfList() {
  // A raw peek: what follows may be a component prefix (0xF0..0xFF) rather than a value.
  uint8_t byte = 0;
  Read(&byte, 1);
  Stream().Seek(-1, TSeekOrigin::soCurrent);
  return byte == vaNull;
}

void TReader::ReadSignature() {
  char signature[sizeof kFilerSignature] = {};
  if (Stream().Read(signature, sizeof signature) != sizeof signature ||
      !std::equal(signature, signature + sizeof signature, kFilerSignature)) {
    ThrowInvalidImage();
  }
}

void TReader::ReadPrefix(TFilerFlags& flags, int& childPos) {
  flags = TFilerFlags();
  childPos = -1;
  uint8_t byte = 0;
  Read(&byte, 1);
  if ((byte & 0xF0) != 0xF0) {
    Stream().Seek(-1, TSeekOrigin::soCurrent);
    return;
  }
  flags = TFilerFlags::FromBits(byte & 0x07);
  if (flags.Contains(ffChildPos)) childPos = ReadInteger();
}

void TReader::SkipBytes(int64_t count) {
  CheckAvailable(Stream(), count);
  Stream().Seek(count, TSeekOrigin::soCurrent);
}

QByteArray TReader::ReadCounted(int64_t count) {
  CheckAvailable(Stream(), count);
  QByteArray bytes(static_cast<qsizetype>(count), Qt::Uninitialized);
  Read(bytes.data(), count);
  return bytes;
}

QByteArray TReader::ReadShortBytes() {
  uint8_t length = 0;
  Read(&length, 1);
  return ReadCounted(length);
}

QString TReader::ReadStr() { return DecodeUtf8OrAnsiBytes(ReadShortBytes()); }

int64_t TReader::ReadIntegerOfKind(TValueType kind) {
  switch (kind) {
    case vaInt8:
      return ReadLittleEndian<int8_t>(*this);
    case vaInt16:
      return ReadLittleEndian<int16_t>(*this);
    case vaInt32:
      return ReadLittleEndian<int32_t>(*this);
    case vaInt64:
      return ReadLittleEndian<int64_t>(*this);
    case vaQWord: {
      const auto value = ReadLittleEndian<uint64_t>(*this);
      if (value > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) InvalidValue();
      return static_cast<int64_t>(value);
    }
    default:
      Stream().Seek(-1, TSeekOrigin::soCurrent);
      InvalidValue();
  }
}

int TReader::ReadInteger() {
  const int64_t value = ReadIntegerOfKind(ReadValue());
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    InvalidValue();
  return static_cast<int>(value);
}

int64_t TReader::ReadInt64() { return ReadIntegerOfKind(ReadValue()); }

double TReader::ReadFloatOfKind(TValueType kind) {
  switch (kind) {
    case vaExtended:
      return ExtendedToDouble(ReadExtendedPayload(*this));
    case vaSingle:
      return std::bit_cast<float>(ReadLittleEndian<uint32_t>(*this));
    case vaCurrency:
      return static_cast<double>(ReadLittleEndian<int64_t>(*this)) / Currency::Scale;
    case vaDate:
      return std::bit_cast<double>(ReadLittleEndian<uint64_t>(*this));
    case vaQWord:
      return static_cast<double>(ReadLittleEndian<uint64_t>(*this));
    default:
      if (IsIntegerKind(kind)) return static_cast<double>(ReadIntegerOfKind(kind));
      Stream().Seek(-1, TSeekOrigin::soCurrent);
      InvalidValue();
  }
}

double TReader::ReadFloat() { return ReadFloatOfKind(ReadValue()); }

float TReader::ReadSingle() { return static_cast<float>(ReadFloat()); }

TDateTime TReader::ReadDate() { return ReadFloat(); }

Currency TReader::ReadCurrency() {
  const TValueType kind = ReadValue();
  int64_t scaled = 0;
  if (kind == vaCurrency) return Currency::FromScaled(ReadLittleEndian<int64_t>(*this));
  // Other numbers go through an exact extended as well, so rounding happens only once.
  const TExtended80 value =
      kind == vaExtended ? ReadExtendedPayload(*this) : DoubleToExtended(ReadFloatOfKind(kind));
  if (!ExtendedToCurrencyScaled(value, scaled)) InvalidValue();
  return Currency::FromScaled(scaled);
}

QString TReader::ReadStringOfKind(TValueType kind) {
  switch (kind) {
    case vaString:
      return DecodeUtf8OrAnsiBytes(ReadShortBytes());
    case vaLString:
      return DecodeUtf8OrAnsiBytes(ReadCounted(ReadLittleEndian<int32_t>(*this)));
    case vaUTF8String:
      return QString::fromUtf8(ReadCounted(ReadLittleEndian<int32_t>(*this)));
    case vaWString:
    case vaUString: {
      const int64_t units = ReadLittleEndian<int32_t>(*this);
      if (units < 0) ThrowInvalidImage();
      const QByteArray bytes = ReadCounted(units * 2);
      QString text(static_cast<qsizetype>(units), Qt::Uninitialized);
      qFromLittleEndian<char16_t>(bytes.constData(), units,
                                  reinterpret_cast<char16_t*>(text.data()));
      return text;
    }
    default:
      Stream().Seek(-1, TSeekOrigin::soCurrent);
      InvalidValue();
  }
}

QString TReader::ReadString() { return ReadStringOfKind(ReadValue()); }

QChar TReader::ReadChar() {
  const QString text = ReadString();
  if (text.size() != 1) InvalidValue();
  return text.at(0);
}

QString TReader::ReadIdent() {
  switch (ReadValue()) {
    case vaIdent:
      return ReadStr();
    case vaFalse:
      return QStringLiteral("False");
    case vaTrue:
      return QStringLiteral("True");
    case vaNil:
      return QStringLiteral("nil");
    case vaNull:
      return QStringLiteral("Null");
    default:
      Stream().Seek(-1, TSeekOrigin::soCurrent);
      InvalidValue();
  }
}

bool TReader::ReadBoolean() {
  const TValueType kind = NextValue();
  if (kind != vaTrue && kind != vaFalse && kind != vaIdent) InvalidValue();
  const QString ident = ReadIdent();
  if (ident.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
  if (ident.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
  InvalidValue();
}

QStringList TReader::ReadSet() {
  CheckValue(vaSet);
  QStringList members;
  for (;;) {
    const QString member = ReadStr();
    if (member.isEmpty()) break;
    members.append(member);
  }
  return members;
}

QByteArray TReader::ReadBinary() {
  CheckValue(vaBinary);
  return ReadCounted(ReadLittleEndian<int32_t>(*this));
}

Variant TReader::ReadVariant() {
  const TValueType kind = ReadValue();
  switch (kind) {
    case vaNil:
      return Variant();
    case vaNull:
      return Variant::Null();
    case vaInt8:
    case vaInt16:
    case vaInt32:
      return Variant(static_cast<int>(ReadIntegerOfKind(kind)));
    case vaInt64:
    case vaQWord:
      return Variant(ReadIntegerOfKind(kind));
    case vaExtended:
      return Variant(ReadFloatOfKind(kind));
    case vaCurrency:
      return Variant(Currency::FromScaled(ReadLittleEndian<int64_t>(*this)));
    case vaSingle:
      return Variant(static_cast<float>(ReadFloatOfKind(kind)));
    case vaDate:
      return Variant::FromDate(ReadFloatOfKind(kind));
    case vaString:
    case vaLString:
    case vaUTF8String:
      return Variant(ReadStringOfKind(kind));
    case vaWString:
    case vaUString:
      return Variant::FromOleStr(ReadStringOfKind(kind));
    case vaFalse:
      return Variant(false);
    case vaTrue:
      return Variant(true);
    case vaList: {
      NestingGuard guard(*this);
      std::vector<Variant> elements;
      while (!EndOfList()) elements.push_back(ReadVariant());
      ReadListEnd();
      return Variant::FromArray(std::move(elements), 0);
    }
    default:
      Stream().Seek(-1, TSeekOrigin::soCurrent);
      InvalidValue();
  }
}

void TReader::SkipValue() {
  const TValueType kind = ReadValue();
  switch (kind) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
      break;
    case vaInt8:
      SkipBytes(1);
      break;
    case vaInt16:
      SkipBytes(2);
      break;
    case vaInt32:
    case vaSingle:
      SkipBytes(4);
      break;
    case vaInt64:
    case vaQWord:
    case vaCurrency:
    case vaDate:
      SkipBytes(8);
      break;
    case vaExtended:
      SkipBytes(10);
      break;
    case vaString:
    case vaIdent:
      SkipBytes(ReadLittleEndian<uint8_t>(*this));
      break;
    case vaLString:
    case vaBinary:
    case vaUTF8String:
      SkipBytes(ReadLittleEndian<int32_t>(*this));
      break;
    case vaWString:
    case vaUString:
      SkipBytes(int64_t(ReadLittleEndian<int32_t>(*this)) * 2);
      break;
    case vaSet:
      while (ReadLittleEndian<uint8_t>(*this) != 0) {
        Stream().Seek(-1, TSeekOrigin::soCurrent);
        SkipBytes(ReadLittleEndian<uint8_t>(*this));
      }
      break;
    case vaList: {
      NestingGuard guard(*this);
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      break;
    }
    case vaCollection: {
      NestingGuard guard(*this);
      while (!EndOfList()) {
        if (IsIntegerKind(NextValue())) SkipValue();  // the item's order
        ReadListBegin();
        while (!EndOfList()) SkipProperty();
        ReadListEnd();
      }
      ReadListEnd();
      break;
    }
  }
}

void TReader::SkipProperty() {
  if (EndOfList()) return;
  ReadShortBytes();
  SkipValue();
}

}  // namespace Kel
