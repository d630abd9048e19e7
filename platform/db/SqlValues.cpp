#include "SqlValues_p.h"

#include <libpq-fe.h>

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlResult>
#include <QTime>
#include <cmath>

#include "DBConsts.h"
#include "DateUtils.h"
#include "RecordStore.h"

namespace Kel {

void SqlError(const QSqlError& error) {
  const QString text = error.text().trimmed();
  DatabaseError(DBText::SQLError, text.isEmpty() ? QStringLiteral("unknown error") : text);
}

namespace {

// A time of day written "HH:MM", "HH:MM:SS" or "HH:MM:SS.f" with one to six decimals (rounded to
// the millisecond that a date-time number keeps); a zone offset after it ("+02", "-05:30", "Z"),
// as PostgreSQL writes times with time zone, is left aside.
std::optional<TDateTime> ReadTimeOfDay(QStringView text) {
  static const QRegularExpression pattern(QStringLiteral(
      "^(\\d{1,2}):(\\d{2})(?::(\\d{2})(?:\\.(\\d{1,6}))?)?(?:\\s*(?:Z|[+-]\\d{1,2}(?::?\\d{2}){0,2}))?$"));
  const QRegularExpressionMatch match = pattern.match(text);
  if (!match.hasMatch()) return std::nullopt;
  const int hour = match.capturedView(1).toInt();
  const int minute = match.capturedView(2).toInt();
  const int second = match.capturedView(3).toInt();
  const QString fraction = match.captured(4).leftJustified(6, u'0');
  const int micro = fraction.toInt();
  if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
  // 23:59:59.9996 rounds to the last millisecond of the day, not to the next day.
  const int msec = std::min(999, (micro + 500) / 1000);
  return EncodeTime(hour, minute, second, msec);
}

std::optional<bool> ReadBoolean(const QVariant& value) {
  if (value.typeId() == QMetaType::Bool) return value.toBool();
  const QString text = value.toString().trimmed().toLower();
  if (text == u"1" || text == u"true" || text == u"t" || text == u"y" || text == u"yes")
    return true;
  if (text == u"0" || text == u"false" || text == u"f" || text == u"n" || text == u"no")
    return false;
  bool ok = false;
  const double number = value.toDouble(&ok);
  if (ok) return number != 0;
  return std::nullopt;
}

Variant GenericValue(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
      return Variant(value.toInt());
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      return Variant(static_cast<int64_t>(value.toLongLong()));
    case QMetaType::Double:
    case QMetaType::Float:
      return Variant(value.toDouble());
    case QMetaType::Bool:
      return Variant(value.toBool());
    case QMetaType::QByteArray:
      return Variant(QString::fromLatin1(value.toByteArray()));
    default:
      return Variant(value.toString());
  }
}

// A stored value read as the field type's kind; Null when it does not read as that type.
Variant ReadSqlValue(const QVariant& value, TFieldType type) {
  if (value.isNull() || !value.isValid()) return Variant::Null();
  bool ok = false;
  switch (ColumnKindOf(type)) {
    case TColumnKind::String:
      return Variant(value.typeId() == QMetaType::QByteArray
                         ? QString::fromUtf8(value.toByteArray())
                         : value.toString());
    case TColumnKind::Int: {
      const qlonglong number = value.toLongLong(&ok);
      if (ok) return Variant(static_cast<int64_t>(number));
      const double real = value.toDouble(&ok);
      return ok && std::isfinite(real) ? Variant(static_cast<int64_t>(std::llround(real)))
                                       : Variant::Null();
    }
    case TColumnKind::Float: {
      const double real = value.toDouble(&ok);
      return ok ? Variant(real) : Variant::Null();
    }
    case TColumnKind::Currency: {
      const double real = value.toDouble(&ok);
      if (!ok || !std::isfinite(real) || std::fabs(real) >= 922337203685477.0)
        return Variant::Null();
      return Variant(Currency::FromDouble(real));
    }
    case TColumnKind::DateTime: {
      const std::optional<TDateTime> moment = ReadDateTime(value);
      return moment ? Variant::FromDate(*moment) : Variant::Null();
    }
    case TColumnKind::Bool: {
      const std::optional<bool> truth = ReadBoolean(value);
      return truth ? Variant(*truth) : Variant::Null();
    }
    case TColumnKind::Bytes:
      return Variant(QString::fromLatin1(value.typeId() == QMetaType::QByteArray
                                             ? value.toByteArray()
                                             : value.toString().toUtf8()));
    case TColumnKind::Variant:
      return GenericValue(value);
  }
  return Variant::Null();
}

}  // namespace

