// The library on Qt's model/view: a QTableView over a QSqlTableModel of the sample database, a
// filter box above it that sets the model's WHERE (its values bound, never written into the
// SQL), a colour rule and the four search buttons.
//
//   kelmodelview [--database FILE] [--dark] [--screenshot FILE.png]
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QSqlDatabase>
#include <QSqlError>
#include <QStyleFactory>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "KelFltBox.h"
#include "KelGridColors.h"
#include "KelModels.h"

using namespace Kel;

namespace {

QPalette DarkPalette() {
  QPalette p(QColor(53, 53, 53));
  p.setColor(QPalette::Base, QColor(35, 35, 35));
  for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
    p.setColor(role, QColor(230, 230, 230));
  p.setColor(QPalette::Highlight, QColor(42, 130, 218));
  return p;
}

// Two sample conditions: what the box shows first.
void AddSampleConditions(TKelFltBox& box) {
  TKelFltItem* category = box.FltItems()->Add();
  category->SetDataField("Category");
  category->SetTemplate("is (exactly)");
  category->SetValue(QString("Shark"));
  category->SetOperation("or");
  TKelFltItem* name = box.FltItems()->Add();
  name->SetDataField("Common_Name");
  name->SetTemplate("contains");
  name->SetValue(QString("Eagle"));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCommandLineParser options;
  options.addHelpOption();
  options.addOption({"database", "The sample database file.", "file",
                     QApplication::applicationDirPath() + "/data/dbdemos.sqlite"});
  options.addOption({"dark", "Shows the window in a dark palette."});
  options.addOption({"screenshot", "Renders the window to a PNG file and exits.", "file"});
  options.process(app);
  const bool dark = options.isSet("dark");
  if (dark) {
    app.setStyle(QStyleFactory::create("Fusion"));
    app.setPalette(DarkPalette());
  }

  QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE");
  db.setDatabaseName(options.value("database"));
  if (!db.open()) {
    QMessageBox::critical(nullptr, "kelmodelview", db.lastError().text());
    return 1;
  }

  QWidget window;
  window.setWindowTitle("Kel on Qt model/view: biolife");
  auto* box = new TKelFltBox(&window);
  box->SetAllowedUsageIDs("0;1;2;3");  // the LIKE templates too: the database runs them

  // The model: Qt's table model with a WHERE that the box writes, its values bound.
  auto* model = new TKelSqlTableModel(&window, db);
  model->setTable("biolife");
  model->Fields()->SetTypeHint("Graphic", ftGraphic);
  model->select();
  model->SetFilterBox(box);
  AddSampleConditions(*box);

  auto* view = new QTableView(&window);
  view->setModel(model);
  view->hideColumn(model->fieldIndex("Notes"));
  view->hideColumn(model->fieldIndex("Graphic"));
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->verticalHeader()->hide();
  view->setWordWrap(false);
  view->resizeColumnsToContents();
  view->horizontalHeader()->setStretchLastSection(true);

  // A colour rule over the view's rows: the long ones.
  TKelGridColors colors;
  TKelRecordSetStyle* rule = colors.RecordsInfo()->Add();
  rule->SetFilter("[Length (cm)] >= 200");
  rule->SetColor(RGB(255, 236, 170));
  rule->SetActive(true);
  auto* delegate = new TKelColorDelegate(view);
  delegate->SetGridColors(&colors);
  view->setItemDelegate(delegate);

  // Search over the view with the box's conditions.
  TKelViewSearch search(view);
  search.SetSearchInLoop(true);
  auto* buttons = new QHBoxLayout;
  const std::pair<const char*, bool (TKelViewSearch::*)()> finds[] = {
      {"Find first", &TKelViewSearch::FindFirst}, {"Find next", &TKelViewSearch::FindNext},
      {"Find prior", &TKelViewSearch::FindPrior}, {"Find last", &TKelViewSearch::FindLast}};
  for (const auto& [caption, find] : finds) {
    auto* button = new QToolButton(&window);
    button->setText(caption);
    QObject::connect(button, &QToolButton::clicked, &window, [&search, box, find = find] {
      search.SetExpression(box->Expression());
      (search.*find)();
    });
    buttons->addWidget(button);
  }
  auto* count = new QLabel(&window);
  const auto showCount = [model, count] { count->setText(QString("%1 fish").arg(model->rowCount())); };
  QObject::connect(model, &QAbstractItemModel::modelReset, count, showCount);
  showCount();
  buttons->addStretch();
  buttons->addWidget(count);

  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(box, 1);
  layout->addLayout(buttons);
  layout->addWidget(view, 3);
  window.resize(860, 560);
  search.SetExpression(box->Expression());
  search.FindFirst();

  if (options.isSet("screenshot")) {
    window.show();
    QApplication::processEvents();
    const QString file = options.value("screenshot");
    QDir().mkpath(QFileInfo(file).absolutePath());
    return window.grab().save(file) ? 0 : 1;
  }
  window.show();
  return app.exec();
}
