#include "KelModelFields.h"

#include <QAbstractItemModel>
#include <QDate>
#include <QDateTime>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTime>

#include "KelDB.h"
#include "KelFields.h"
#include "KelFltFields.h"
#include "QtValues.h"
#include "UpdateBracket.h"

namespace Kel {

namespace {

// What text says of its type: ISO dates, date-times and times (as SQLite keeps them) or text;
// nothing for an empty text.
TFieldType TypeOfText(const QString& text) {
  if (text.isEmpty()) return ftUnknown;
  if (text.size() == 10 && QDate::fromString(text, Qt::ISODate).isValid()) return ftDate;
  if (text.size() >= 19 && (text[10] == u' ' || text[10] == u'T')) {
    QString iso = text;
    iso[10] = u'T';
    if (QDateTime::fromString(iso, Qt::ISODate).isValid()) return ftDateTime;
  }
  if ((text.size() == 5 || text.size() >= 8) && text[2] == u':' &&
      QTime::fromString(text, Qt::ISODate).isValid())
    return ftTime;
  return ftString;
}

// The type that holds values of both types.
TFieldType Merged(TFieldType a, TFieldType b) {
  if (a == ftUnknown || a == b) return b;
  if (b == ftUnknown) return a;
  const auto number = [](TFieldType t) { return t == ftInteger || t == ftLargeint || t == ftFloat; };
  if (number(a) && number(b)) return a == ftFloat || b == ftFloat ? ftFloat : ftLargeint;
  if ((a == ftDate && b == ftDateTime) || (a == ftDateTime && b == ftDate)) return ftDateTime;
  if (a == ftBlob || b == ftBlob) return ftBlob;
  return ftString;
}

QString UniqueName(QString name, const std::vector<QString>& taken) {
  const auto used = [&taken](const QString& candidate) {
    for (const QString& other : taken)
      if (other.compare(candidate, Qt::CaseInsensitive) == 0) return true;
    return false;
  };
  if (!used(name)) return name;
  for (int n = 1;; ++n)
    if (const QString candidate = name + u'_' + QString::number(n); !used(candidate)) return candidate;
}

}  // namespace

TKelModelFields::TKelModelFields(QObject* parent) : QObject(parent) {}

TKelModelFields::~TKelModelFields() = default;

void TKelModelFields::SetModel(QAbstractItemModel* model) {
  if (model == model_) return;
  for (const QMetaObject::Connection& connection : connections_) disconnect(connection);
  connections_.clear();
  model_ = model;
  Watch();
  Refresh();
}

void TKelModelFields::Watch() {
  if (!model_) return;
  const auto refresh = [this] { Refresh(); };
  QAbstractItemModel* m = model_;
  connections_ = {
      connect(m, &QAbstractItemModel::modelReset, this, refresh),
      connect(m, &QAbstractItemModel::columnsInserted, this, refresh),
      connect(m, &QAbstractItemModel::columnsRemoved, this, refresh),
      connect(m, &QAbstractItemModel::columnsMoved, this, refresh),
      connect(m, &QAbstractItemModel::headerDataChanged, this,
              [this](Qt::Orientation orientation) {
                if (orientation == Qt::Horizontal) Refresh();
              }),
      connect(m, &QAbstractItemModel::rowsInserted, this, [this] { RowsArrived(); }),
      connect(m, &QObject::destroyed, this, refresh),
  };
}

void TKelModelFields::RowsArrived() {
  if (typesFromNoRows_) Refresh();
}

void TKelModelFields::SetTypeHint(const QString& name, TFieldType type) {
  if (type == ftUnknown)
    hints_.remove(name.toLower());
  else
    hints_.insert(name.toLower(), type);
  Refresh();
}

void TKelModelFields::SetSampleRows(int rows) {
  if (rows == sampleRows_) return;
  sampleRows_ = std::max(0, rows);
  Refresh();
}

void TKelModelFields::SetValueRole(int role) {
  if (role == valueRole_) return;
  valueRole_ = role;
  Refresh();
}

void TKelModelFields::Refresh() {
  std::vector<Column> columns = ReadColumns(typesFromNoRows_);
  if (columns == columns_) return;
  columns_ = std::move(columns);
  emit Changed();
}

std::vector<TKelModelFields::Column> TKelModelFields::ReadColumns(bool& fromNoRows) const {
  std::vector<Column> columns;
  fromNoRows = false;
  if (!model_) return columns;
  const auto* sql = qobject_cast<const QSqlQueryModel*>(model_.data());
  const auto* table = qobject_cast<const QSqlTableModel*>(model_.data());
  const QSqlRecord record = sql ? sql->record() : QSqlRecord();
  const QSqlDriver* driver = table ? table->database().driver()
                             : sql ? sql->query().driver()
                                   : nullptr;
  std::vector<QString> names;
  const int count = model_->columnCount();
  for (int c = 0; c < count; ++c) {
    Column column;
    column.Label = model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    QString name = c < record.count() ? record.fieldName(c) : column.Label;
    if (name.trimmed().isEmpty()) name = QStringLiteral("Column%1").arg(c + 1);
    column.Name = UniqueName(name, names);
    names.push_back(column.Name);
    if (column.Label.isEmpty()) column.Label = column.Name;
    if (driver && c < record.count())
      column.SqlName = driver->escapeIdentifier(record.fieldName(c), QSqlDriver::FieldName);

    column.Type = hints_.value(column.Name.toLower(), ftUnknown);
    if (column.Type == ftUnknown && c < record.count())
      column.Type = FieldTypeOfQtType(record.field(c).metaType().id());
    if (column.Type == ftUnknown || column.Type == ftString) {
      const TFieldType inferred = InferredType(c);
      // A text column of an SQL table may hold dates, times or bytes; numbers in it stay text.
      if (column.Type == ftUnknown || IsDateTimeFieldType(inferred) || inferred == ftBlob)
        column.Type = inferred;
      if (inferred == ftUnknown && model_->rowCount() == 0) fromNoRows = true;
    }
    if (column.Type == ftUnknown) column.Type = ftString;
    columns.push_back(column);
  }
  return columns;
}

QVariant TKelModelFields::RawValue(int row, int column) const {
  const QModelIndex index = model_->index(row, column);
  QVariant value = model_->data(index, valueRole_);
  if (!value.isValid() && valueRole_ != Qt::DisplayRole) value = model_->data(index, Qt::DisplayRole);
  return value;
}

TFieldType TKelModelFields::InferredType(int column) const {
  TFieldType type = ftUnknown;
  const int rows = std::min(model_->rowCount(), sampleRows_);
  for (int row = 0; row < rows; ++row) {
    const QVariant value = RawValue(row, column);
    if (!value.isValid() || value.isNull()) continue;
    TFieldType own = FieldTypeOfQtType(value.typeId());
    if (own == ftString) own = TypeOfText(value.toString());
    if (own == ftUnknown && value.typeId() != QMetaType::QString) own = ftString;
    type = Merged(type, own);
  }
  return type;
}

int TKelModelFields::Count() const { return static_cast<int>(columns_.size()); }

QString TKelModelFields::Name(int column) const {
  return column >= 0 && column < Count() ? columns_[static_cast<size_t>(column)].Name : QString();
}

QString TKelModelFields::Label(int column) const {
  return column >= 0 && column < Count() ? columns_[static_cast<size_t>(column)].Label : QString();
}

TFieldType TKelModelFields::DataType(int column) const {
  return column >= 0 && column < Count() ? columns_[static_cast<size_t>(column)].Type : ftUnknown;
}

QString TKelModelFields::SqlName(int column) const {
  return column >= 0 && column < Count() ? columns_[static_cast<size_t>(column)].SqlName : QString();
}

int TKelModelFields::ColumnOf(const QString& name) const {
  for (int c = 0; c < Count(); ++c)
    if (columns_[static_cast<size_t>(c)].Name.compare(name, Qt::CaseInsensitive) == 0) return c;
  return -1;
}

Variant TKelModelFields::Value(int row, int column) const {
  if (!model_ || column < 0 || column >= Count()) return Variant::Null();
  return ValueOf(RawValue(row, column), column);
}

Variant TKelModelFields::ValueOf(const QVariant& value, int column) const {
  return VariantFromQt(value, DataType(column));
}

std::vector<TExprFieldInfo> TKelModelFields::ExprFields() const {
  std::vector<TExprFieldInfo> fields;
  for (const Column& column : columns_) fields.push_back({column.Name, column.Type});
  return fields;
}

void TKelModelFields::FillCatalogue(TKelFltBoxFields* fields) const {
  WithinUpdate(*fields, [&] {
    fields->Clear();
    for (const Column& column : columns_) {
      if (IsBinaryFieldType(column.Type) && !IsMemoFieldType(column.Type)) continue;
      TKelFltBoxField* entry = fields->Add();
      entry->SetDataField(column.Name);
      entry->SetDisplayLabel(column.Label);
      entry->SetDataType(column.Type);
      if (!column.SqlName.isEmpty()) entry->SetSQLFieldName(column.SqlName);
    }
  });
}

void TKelModelFields::FillFields(TKelFields* fields) const {
  WithinUpdate(*fields, [&] {
    fields->Clear();
    for (const Column& column : columns_) {
      TKelField* field = fields->Add();
      field->SetName(column.Name);
      field->SetDataType(FieldTypeToKelFieldType(column.Type));
    }
  });
}

}  // namespace Kel
