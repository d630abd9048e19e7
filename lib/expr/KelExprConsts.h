#pragma once
// The user-visible texts of the expression engine, each with its fixed resource number; calling
// one gives it through TranslateText.

#include <QString>

#include "KelTranslate.h"

namespace Kel {

struct TKelResourceText {
  int Id;
  const char* Text;
  QString operator()() const { return TranslateText(Text); }
};

namespace KelExprText {
inline constexpr TKelResourceText EmptyFilter{
    65209, QT_TRANSLATE_NOOP("Kel", "You can not activate filter with empty filter condition.")};
inline constexpr TKelResourceText NoMatchingRecords{
    65210, QT_TRANSLATE_NOOP("Kel", "There are no records that match the search criteria.")};
inline constexpr TKelResourceText EndReached{
    65211, QT_TRANSLATE_NOOP(
               "Kel", "The end of the table is reached and no matching records were found.")};
inline constexpr TKelResourceText BeginReached{
    65212, QT_TRANSLATE_NOOP(
               "Kel", "The begin of the table is reached and no matching record were found.")};
inline constexpr TKelResourceText ContinueFromBegin{
    65213,
    QT_TRANSLATE_NOOP("Kel", " Do you want to continue search from the begining of the table?")};
inline constexpr TKelResourceText ContinueFromEnd{
    65214, QT_TRANSLATE_NOOP("Kel", " Do you want to continue search from the end of the table?")};
inline constexpr TKelResourceText BadFilter{65216, QT_TRANSLATE_NOOP("Kel", "Bad filter.")};
}  // namespace KelExprText

}  // namespace Kel
