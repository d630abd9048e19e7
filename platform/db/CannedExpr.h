#pragma once
// The canned expression: a parsed filter condition as one flat, self-contained byte buffer, the
// form in which the filter-expression parser hands a condition to whoever evaluates or inspects
// it (the dataset filter, the library's expression evaluator, its filter node tree).
//
// Layout (all integers little-endian; offsets in bytes):
//
//   header, 16 bytes:
//     0  uint16  format version (1)
//     2  uint32  total size of the buffer
//     6  uint16  offset of the node area from the start of the buffer
//     8  uint16  offset of the literal area from the start of the buffer
//    10  uint16  number of nodes
//    12  uint16  size of the node area
//    14  uint16  size of the literal area
//   node area: the root node at offset 0; node references are offsets into this area
//   literal area: names and constant values; literal references are offsets into this area
//
// Every node starts with its class (uint32) and its operator (uint32); uint16 fields follow:
//
//   0 null, 6 tuple, 7 continue, 8 user function, 9 list    -
//   1 unary         operand
//   2 binary        left, right
//   3 compare       case-insensitive flag, partial length, left, right
//   4 field         field number (1-based position in the dataset), name (literal: NUL-ended)
//   5 constant      data type, size in bytes, value (literal)
//   10 function     name (literal: NUL-ended), first argument (node: list element; 0 = none)
//   11 list element value (node), next element (node; 0 ends the list)
//
// Constant data types and their literal values:
//   1 string        UTF-8 text, NUL-ended; size counts the bytes with the NUL
//   2 date          int32 day number counted from 1 January 0001 (= day 1)
//   4 Boolean       int16, non-zero is true
//   5 / 6           int16 / int32
//   7 float         IEEE double
//   10 time         int32 milliseconds since midnight; read as a time of day (date part 0,
//                   i.e. the date-time number of the time alone, as time fields hold it)
//   11 time stamp   IEEE double milliseconds since 1 January 0001 00:00
//   12 / 13         uint16 / uint32
// Any other type reads as Null.
//
// Compare nodes: the parser emits them for string comparisons made case-insensitive by
// foCaseInsensitive (flag 1) and for partial comparisons with a "*"-ended string constant (the
// partial length is the number of characters before the "*", which is not stored); the
// non-constant operand is then on the left.

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "PlatformExport.h"
#include "Variant.h"

namespace Kel {

enum TNodeClass : uint32_t {
  nodeNull = 0,
  nodeUnary = 1,
  nodeBinary = 2,
  nodeCompare = 3,
  nodeField = 4,
  nodeConst = 5,
  nodeTuple = 6,
  nodeContinue = 7,
  nodeUserFunc = 8,
  nodeList = 9,
  nodeFunc = 10,
  nodeListElem = 11,
};

// Operator codes of the nodes. Only those with a meaning here are named.
enum TCanOperator : uint32_t {
  coNotDefined = 0,
  coIsBlank = 1,   // IS NULL
  coNotBlank = 2,  // IS NOT NULL
  coEQ = 3,
  coNE = 4,
  coGT = 5,
  coLT = 6,
  coGE = 7,
  coLE = 8,
  coNOT = 9,
  coAND = 10,
  coOR = 11,
  coMinus = 15,  // unary minus
  coAdd = 16,
  coSub = 17,
  coMul = 18,
  coDiv = 19,
  coMod = 20,
  coRem = 21,
  coSum = 22,
  coCont = 27,
  coLike = 30,
  coIn = 31,
  coUpper = 33,
  coLower = 34,
  coIsNull = 37,
};

enum TCanConstType : uint16_t {
  cdtString = 1,
  cdtDate = 2,
  cdtBoolean = 4,
  cdtInt16 = 5,
  cdtInt32 = 6,
  cdtFloat = 7,
  cdtTime = 10,
  cdtTimeStamp = 11,
  cdtUInt16 = 12,
  cdtUInt32 = 13,
};

inline constexpr int CannedHeaderSize = 16;
inline constexpr uint16_t CannedFormatVersion = 1;

// A node as read from the buffer: its class, operator and raw 16-bit fields.
struct TCanNode {
  int Offset = 0;  // in the node area
  TNodeClass Class = nodeNull;
  uint32_t Operator = 0;
  uint16_t Fields[4] = {0, 0, 0, 0};

  // Named views of the fields by class.
  int Operand() const { return Fields[0]; }                                   // unary
  int Left() const { return Class == nodeCompare ? Fields[2] : Fields[0]; }   // binary, compare
  int Right() const { return Class == nodeCompare ? Fields[3] : Fields[1]; }  // binary, compare
  bool CaseInsensitive() const { return Fields[0] != 0; }                     // compare
  int PartialLength() const { return Fields[1]; }                             // compare
  int FieldNo() const { return Fields[0]; }                                   // field
  int NameOffset() const { return Fields[1]; }  // field; function: Fields[0]
  int ConstType() const { return Fields[0]; }   // constant
  int ConstSize() const { return Fields[1]; }
  int ConstOffset() const { return Fields[2]; }
  int FuncNameOffset() const { return Fields[0]; }  // function
  int FirstArgument() const { return Fields[1]; }
  int ElemValue() const { return Fields[0]; }  // list element
  int ElemNext() const { return Fields[1]; }
};

// The number of 16-bit fields that follow class and operator for a node class.
KEL_PLATFORM_EXPORT int CanNodeFieldCount(TNodeClass nodeClass);

// A read-only view over a canned expression. The constructor checks the header; every read
// checks its bounds and raises EDatabaseError "Invalid filter expression data" rather than
// reading outside the buffer, so buffers from elsewhere are safe to inspect.
class KEL_PLATFORM_EXPORT TCannedExpr {
 public:
  TCannedExpr() = default;
  explicit TCannedExpr(QByteArray data);

  bool IsEmpty() const { return data_.isEmpty(); }
  const QByteArray& Data() const { return data_; }
  int Size() const { return static_cast<int>(data_.size()); }
  int NodeAreaOffset() const { return nodeArea_; }
  int LiteralAreaOffset() const { return literalArea_; }
  int NodeCount() const { return nodeCount_; }

  TCanNode Root() const { return NodeAt(0); }
  TCanNode NodeAt(int nodeOffset) const;
  // A NUL-ended UTF-8 text of the literal area.
  QString LiteralText(int literalOffset) const;
  QString FieldName(const TCanNode& node) const { return LiteralText(node.NameOffset()); }
  QString FunctionName(const TCanNode& node) const { return LiteralText(node.FuncNameOffset()); }
  // The value of a constant node by its data type (Null for unknown types).
  Variant ConstValue(const TCanNode& node) const;

 private:
  const char* LiteralBytes(int literalOffset, int size) const;
  [[noreturn]] static void Invalid();

  QByteArray data_;
  int nodeArea_ = 0;
  int literalArea_ = 0;
  int nodeCount_ = 0;
};

// Conversions between date-time numbers and the constant encodings.
KEL_PLATFORM_EXPORT int32_t DateToCanDate(TDateTime value);  // day number from 1 January 0001
KEL_PLATFORM_EXPORT TDateTime CanDateToDate(int32_t dayNumber);
KEL_PLATFORM_EXPORT int32_t TimeToCanTime(TDateTime value);  // milliseconds of the time of day
KEL_PLATFORM_EXPORT TDateTime CanTimeToTime(int32_t msecs);
// milliseconds since 1 January 0001
KEL_PLATFORM_EXPORT double DateTimeToCanTimeStamp(TDateTime value);
KEL_PLATFORM_EXPORT TDateTime CanTimeStampToDateTime(double msecs);

}  // namespace Kel
