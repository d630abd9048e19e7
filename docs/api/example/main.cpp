// A window with a filter box over the sample table of fish: each condition the user adds or
// edits filters the table at once, and the line below shows how many fish are left.
#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

#include "DBTables.h"
#include "KelFltBox.h"
#include "KelTranslate.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Kel::InstallTranslations(QLocale::system());  // the library's texts in the user's language
  Kel::TTable fish;
  fish.SetDatabaseName("DBDEMOS");  // the sample alias (or one of your aliases.ini)
  fish.SetTableName("biolife");
  fish.Open();

  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* conditions = new Kel::TKelFltBox(&window);
  auto* result = new QLabel(&window);
  layout->addWidget(conditions);
  layout->addWidget(result);
  conditions->SetHookFilterProp(true);  // write the conditions into the table's Filter
  conditions->SetDataSet(&fish);
  conditions->OnChange = [&](Kel::TKelPrmListBox*) {
    result->setText(QString("%1 fish: %2").arg(fish.RecordCount()).arg(conditions->FilterStr()));
  };
  window.show();
  return app.exec();
}
