// Uses a few units by their unit names, the way a consumer of the installed library does.
#include <QCoreApplication>
#include <cstdio>

#include "KelClasses.h"
#include "Variant.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  Kel::TKelFields fields;
  Kel::ParseParams(&fields, "Category = :Cat", true);
  fields.Items(0)->SetAsString("Shark");
  const QString text = Kel::SubstituteParams("Category = :Cat", &fields);
  std::printf("%s\n", qPrintable(text));
  return text == "Category = 'Shark'" ? 0 : 1;
}
