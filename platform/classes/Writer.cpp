// TWriter, value level: the type bytes and payloads of every value kind.
#include <QtEndian>
#include <bit>
#include <limits>

#include "Exceptions.h"
#include "Filer.h"
#include "FilerConsts.h"

namespace Kel {

namespace {

template <typename T>
void WriteLittleEndian(TWriter& writer, T value) {
  const T stored = qToLittleEndian(value);
  writer.Write(&stored, sizeof stored);
}

bool IsPlainAscii(const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() >= 0x80) return false;
  }
  return true;
}

void WriteLength32(TWriter& writer, qsizetype length) {
  if (length > std::numeric_limits<int32_t>::max())
    throw EWriteError(RtlMessage(RtlText::WriteError));
  WriteLittleEndian<int32_t>(writer, static_cast<int32_t>(length));
}

// A 32-bit length and the bytes.
void WriteCounted32(TWriter& writer, const QByteArray& bytes) {
  WriteLength32(writer, bytes.size());
  writer.Write(bytes.constData(), bytes.size());
}

}  // namespace

void TWriter::SetRoot(TComponent* root) {
  TFiler::SetRoot(root);
  SetLookupRoot(root);
}

void TWriter::WritePropName(const QString& name) { WriteStr(propPath_ + name); }

void TWriter::DefineProperty(const QString& name, TReaderProc, TWriterProc writeData,
                             bool hasData) {
  if (!hasData || !writeData) return;
  WritePropName(name);
  writeData(*this);
}

void TWriter::DefineBinaryProperty(const QString& name, TStreamProc, TStreamProc writeData,
                                   bool hasData) {
  if (!hasData || !writeData) return;
  TMemoryStream bytes;
  writeData(bytes);
  WritePropName(name);
  WriteBinary(bytes.Bytes());
}

void TWriter::NestingError() { throw EWriteError(RtlMessage(FilerText::NestingTooDeep)); }

void TWriter::WriteValue(TValueType value) {
  const auto byte = static_cast<uint8_t>(value);
  Write(&byte, 1);
}

void TWriter::WriteSignature() { Write(kFilerSignature, sizeof kFilerSignature); }

void TWriter::WritePrefix(TFilerFlags flags, int childPos) {
  if (flags.IsEmpty()) return;
  const auto prefix = static_cast<uint8_t>(0xF0 | (flags.Bits() & 0x0F));
  Write(&prefix, 1);
  if (flags.Contains(ffChildPos)) WriteInteger(childPos);
}

void TWriter::WriteComponentHeader(TFilerFlags flags, int childPos, const QString& className,
                                   const QString& name) {
  if (flags.IsEmpty() && className.toUtf8().size() >= 0xF0) {
    const uint8_t emptyPrefix = 0xF0;
    Write(&emptyPrefix, 1);
  } else {
    WritePrefix(flags, childPos);
  }
  WriteStr(className);
  WriteStr(name);
}

void TWriter::WriteStr(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  if (bytes.size() > 255) throw EWriteError(RtlMessage(FilerText::NameTooLong, text.left(64)));
  const auto length = static_cast<uint8_t>(bytes.size());
  Write(&length, 1);
  Write(bytes.constData(), bytes.size());
}

void TWriter::WriteInteger(int64_t value) {
  if (value >= std::numeric_limits<int8_t>::min() && value <= std::numeric_limits<int8_t>::max()) {
    WriteValue(vaInt8);
    WriteLittleEndian<int8_t>(*this, static_cast<int8_t>(value));
  } else if (value >= std::numeric_limits<int16_t>::min() &&
             value <= std::numeric_limits<int16_t>::max()) {
    WriteValue(vaInt16);
    WriteLittleEndian<int16_t>(*this, static_cast<int16_t>(value));
  } else if (value >= std::numeric_limits<int32_t>::min() &&
             value <= std::numeric_limits<int32_t>::max()) {
    WriteValue(vaInt32);
    WriteLittleEndian<int32_t>(*this, static_cast<int32_t>(value));
  } else {
    WriteValue(vaInt64);
    WriteLittleEndian<int64_t>(*this, value);
  }
}

void TWriter::WriteQWord(uint64_t value) {
  if (value <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
    WriteInteger(static_cast<int64_t>(value));
    return;
  }
  WriteValue(vaQWord);
  WriteLittleEndian<uint64_t>(*this, value);
}

