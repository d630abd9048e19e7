#pragma once
// The user-visible texts of the expression engine, each with its fixed resource number.

#include <QString>

namespace Kel {

struct TKelResourceText {
  int Id;
  const char* Text;
  QString operator()() const { return QString::fromUtf8(Text); }
};

namespace KelExprText {
inline constexpr TKelResourceText EmptyFilter{
    65209, "You can not activate filter with empty filter condition."};
inline constexpr TKelResourceText NoMatchingRecords{
    65210, "There are no records that match the search criteria."};
inline constexpr TKelResourceText EndReached{
    65211, "The end of the table is reached and no matching records were found."};
inline constexpr TKelResourceText BeginReached{
    65212, "The begin of the table is reached and no matching record were found."};
inline constexpr TKelResourceText ContinueFromBegin{
    65213, " Do you want to continue search from the begining of the table?"};
inline constexpr TKelResourceText ContinueFromEnd{
    65214, " Do you want to continue search from the end of the table?"};
inline constexpr TKelResourceText BadFilter{65216, "Bad filter."};
}  // namespace KelExprText

}  // namespace Kel
