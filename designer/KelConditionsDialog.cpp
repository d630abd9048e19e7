#include "KelConditionsDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <exception>

#include "DataSourceDlg.h"

namespace Kel::Designer {

TKelConditionsDialog::TKelConditionsDialog(const TKelFltBox* designed, QWidget* parent)
    : QDialog(parent),
      table_(std::make_unique<TTable>()),
      source_(new QLabel(this)),
      editor_(new TKelFltBox(this)),
      filterText_(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Edit Conditions of %1").arg(designed->objectName()));
  auto* choose = new QPushButton(QStringLiteral("Choose Table..."), this);
  connect(choose, &QPushButton::clicked, this, [this] { ChooseTable(); });
  filterText_->setReadOnly(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QGridLayout(this);
  layout->addWidget(source_, 0, 0);
  layout->addWidget(choose, 0, 1);
  layout->addWidget(editor_, 1, 0, 1, 2);
  layout->addWidget(new QLabel(QStringLiteral("Filter:"), this), 2, 0, 1, 2);
  layout->addWidget(filterText_, 3, 0, 1, 2);
  layout->addWidget(buttons, 4, 0, 1, 2);
  layout->setRowStretch(1, 1);
  resize(560, 340);

  // The editor reads the designed box's settings; it never writes into the sample table.
  editor_->SetAllowedUsageIDs(designed->AllowedUsageIDs());
  editor_->SetExcludeBlobs(designed->ExcludeBlobs());
  editor_->SetAddTableNames(designed->AddTableNames());
  editor_->SetHookFilterProp(false);
  editor_->SetHookSQLProp(false);
  editor_->SetItemsText(designed->ItemsText());
  editor_->OnChange = [this](TKelPrmListBox*) { UpdateFilterText(); };
  OpenSample(QString::fromLatin1(KelDataSourceDlgText::DefaultAlias),
             QString::fromLatin1(KelDataSourceDlgText::DefaultTable));
}

TKelConditionsDialog::~TKelConditionsDialog() {
  // The box goes before the table it is bound to.
  editor_->SetDataSet(nullptr);
}

void TKelConditionsDialog::OpenSample(const QString& alias, const QString& tableName) {
  editor_->SetDataSet(nullptr);
  table_->Close();
  table_->SetDatabaseName(alias);
  table_->SetTableName(tableName);
  try {
    table_->Open();
    editor_->SetDataSet(table_.get());
    source_->setText(QStringLiteral("Fields of %1 in %2").arg(tableName, alias));
  } catch (const std::exception& e) {
    source_->setText(QStringLiteral("No sample table (%1): choose one to add conditions.")
                         .arg(QString::fromUtf8(e.what())));
  }
  UpdateFilterText();
}

void TKelConditionsDialog::ChooseTable() {
  QString fieldName;
  editor_->SetDataSet(nullptr);
  try {
    if (ExecuteDataSourceDlg(table_.get(), false, fieldName, this)) {
      OpenSample(table_->DatabaseName(), table_->TableName());
      return;
    }
  } catch (const std::exception& e) {
    source_->setText(QString::fromUtf8(e.what()));
  }
  if (table_->Active()) editor_->SetDataSet(table_.get());
}

void TKelConditionsDialog::UpdateFilterText() {
  try {
    filterText_->setText(editor_->FilterStr());
  } catch (const std::exception& e) {
    filterText_->setText(QString::fromUtf8(e.what()));
  }
}

}  // namespace Kel::Designer