void TWriter::WriteFloat(double value) { WriteExtended(DoubleToExtended(value)); }

void TWriter::WriteExtended(const TExtended80& value) {
  WriteValue(vaExtended);
  Write(value.Bytes.data(), static_cast<int64_t>(value.Bytes.size()));
}

void TWriter::WriteSingle(float value) {
  WriteValue(vaSingle);
  WriteLittleEndian<uint32_t>(*this, std::bit_cast<uint32_t>(value));
}

void TWriter::WriteCurrency(Currency value) {
  WriteValue(vaCurrency);
  WriteLittleEndian<int64_t>(*this, value.Scaled);
}

void TWriter::WriteDate(TDateTime value) {
  WriteValue(vaDate);
  WriteLittleEndian<uint64_t>(*this, std::bit_cast<uint64_t>(value));
}

void TWriter::WriteString(const QString& text) {
  if (!IsPlainAscii(text)) {
    WriteWideString(text);
    return;
  }
  const QByteArray bytes = text.toLatin1();
  if (bytes.size() > 255) {
    WriteValue(vaLString);
    WriteCounted32(*this, bytes);
    return;
  }
  WriteValue(vaString);
  const auto length = static_cast<uint8_t>(bytes.size());
  Write(&length, 1);
  Write(bytes.constData(), bytes.size());
}

void TWriter::WriteWideString(const QString& text) {
  WriteValue(vaWString);
  WriteLength32(*this, text.size());
  QByteArray bytes(text.size() * 2, Qt::Uninitialized);
  qToLittleEndian<char16_t>(text.utf16(), text.size(), bytes.data());
  Write(bytes.constData(), bytes.size());
}

void TWriter::WriteUTF8String(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  WriteValue(vaUTF8String);
  WriteCounted32(*this, bytes);
}

void TWriter::WriteIdent(const QString& ident) {
  if (ident.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
    WriteValue(vaFalse);
  } else if (ident.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
    WriteValue(vaTrue);
  } else if (ident.compare(QLatin1String("nil"), Qt::CaseInsensitive) == 0) {
    WriteValue(vaNil);
  } else if (ident.compare(QLatin1String("Null"), Qt::CaseInsensitive) == 0) {
    WriteValue(vaNull);
  } else {
    WriteValue(vaIdent);
    WriteStr(ident);
  }
}

void TWriter::WriteSet(const QStringList& members) {
  WriteValue(vaSet);
  for (const QString& member : members) {
    if (!member.isEmpty()) WriteStr(member);
  }
  WriteStr(QString());
}

void TWriter::WriteBinary(const QByteArray& bytes) {
  WriteValue(vaBinary);
  WriteCounted32(*this, bytes);
}

void TWriter::WriteVariant(const Variant& value) {
  switch (value.VarType()) {
    case varEmpty:
      WriteValue(vaNil);
      break;
    case varNull:
      WriteValue(vaNull);
      break;
    case varSmallint:
    case varInteger:
    case varByte:
    case varInt64:
      WriteInteger(value.AsInt64());
      break;
    case varSingle:
      WriteSingle(static_cast<float>(value.AsDouble()));
      break;
    case varDouble:
      WriteFloat(value.AsDouble());
      break;
    case varCurrency:
      WriteCurrency(value.AsCurrency());
      break;
    case varDate:
      WriteDate(value.AsDate());
      break;
    case varBoolean:
      WriteBoolean(value.AsBoolean());
      break;
    case varString:
      WriteString(value.StringRef());
      break;
    case varOleStr:
      // ASCII text as a String value would read back as a string variant of the other kind.
      WriteWideString(value.StringRef());
      break;
    case varArray: {
      NestingGuard guard(*this);
      WriteListBegin();
      for (const Variant& element : value.ArrayElements()) {
        // A Null is the end marker of a list: written inside one it would cut the list short
        // and make the rest of the stream unreadable.
        if (element.IsNull()) throw EWriteError(RtlMessage(FilerText::NullInList));
        WriteVariant(element);
      }
      WriteListEnd();
      break;
    }
    default:
      throw EWriteError(RtlMessage(FilerText::UnsupportedValue, VarTypeAsText(value.VarType())));
  }
}

}  // namespace Kel
