// The builder keeps what each condition writes: after random edits of a list (values, inserts,
// deletes, moves, levels, connectors, checks, fields, templates) and of everything the texts
// are written with (text options, catalogue, templates, formats, number settings, date macros,
// translated words, the dataset), each text read is the one written afresh from the list.
#include <gtest/gtest.h>

#include "FormatSettings.h"
#include "KelTranslate.h"
#include "KelUtils.h"
#include "RandomConditions.h"

namespace Kel {
namespace {

using namespace Testing;

const TDateTime KeptTextsToday = EncodeDate(2024, 3, 6);

struct Texts {
  QString Filter;
  QString Expression;
  QString Sql;
  bool operator==(const Texts&) const = default;
};

// The texts as the builder writes them from nothing: a handler of the list's own values keeps
// the builder from using anything it kept, and does nothing to the values.
Texts Written(TKelFltBld& builder) {
  builder.Items()->OnGetAsString = [](QObject*, TKelField*, QString&, bool) {};
  Texts texts{builder.FilterStr(), builder.Expression(), builder.SQL()->Text()};
  builder.Items()->OnGetAsString = nullptr;
  return texts;
}

class KeptTextsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFormatSettings(TFormatSettings::Invariant());
    SetDateMacrosToday(KeptTextsToday);
    std::mt19937 rows(1);
    data_ = MakeRandomDataSet(MakeRandomRows(rows, 5, KeptTextsToday));
    // The same names with other types: Score money, Name a memo (other templates).
    other_ = std::make_unique<TMemDataSet>();
    other_->AddField("Id", ftInteger);
    other_->AddField("Qty", ftInteger);
    other_->AddField("Score", ftCurrency);
    other_->AddField("Name", ftMemo);
    other_->AddField("Due", ftDate);
    builder_.SetDataSet(data_.get());
    builder_.SetAllowedUsageIDs("");
    builder_.SQLHead()->SetText("SELECT Id FROM t");
  }
  void TearDown() override {
    SetTranslateTextProc(nullptr);
    SetFormatSettings(TFormatSettings::Invariant());
    SetDateMacrosToday(KeptTextsToday);
  }

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  TKelFltItem* AnyItem() { return builder_.Items()->Items(Pick(builder_.Items()->Count())); }

  void EditCondition() {
    TKelFltItems& items = *builder_.Items();
    if (items.Count() < 3 || Pick(8) == 0) {
      AddRandomCondition(builder_, rng_, KeptTextsToday)->SetIndex(Pick(items.Count()));
      return;
    }
    TKelFltItem* item = AnyItem();
    switch (Pick(9)) {
      case 0:
        for (int i = 0; i < item->Params()->Count(); ++i)
          if (TKelFltItem::IsValueParam(item->Param(i))) SetRandomValue(item->Param(i));
        break;
      case 1: items.Delete(item->Index()); break;
      case 2: item->SetIndex(Pick(items.Count())); break;
      case 3: item->SetIndentLev(item->IndentLev() + (Pick(2) ? 1 : -1)); break;
      case 4: item->SetOperation(item->Operation() == "and" ? "or" : "and"); break;
      case 5: item->SetChecked(!item->Checked()); break;
      case 6: item->SetDataField(RandomField()); break;
      case 7: {
        TStringList offered;
        builder_.GetOperationList(item->DataField(), &offered);
        if (offered.Count() > 0) item->SetTemplate(offered.Strings(Pick(offered.Count())));
        break;
      }
      default: item->Params()->Items(Pick(item->Params()->Count()))->Clear(); break;
    }
  }

  QString RandomField() { return QStringList{"Qty", "Score", "Name", "Due"}[Pick(4)]; }

  // A value of the parameter's type, as the list's editors give it.
  void SetRandomValue(TKelListParam* param) {
    switch (param->DataType()) {
      case FT_INT: param->SetAsInteger(Pick(15) - 2); break;
      case FT_FLOAT:
      case FT_CURRENCY: param->SetAsFloat((Pick(57) - 8) / 4.0); break;
      case FT_DATE:
      case FT_DATETIME: param->SetAsDate(RandomDate(rng_, KeptTextsToday)); break;
      default: param->SetAsString(RandomNames()[Pick(RandomNames().size())]); break;
    }
  }