std::optional<TDateTime> ReadDateTime(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::QDate: {
      const QDate date = value.toDate();
      if (!date.isValid()) return std::nullopt;
      return EncodeDate(date.year(), date.month(), date.day());
    }
    case QMetaType::QTime: {
      const QTime time = value.toTime();
      if (!time.isValid()) return std::nullopt;
      return EncodeTime(time.hour(), time.minute(), time.second(), time.msec());
    }
    case QMetaType::QDateTime: {
      const QDateTime moment = value.toDateTime();
      if (!moment.isValid()) return std::nullopt;
      return CombineDateTime(ReadDateTime(moment.date()).value_or(0),
                             ReadDateTime(moment.time()).value_or(0));
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
      return value.toDouble();
    default:
      break;
  }
  QString text = value.toString().trimmed();
  std::optional<TDateTime> date;
  std::optional<TDateTime> time;
  if (text.size() >= 10 && text[4] == u'-') {
    const QDate d = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid()) return std::nullopt;
    TDateTime encoded = 0;
    if (!TryEncodeDate(d.year(), d.month(), d.day(), encoded)) return std::nullopt;
    date = encoded;
    text = text.mid(10);
    if (text.startsWith(u'T')) text = text.mid(1);
    text = text.trimmed();
  }
  if (!text.isEmpty()) {
    time = ReadTimeOfDay(text);
    if (!time) return std::nullopt;
  }
  if (!date && !time) return std::nullopt;
  return CombineDateTime(date.value_or(0), time.value_or(0));
}

// A stored value as the field type keeps it. One that does not fit the type (3000000000 in an
// INTEGER column, 70000 in a SMALLINT one) loads as Null like any other unreadable value,
// instead of making the whole table or result impossible to open.
Variant FromSqlValue(const QVariant& value, TFieldType type) {
  try {
    return ConvertToFieldType(ReadSqlValue(value, type), type);
  } catch (const Exception&) {
    return Variant::Null();
  }
}

QString IsoDate(TDateTime value) {
  int year = 0, month = 0, day = 0;
  DecodeDate(value, year, month, day);
  return QStringLiteral("%1-%2-%3")
      .arg(year, 4, 10, QLatin1Char('0'))
      .arg(month, 2, 10, QLatin1Char('0'))
      .arg(day, 2, 10, QLatin1Char('0'));
}

QString IsoTime(TDateTime value) {
  int hour = 0, minute = 0, second = 0, msec = 0;
  DecodeTime(value, hour, minute, second, msec);
  QString text = QStringLiteral("%1:%2:%3")
                     .arg(hour, 2, 10, QLatin1Char('0'))
                     .arg(minute, 2, 10, QLatin1Char('0'))
                     .arg(second, 2, 10, QLatin1Char('0'));
  if (msec != 0) text += QStringLiteral(".%1").arg(msec, 3, 10, QLatin1Char('0'));
  return text;
}

namespace {

// A currency value as exact decimal text ("-12.3456").
QString CurrencyText(Currency value) {
  const int64_t scaled = value.Scaled;
  const uint64_t magnitude =
      scaled < 0 ? uint64_t(0) - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  return QStringLiteral("%1%2.%3")
      .arg(scaled < 0 ? QStringLiteral("-") : QString())
      .arg(magnitude / Currency::Scale)
      .arg(magnitude % Currency::Scale, 4, 10, QLatin1Char('0'));
}

}  // namespace

