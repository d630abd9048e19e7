#pragma once
// String and list helpers of the core unit, used by the expression engine, the filter box and the
// demonstration windows: name=value halves, list subtraction, splitting texts into lists, the
// "[name with blanks]" list form, and the text of a shift state.

#include <QString>
#include <QStringList>

#include "ShiftState.h"
#include "Strings.h"

namespace Kel {

// Replaces each entry by its part before (after == false) or after the first separator. Entries
// without the separator, and entries whose part would be empty, stay as they are.
void NameValuePart(TStrings& list, const QString& separator, bool after);
void NameValuePart(TStrings& list, bool after);  // separator "="

// Removes from list every entry that other contains (other's IndexOf decides), last to first.
void RemoveListed(TStrings& list, const TStrings& other);

// Copies source's entries into target (nullptr clears it; a list given itself stays).
void AssignStrings(TStrings& target, const TStrings* source);

// Clears list and adds the texts in order, as one change for its observers.
void SetStrings(TStrings& list, const QStringList& texts);

// Adds to list the pieces of text cut at each separator character (an empty text adds one empty
// piece; n separators give n + 1 pieces).
void SplitText(const QString& text, QChar separator, TStrings& list);

// With "=" in s: name is the text before the first "=", value the text after it. Without: name is
// empty and value is s.
void SplitNameValue(const QString& s, QString& name, QString& value);

// list becomes the pieces of text cut at ",", each trimmed; a piece starting with "[" loses its
// first and last character. An empty text gives an empty list.
void ParseNameList(const QString& text, TStrings& list);
// The entries joined by ", ", an entry holding a blank enclosed in "[" and "]".
QString FormatNameList(const TStrings& list);

// "[" + the names of the members among Shift, Alt, Ctrl, Left, Right, Middle, Double (in that
// order) joined by "," + "]".
QString ShiftStateText(TShiftState shift);

}  // namespace Kel
