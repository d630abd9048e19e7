#pragma once
// Conversion of component streams between the binary form and the readable text form:
//
//   object [Name: ]TClassName [ [childPos] ]      ("inherited" / "inline" for those flags)
//     Prop = 42
//     Ratio = 2.5                                  (floats: "." decimal point)
//     Amount = 1234.5678                           (currency)
//     Text = 'O''Brien '#228'x'                    (quoted runs, #nnn for characters outside
//     Long = 'abc...' +                             printable ASCII, long strings split
//       'def'                                       over lines joined by +)
//     Kind = hkThree                               (identifier)
//     Kinds = [hkOne, hkThree]                     (set)
//     Data = { 0A0B0C }                            (binary, 32 bytes a line)
//     Lines.Strings = (
//       'first'
//       'second')                                  (list)
//     P = <
//       item
//         Name = 'x'
//       end>                                       (collection; "item [n]" with an order)
//     object Child: TOther
//     end
//   end
//
// Singles carry the suffix "s" and dates "d"; the reader also takes "c" (the number is the
// currency value x 10000). Two blanks indent each level; lines end with CR LF. Infinities and
// NaNs, which decimal text cannot spell, are written as the identifiers INF, -INF and NAN and
// read back as floats. Binary -> text -> binary gives the same values.
//
// Errors: a damaged binary stream raises EReadError as TReader does; text that does not parse
// raises EReadError "<what> on line <n>".

#include "PlatformExport.h"

namespace Kel {

class TStream;

KEL_PLATFORM_EXPORT void ObjectBinaryToText(TStream& input, TStream& output);
KEL_PLATFORM_EXPORT void ObjectTextToBinary(TStream& input, TStream& output);

}  // namespace Kel