QVariant ToSqlValue(const Variant& value, TFieldType type, TSqlDialect dialect) {
  if (value.IsEmptyOrNull()) return QVariant();
  const bool sqlite = dialect == TSqlDialect::Sqlite;
  switch (ColumnKindOf(type)) {
    case TColumnKind::String:
      return value.AsString();
    case TColumnKind::Int:
      return QVariant::fromValue<qlonglong>(value.AsInt64());
    case TColumnKind::Float:
      return value.AsDouble();
    case TColumnKind::Currency:
      if (dialect == TSqlDialect::Postgres) return CurrencyText(value.AsCurrency());
      return value.AsCurrency().ToDouble();
    case TColumnKind::DateTime: {
      const TDateTime moment = value.AsDate();
      if (dialect != TSqlDialect::Other) {
        if (type == ftDate) return IsoDate(moment);
        if (type == ftTime) return IsoTime(moment);
        return IsoDate(moment) + u' ' + IsoTime(moment);
      }
      int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
      DecodeDate(moment, year, month, day);
      DecodeTime(moment, hour, minute, second, msec);
      if (type == ftDate) return QDate(year, month, day);
      if (type == ftTime) return QTime(hour, minute, second, msec);
      return QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec));
    }
    case TColumnKind::Bool:
      return sqlite ? QVariant(value.AsBoolean() ? 1 : 0) : QVariant(value.AsBoolean());
    case TColumnKind::Bytes:
      return value.AsString().toLatin1();
    case TColumnKind::Variant:
      switch (value.VarType()) {
        case varSmallint:
        case varInteger:
        case varByte:
        case varInt64:
          return QVariant::fromValue<qlonglong>(value.AsInt64());
        case varSingle:
        case varDouble:
        case varCurrency:
          return value.AsDouble();
        case varBoolean:
          return value.AsBoolean() ? 1 : 0;
        default:
          return value.AsString();
      }
  }
  return QVariant();
}

QVariant BoundValue(const Variant& value, TSqlDialect dialect) {
  switch (value.VarType()) {
    case varSmallint:
    case varInteger:
    case varByte:
    case varInt64:
      return ToSqlValue(value, ftLargeint, dialect);
    case varSingle:
    case varDouble:
      return ToSqlValue(value, ftFloat, dialect);
    case varCurrency:
      return ToSqlValue(value, ftCurrency, dialect);
    case varBoolean:
      return ToSqlValue(value, ftBoolean, dialect);
    case varDate:
      return ToSqlValue(value, ftDateTime, dialect);
    default:
      return ToSqlValue(value, ftString, dialect);
  }
}

TFieldType FieldTypeOfMetaType(const QSqlField& field, int& size) {
  size = 0;
  switch (field.metaType().id()) {
    case QMetaType::Bool:
      return ftBoolean;
    case QMetaType::Short:
    case QMetaType::UShort:
      return ftSmallint;
    case QMetaType::Int:
    case QMetaType::UInt:
      return ftInteger;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      return ftLargeint;
    case QMetaType::Double:
    case QMetaType::Float:
      return ftFloat;
    case QMetaType::QDate:
      return ftDate;
    case QMetaType::QTime:
      return ftTime;
    case QMetaType::QDateTime:
      return ftDateTime;
    case QMetaType::QByteArray:
      return ftBlob;
    case QMetaType::QString:
      if (field.length() > 0 && field.length() <= 8192) {
        size = field.length();
        return ftString;
      }
      return ftMemo;
    default:
      return ftUnknown;
  }
}

