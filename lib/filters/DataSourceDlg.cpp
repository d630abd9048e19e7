#include "DataSourceDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>

#include "Buttons.h"
#include "DBTables.h"
#include "Exceptions.h"
#include "Fields.h"
#include "Forms.h"
#include "KelBtPan.h"
#include "KelEventErrors.h"
#include "KelTranslate.h"
#include "MessageBeep.h"

namespace Kel {

namespace {

// Closes the probe on every way out, also when opening it failed.
struct TProbeCloser {
  TTable* table;
  ~TProbeCloser() { table->Close(); }
};

}  // namespace

TKelDataSourceDlg::TKelDataSourceDlg(QWidget* parent)
    : QDialog(parent), table_(std::make_unique<TTable>()) {
  setWindowTitle(TranslateText(KelDataSourceDlgText::Caption));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  CreateControls();
  FormCreate();
}

TKelDataSourceDlg::~TKelDataSourceDlg() = default;

void TKelDataSourceDlg::CreateControls() {
  using namespace KelDataSourceDlgText;
  // Positions for the 13-pixel dialog font, scaled with the dialog's own.
  const auto s = [this](int pixels) { return ScaleByFont(pixels, this); };
  setFixedSize(s(245), s(192));
  Label1 = new QLabel(TranslateText(SelectAlias), this);
  Label1->setGeometry(s(8), s(8), s(229), s(16));
  AliasEdit = new QComboBox(this);
  AliasEdit->setObjectName(QStringLiteral("AliasEdit"));
  AliasEdit->setEditable(true);
  AliasEdit->setInsertPolicy(QComboBox::NoInsert);
  AliasEdit->setGeometry(s(8), s(26), s(203), s(23));
  Label1->setBuddy(AliasEdit);
  SpeedButton1 = new TSpeedButton(this);
  SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
  SpeedButton1->SetCaption(QStringLiteral("..."));
  SpeedButton1->setToolTip(TranslateText(AliasHint));
  SpeedButton1->setGeometry(s(214), s(26), s(23), s(23));
  SpeedButton1->OnClick = [this](QObject*) {
    RunEventHandler(this, [this] { SpeedButton1Click(); });
  };
  Label2 = new QLabel(TranslateText(SelectTable), this);
  Label2->setGeometry(s(8), s(56), s(229), s(16));
  TableNameEdit = new QComboBox(this);
  TableNameEdit->setObjectName(QStringLiteral("TableNameEdit"));
  TableNameEdit->setEditable(true);
  TableNameEdit->setInsertPolicy(QComboBox::NoInsert);
  TableNameEdit->setGeometry(s(8), s(74), s(229), s(23));
  Label2->setBuddy(TableNameEdit);
  Label3 = new QLabel(TranslateText(SelectField), this);
  Label3->setGeometry(s(8), s(104), s(229), s(16));
  FieldNameEdit = new QComboBox(this);
  FieldNameEdit->setObjectName(QStringLiteral("FieldNameEdit"));
  FieldNameEdit->setGeometry(s(8), s(122), s(229), s(23));
  Label3->setBuddy(FieldNameEdit);
  KelBtnPanel = new TKelBtnPanel(this);
  KelBtnPanel->setObjectName(QStringLiteral("KelBtnPanel"));
  KelBtnPanel->setFrameStyle(QFrame::NoFrame);
  KelBtnPanel->setGeometry(0, s(152), s(245), s(40));
  KelBtnPanel->SetDefButtons(pbOkCancel);
  // OK and Cancel close the dialog with their modal results. The session's lists are read from
  // the signals: a database error goes to the event-error handler, not into Qt's event loop.
  connect(AliasEdit, &QComboBox::editTextChanged, this,
          [this] { RunEventHandler(this, [this] { AliasEditChange(); }); });
  TableNameEdit->installEventFilter(this);
  if (TableNameEdit->lineEdit()) TableNameEdit->lineEdit()->installEventFilter(this);
  connect(TableNameEdit, &QComboBox::activated, this,
          [this] { RunEventHandler(this, [this] { TableNameEditExitInteractive(); }); });
}

void TKelDataSourceDlg::FormCreate() {
  using namespace KelDataSourceDlgText;
  const QSignalBlocker blocker(AliasEdit);
  AliasEdit->clear();
  AliasEdit->addItems(Session().AliasNames());
  AliasEdit->setEditText(QString::fromLatin1(DefaultAlias));
  AliasEditChange();
  TableNameEdit->setEditText(QString::fromLatin1(DefaultTable));
}

void TKelDataSourceDlg::AliasEditChange() {
  const QString alias = AliasEdit->currentText();
  QStringList tables;
  // The user may be in the middle of typing a name: an unknown alias simply lists no tables.
  if (Session().IsAlias(alias)) {
    try {
      TStringList list;
      Session().GetTableNames(alias, QString(), true, false, &list);
      tables = list.ToStringList();
    } catch (const Exception&) {
      tables.clear();
    }
  }
  const QString table = TableNameEdit->currentText();
  TableNameEdit->clear();
  TableNameEdit->addItems(tables);
  TableNameEdit->setEditText(tables.contains(table) ? table : tables.value(0));
}

void TKelDataSourceDlg::ListFieldsOfProbe() {
  table_->Close();
  table_->SetDatabaseName(AliasEdit->currentText());
  table_->SetTableName(TableNameEdit->currentText());
  TProbeCloser closer{table_.get()};
  table_->Open();
  for (int i = 0; i < table_->FieldCount(); ++i)
    FieldNameEdit->addItem(table_->Fields().Fields(i)->FieldName());
}

void TKelDataSourceDlg::TableNameEditExit() {
  if (!FieldNameEdit->isEnabled()) return;
  if (TableNameEdit->currentText().isEmpty() || AliasEdit->currentText().isEmpty()) return;
  FieldNameEdit->clear();
  ListFieldsOfProbe();
  FieldNameEdit->setCurrentIndex(FieldNameEdit->count() > 0 ? 0 : -1);
}

void TKelDataSourceDlg::TableNameEditExitInteractive() {
  try {
    TableNameEditExit();
  } catch (const Exception&) {
    FieldNameEdit->clear();
    MessageBeep();
  }
}

void TKelDataSourceDlg::PreselectField(const QString& fieldName) {
  FieldNameEdit->clear();
  ListFieldsOfProbe();
  FieldNameEdit->setCurrentIndex(
      FieldNameEdit->findText(fieldName, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

bool TKelDataSourceDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut &&
      (watched == TableNameEdit || watched == TableNameEdit->lineEdit()) &&
      !TableNameEdit->isAncestorOf(QApplication::focusWidget()))
    RunEventHandler(this, [this] { TableNameEditExitInteractive(); });
  return QDialog::eventFilter(watched, event);
}

bool ExecuteDataSourceDlg(TTable* table, bool withField, QString& fieldName, QWidget* parent) {
  if (!table) return false;
  TKelDataSourceDlg dialog(parent);
  dialog.AliasEdit->setEditText(table->DatabaseName());
  dialog.TableNameEdit->setEditText(table->TableName());
  dialog.TableNameEditExit();
  dialog.FieldNameEdit->setEnabled(withField);
  dialog.TableNameEditExit();
  if (withField) dialog.PreselectField(fieldName);
  if (dialog.exec() != QDialog::Accepted) return false;
  table->Close();
  table->SetDatabaseName(dialog.AliasEdit->currentText());
  table->SetTableName(dialog.TableNameEdit->currentText());
  if (withField) fieldName = dialog.FieldNameEdit->currentText();
  table->SetFilter(QString());
  table->SetFiltered(false);
  table->Open();
  return true;
}

}  // namespace Kel
