// Uses a few units by their unit names, the way a consumer of the installed library does: free
// functions, a collection class, and the meta objects that moc writes for the library's classes
// and enumerations (which must be exported along with them).
#include <QCoreApplication>
#include <QMetaEnum>
#include <cstdio>

#include "DBTypes.h"
#include "KelClasses.h"
#include "Variant.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  Kel::TKelFields fields;
  Kel::ParseParams(&fields, "Category = :Cat", true);
  fields.Items(0)->SetAsString("Shark");
  const QString text = Kel::SubstituteParams("Category = :Cat", &fields);
  std::printf("%s\n", qPrintable(text));
  const bool metaObjects =
      qobject_cast<Kel::TKelField*>(fields.Items(0)) != nullptr &&
      fields.metaObject()->inherits(&Kel::TCollection::staticMetaObject) &&
      QMetaEnum::fromType<Kel::DB::TFieldType>().valueToKey(Kel::DB::ftDate) == QByteArray("ftDate");
  return text == "Category = 'Shark'" && metaObjects ? 0 : 1;
}