namespace PgType {
// Type oids of PostgreSQL's built-in types (fixed in its catalog).
enum : int {
  Bool = 16,
  Bytea = 17,
  Char1 = 18,  // "char": one byte
  Name = 19,
  Int8 = 20,
  Int2 = 21,
  Int4 = 23,
  Text = 25,
  Oid = 26,
  Float4 = 700,
  Float8 = 701,
  Money = 790,
  BpChar = 1042,
  VarChar = 1043,
  Date = 1082,
  Time = 1083,
  Timestamp = 1114,
  TimestampTz = 1184,
  TimeTz = 1266,
  Numeric = 1700,
};
// The header that PostgreSQL counts into the modifier of character and numeric types.
constexpr int VarHeader = 4;
}  // namespace PgType

TFieldType FieldTypeOfPgType(int oid, int typeModifier, int& size) {
  size = 0;
  switch (oid) {
    case PgType::Bool:
      return ftBoolean;
    case PgType::Bytea:
      return ftBlob;
    case PgType::Int2:
      return ftSmallint;
    case PgType::Int4:
      return ftInteger;
    case PgType::Int8:
    case PgType::Oid:
      return ftLargeint;
    case PgType::Float4:
    case PgType::Float8:
      return ftFloat;
    case PgType::Money:
      return ftCurrency;
    case PgType::Numeric: {
      // Up to four decimals and eighteen digits fit the fixed-point field exactly; numbers
      // without a declared scale or with more decimals are kept as floating point.
      if (typeModifier < PgType::VarHeader) return ftFloat;
      const int precision = ((typeModifier - PgType::VarHeader) >> 16) & 0xffff;
      const int scale = (typeModifier - PgType::VarHeader) & 0xffff;
      return scale <= 4 && precision <= 18 ? ftBCD : ftFloat;
    }
    case PgType::Date:
      return ftDate;
    case PgType::Time:
    case PgType::TimeTz:
      return ftTime;
    case PgType::Timestamp:
    case PgType::TimestampTz:
      return ftDateTime;
    case PgType::Char1:
      size = 1;
      return ftString;
    case PgType::Name:
      size = 64;
      return ftString;
    case PgType::BpChar:
    case PgType::VarChar:
      if (typeModifier > PgType::VarHeader && typeModifier - PgType::VarHeader <= 8192) {
        size = typeModifier - PgType::VarHeader;
        return oid == PgType::BpChar ? ftFixedChar : ftString;
      }
      return ftMemo;
    default:
      // text, json, xml and every other type arrive as text.
      return ftMemo;
  }
}

TFieldType FieldTypeOfPgField(const QSqlField& field, int& size) {
  // Qt's driver took the modifier apart: put it together again.
  int modifier = -1;
  if (field.typeID() == PgType::Numeric && field.length() > 0)
    modifier = ((field.length() << 16) | std::max(0, field.precision())) + PgType::VarHeader;
  else if ((field.typeID() == PgType::VarChar || field.typeID() == PgType::BpChar) &&
           field.length() > 0)
    modifier = field.length() + PgType::VarHeader;
  return FieldTypeOfPgType(field.typeID(), modifier, size);
}

QVariant ResultValue(const QSqlQuery& query, int column, TSqlDialect dialect) {
  if (dialect == TSqlDialect::Postgres && query.result()) {
    if (const auto* result = HandleOf<const PGresult>(query.result()->handle(), "PGresult*", "pg_result*"))
      return PgCellValue(result, query.isForwardOnly() ? 0 : query.at(), column);
  }
  return query.value(column);
}

QVariant PgCellValue(const PGresult* result, int row, int column) {
  if (PQgetisnull(result, row, column)) return QVariant();
  const char* text = PQgetvalue(result, row, column);
  const int length = PQgetlength(result, row, column);
  switch (PQftype(result, column)) {
    case PgType::Bytea: {
      size_t size = 0;
      unsigned char* bytes = PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &size);
      if (!bytes) return QVariant();
      QByteArray value(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
      PQfreemem(bytes);
      return value;
    }
    case PgType::Money: {
      // The session writes money in the C locale: "-$1,234.56".
      QString value = QString::fromLatin1(text, length);
      value.remove(u'$');
      value.remove(u',');
      return value;
    }
    default:
      return QString::fromUtf8(text, length);
  }
}

}  // namespace Kel