  void EditSettings() {
    switch (Pick(12)) {
      case 0: builder_.SetEncloseInBrackets(!builder_.EncloseInBrackets()); break;
      case 1: builder_.SetAddTableNames(!builder_.AddTableNames()); break;
      case 2: builder_.TableNames()->SetText(QStringList{"", "t", "my t"}[Pick(3)]); break;
      case 3: builder_.SetForceSQLDateTime(!builder_.ForceSQLDateTime()); break;
      case 4: builder_.SetForceSQLBooleans(!builder_.ForceSQLBooleans()); break;
      case 5: {
        TKelFltDateTimeFormat* format =
            Pick(2) ? builder_.FilterDateTimeFormat() : builder_.SQLDateTimeFormat();
        format->SetDateSeparator(QString("-./")[Pick(3)]);
        format->SetDateFormat(QStringList{"", "yyyy-mm-dd", "d/m/yy"}[Pick(3)]);
        format->SetAlwaysY2k(Pick(2));  // stored without a change report
        break;
      }
      case 6: FormatSettings().DecimalSeparator = Pick(2) ? u',' : u'.'; break;
      case 7: SetDateMacrosToday(KeptTextsToday + Pick(40)); break;
      case 8: {  // another SQL name, table or category for a field, or none
        if (Pick(2)) {
          builder_.FieldParams()->Clear();
          break;
        }
        TKelFltBoxField* entry = builder_.FieldParams()->Add();
        entry->SetDataField(RandomField());
        entry->SetSQLFieldName(Pick(2) ? "col x" : "");
        entry->SetTableName(Pick(2) ? "u" : "");
        break;
      }
      case 9: {  // a template writes something else
        TKelFltBoxTemplate* found = builder_.Templates()->Items(Pick(builder_.Templates()->Count()));
        found->SetFilter(Pick(4) ? u'(' + found->Filter() + u')' : QString());
        break;
      }
      case 10:
        SetTranslateTextProc(Pick(2) ? TKelTranslateTextProc()
                                     : TKelTranslateTextProc([](const QString& text) {
                                         return text == "True" ? QStringLiteral("Wahr")
                                                : text == "or" ? QStringLiteral("oder")
                                                               : text;
                                       }));
        break;
      default: builder_.SetDataSet(builder_.DataSet() == data_.get() ? other_.get() : data_.get());
    }
  }

  std::mt19937 rng_{20240306};
  std::unique_ptr<TMemDataSet> data_;
  std::unique_ptr<TMemDataSet> other_;
  TKelFltBld builder_;
};

TEST_F(KeptTextsTest, EveryTextReadAfterRandomEditsIsTheOneWrittenAfresh) {
  for (int i = 0; i < 25; ++i) AddRandomCondition(builder_, rng_, KeptTextsToday);
  for (int step = 0; step < 1500; ++step) {
    // Now and then several edits at once, or one of the forms left unread for a while.
    for (int edits = 1 + (Pick(4) == 0 ? Pick(4) : 0); edits > 0; --edits) {
      if (Pick(5) == 0)
        EditSettings();
      else
        EditCondition();
    }
    const Texts written = Written(builder_);
    const bool readSql = Pick(3) != 0;
    const Texts read{builder_.FilterStr(), builder_.Expression(),
                     readSql ? builder_.SQL()->Text() : written.Sql};
    ASSERT_EQ(read, written) << "step " << step << "\nkept: " << read.Filter.toStdString()
                             << "\nafresh: " << written.Filter.toStdString()
                             << "\nkept SQL: " << read.Sql.toStdString()
                             << "\nafresh SQL: " << written.Sql.toStdString();
  }
}

}  // namespace
}  // namespace Kel
