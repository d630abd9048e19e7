#pragma once
// Helpers for tests that build component streams byte by byte, the way other writers of the
// format lay them out.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace StreamBytes {

inline QByteArray Bytes(std::initializer_list<int> values) {
  QByteArray bytes;
  for (int v : values) bytes.append(static_cast<char>(v));
  return bytes;
}

template <typename T>
QByteArray LittleEndian(T value) {
  QByteArray bytes(sizeof(T), '\0');
  for (size_t i = 0; i < sizeof(T); ++i) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(T));
    bytes[static_cast<qsizetype>(i)] = static_cast<char>(bits >> (8 * i));
  }
  return bytes;
}

// A length byte and the bytes (ASCII / UTF-8 of text).
inline QByteArray Short(const QByteArray& text) {
  return QByteArray(1, static_cast<char>(text.size())) + text;
}

// The 10 bytes of an extended value: mantissa then sign and exponent.
inline QByteArray Extended(uint64_t mantissa, uint16_t signExponent) {
  return LittleEndian(mantissa) + LittleEndian(signExponent);
}

inline QByteArray Utf16(const QString& text) {
  QByteArray bytes;
  for (QChar c : text) bytes += LittleEndian<uint16_t>(c.unicode());
  return bytes;
}

}  // namespace StreamBytes
