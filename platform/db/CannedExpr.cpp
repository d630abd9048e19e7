#include "CannedExpr.h"

#include <QtEndian>
#include <cmath>
#include <cstring>

#include "DBConsts.h"

namespace Kel {

namespace {

uint16_t ReadU16(const QByteArray& data, int offset) {
  return qFromLittleEndian<uint16_t>(data.constData() + offset);
}

uint32_t ReadU32(const QByteArray& data, int offset) {
  return qFromLittleEndian<uint32_t>(data.constData() + offset);
}

template <typename T>
T ReadLE(const char* bytes) {
  return qFromLittleEndian<T>(bytes);
}

}  // namespace

int CanNodeFieldCount(TNodeClass nodeClass) {
  switch (nodeClass) {
    case nodeUnary:
      return 1;
    case nodeBinary:
    case nodeField:
    case nodeFunc:
    case nodeListElem:
      return 2;
    case nodeConst:
      return 3;
    case nodeCompare:
      return 4;
    default:
      return 0;
  }
}

void TCannedExpr::Invalid() { throw EDatabaseError(RtlMessage(DBText::InvalidCannedExpression)); }

TCannedExpr::TCannedExpr(QByteArray data) : data_(std::move(data)) {
  if (data_.size() < 10) Invalid();
  nodeArea_ = ReadU16(data_, 6);
  literalArea_ = ReadU16(data_, 8);
  if (nodeArea_ < 10 || nodeArea_ > data_.size() || literalArea_ < nodeArea_ ||
      literalArea_ > data_.size())
    Invalid();
  nodeCount_ = data_.size() >= CannedHeaderSize ? ReadU16(data_, 10) : 0;
}

TCanNode TCannedExpr::NodeAt(int nodeOffset) const {
  const int start = nodeArea_ + nodeOffset;
  if (nodeOffset < 0 || start + 8 > literalArea_) Invalid();
  TCanNode node;
  node.Offset = nodeOffset;
  node.Class = static_cast<TNodeClass>(ReadU32(data_, start));
  node.Operator = ReadU32(data_, start + 4);
  const int fields = CanNodeFieldCount(node.Class);
  if (start + 8 + 2 * fields > literalArea_) Invalid();
  for (int i = 0; i < fields; ++i) node.Fields[i] = ReadU16(data_, start + 8 + 2 * i);
  return node;
}

const char* TCannedExpr::LiteralBytes(int literalOffset, int size) const {
  const qint64 start = qint64(literalArea_) + literalOffset;
  if (literalOffset < 0 || size < 0 || start + size > data_.size()) Invalid();
  return data_.constData() + start;
}

QString TCannedExpr::LiteralText(int literalOffset) const {
  const char* begin = LiteralBytes(literalOffset, 0);
  const char* end = data_.constData() + data_.size();
  const void* nul = std::memchr(begin, 0, static_cast<size_t>(end - begin));
  if (!nul) Invalid();
  return QString::fromUtf8(begin, static_cast<const char*>(nul) - begin);
}

Variant TCannedExpr::ConstValue(const TCanNode& node) const {
  const int offset = node.ConstOffset();
  switch (node.ConstType()) {
    case cdtString: {
      // The size counts the bytes with the closing NUL, so a NUL inside the text survives.
      const int size = node.ConstSize();
      if (size <= 0) return Variant(LiteralText(offset));
      const char* bytes = LiteralBytes(offset, size);
      return Variant(QString::fromUtf8(bytes, size - 1));
    }
    case cdtDate:
      return Variant::FromDate(CanDateToDate(ReadLE<int32_t>(LiteralBytes(offset, 4))));
    case cdtBoolean:
      return Variant(ReadLE<int16_t>(LiteralBytes(offset, 2)) != 0);
    case cdtInt16:
      return Variant::FromSmallint(ReadLE<int16_t>(LiteralBytes(offset, 2)));
    case cdtInt32:
      return Variant(static_cast<int>(ReadLE<int32_t>(LiteralBytes(offset, 4))));
    case cdtFloat:
      return Variant(ReadLE<double>(LiteralBytes(offset, 8)));
    case cdtTime:
      return Variant::FromDate(CanTimeToTime(ReadLE<int32_t>(LiteralBytes(offset, 4))));
    case cdtTimeStamp: {
      const double msecs = ReadLE<double>(LiteralBytes(offset, 8));
      if (!std::isfinite(msecs)) return Variant::Null();
      return Variant::FromDate(CanTimeStampToDateTime(msecs));
    }
    case cdtUInt16:
      return Variant(static_cast<int>(ReadLE<uint16_t>(LiteralBytes(offset, 2))));
    case cdtUInt32:
      return Variant(static_cast<int64_t>(ReadLE<uint32_t>(LiteralBytes(offset, 4))));
    default:
      return Variant::Null();
  }
}

int32_t DateToCanDate(TDateTime value) {
  return static_cast<int32_t>(std::trunc(value)) + DateDelta;
}

TDateTime CanDateToDate(int32_t dayNumber) { return static_cast<double>(dayNumber) - DateDelta; }

int32_t TimeToCanTime(TDateTime value) {
  const double fraction = std::fabs(value - std::trunc(value));
  int32_t msecs = static_cast<int32_t>(std::nearbyint(fraction * MSecsPerDay));
  return msecs >= MSecsPerDay ? MSecsPerDay - 1 : msecs;
}

TDateTime CanTimeToTime(int32_t msecs) { return static_cast<double>(msecs) / MSecsPerDay; }

double DateTimeToCanTimeStamp(TDateTime value) {
  // Whole days and the time of day apart, so that days before 1899 keep their time forwards.
  const double days = std::trunc(value) + DateDelta;
  return days * MSecsPerDay + TimeToCanTime(value);
}

TDateTime CanTimeStampToDateTime(double msecs) {
  const double days = std::floor(msecs / MSecsPerDay);
  const double time = (msecs - days * MSecsPerDay) / MSecsPerDay;
  return CombineDateTime(days - DateDelta, time);
}

}  // namespace Kel
