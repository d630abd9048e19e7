#pragma once
// String and list helpers of the core unit, used by the expression engine, the filter box and the
// demonstration windows: name=value halves, list subtraction, splitting texts into lists, the
// "[name with blanks]" list form, and the text of a shift state.

#include <QString>
#include <QStringList>

#include "KelExport.h"
#include "ShiftState.h"
#include "Strings.h"

namespace Kel {

// Replaces each entry by its part before (after == false) or after the first separator. Entries
// without the separator, and entries whose part would be empty, stay as they are.
KEL_EXPORT void NameValuePart(TStrings& list, const QString& separator, bool after);
KEL_EXPORT void NameValuePart(TStrings& list, bool after);  // separator "="

// Removes from list every entry that other contains (other's IndexOf decides), last to first.
KEL_EXPORT void RemoveListed(TStrings& list, const TStrings& other);

// Copies source's entries into target (nullptr clears it; a list given itself stays).
KEL_EXPORT void AssignStrings(TStrings& target, const TStrings* source);

// Clears list and adds the texts in order, as one change for its observers.
KEL_EXPORT void SetStrings(TStrings& list, const QStringList& texts);

// Adds to list the pieces of text cut at each separator character (an empty text adds one empty
// piece; n separators give n + 1 pieces).
KEL_EXPORT void SplitText(const QString& text, QChar separator, TStrings& list);

// With "=" in s: name is the text before the first "=", value the text after it. Without: name is
// empty and value is s.
KEL_EXPORT void SplitNameValue(const QString& s, QString& name, QString& value);

// list becomes the pieces of text cut at ",", each trimmed; a piece starting with "[" loses its
// first and last character. An empty text gives an empty list.
KEL_EXPORT void ParseNameList(const QString& text, TStrings& list);
// The entries joined by ", ", an entry holding a blank enclosed in "[" and "]".
KEL_EXPORT QString FormatNameList(const TStrings& list);

// "[" + the names of the members among Shift, Alt, Ctrl, Left, Right, Middle, Double (in that
// order) joined by "," + "]".
KEL_EXPORT QString ShiftStateText(TShiftState shift);

}  // namespace Kel
