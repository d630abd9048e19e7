#pragma once
// TExprParser: the filter-expression parser of the dataset layer. It reads a condition text
// against a dataset's fields (names and types) and turns it into a canned expression
// (CannedExpr.h), or raises EExprParserError (an EDatabaseError) with a message; it never
// accepts a text half-way.
//
// The condition language:
//   condition = conj { OR conj }          conj = neg { AND neg }       neg = [ NOT ] rel
//   rel  = sum [ (= | <> | < | > | <= | >=) sum | LIKE sum | IS [NOT] NULL
//               | IN "(" condition { "," condition } ")" ]
//   sum  = term { (+ | -) term }          term = factor { (* | /) factor }
//   factor = function "(" [ condition { "," condition } ] ")" | NULL | TRUE | FALSE
//          | field | string | number | "(" condition ")"
// Keywords ignore letter case. Strings are single-quoted ('' is a quote; only the first 256
// characters count). Fields are identifiers (a letter, "_" or a character from code 129 on,
// then also digits) or any text in square brackets; names are found ignoring case and the
// dataset's spelling goes into the expression. A number starts with a digit, or with "-" where
// no value stands before it, and runs over digits, "+", "-", ".", "E" and "e"; "." is always its
// decimal point. One "/* ... */" comment may stand before each token. Arithmetic and functions
// need poExtSyntax; "COUNT(*)" is a function named COUNT(*).
//
// Constants are typed against what they are compared with (=, <>, <, >, <=, >=, IN):
//  - a number against an integer field is a 32-bit integer when it is whole and fits, else a
//    float; against a float, currency or BCD field always a float; elsewhere by its form;
//  - a string against a numeric field becomes that number ("Type mismatch in expression" when
//    it is none); against a Boolean field "True"/"False" become Boolean constants (other text
//    is a mismatch);
//  - a string against a date, time or date-time field becomes a date, time or time-stamp
//    constant when it reads as one in the current format (a date field also takes a date with
//    a time, as a time stamp); text that reads as none is refused ("'x' is not a valid date").
// AND, OR and NOT refuse string, date and time operands ("Type mismatch in expression").
//
// Options: foCaseInsensitive makes string comparisons ignore case: =, <> and LIKE become compare
// nodes with the case-insensitive flag, the ordering comparisons compare upper-cased operands,
// IN compares upper-cased values. A string constant ending in "*" (more than the "*" alone)
// compared by = or <> with a string makes a partial comparison (a compare node, "begins with"),
// unless foNoPartialCompare is set.

#include <QByteArray>
#include <QString>
#include <vector>

#include "CannedExpr.h"
#include "DBTypes.h"
#include "PlatformExport.h"

namespace Kel {

class TDataSet;

// What the parser needs to know of a field.
struct TExprFieldInfo {
  QString Name;
  TFieldType DataType = ftUnknown;
};

class KEL_PLATFORM_EXPORT TExprParser {
 public:
  // Parses text against the fields of dataSet (which need not be open).
  TExprParser(const TDataSet* dataSet, const QString& text, TFilterOptions options = {},
              TParserOptions parserOptions = {});
  // Parses text against a list of fields; a field's number is its position in the list + 1.
  TExprParser(std::vector<TExprFieldInfo> fields, const QString& text, TFilterOptions options = {},
              TParserOptions parserOptions = {});

  // The canned expression.
  const QByteArray& FilterData() const { return data_; }
  int DataSize() const { return static_cast<int>(data_.size()); }
  TCannedExpr Expression() const { return TCannedExpr(data_); }

  const QString& Text() const { return text_; }
  TFilterOptions FilterOptions() const { return options_; }
  TParserOptions ParserOptions() const { return parserOptions_; }
  const std::vector<TExprFieldInfo>& Fields() const { return fields_; }

  // The fields of a dataset as the parser sees them.
  static std::vector<TExprFieldInfo> FieldInfoOf(const TDataSet& dataSet);

 private:
  void Parse();

  std::vector<TExprFieldInfo> fields_;
  QString text_;
  TFilterOptions options_;
  TParserOptions parserOptions_;
  QByteArray data_;
};

}  // namespace Kel
