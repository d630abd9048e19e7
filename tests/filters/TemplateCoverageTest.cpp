// Every condition the builder writes runs compiled: each default template on a field of every
// field type that has templates, with and without case-insensitive filtering, and templates
// built on the filter language's functions. A condition that falls back to the evaluation over
// Variants is named in the failure.
#include <gtest/gtest.h>

#include "CompiledFilter.h"
#include "ExprParser.h"
#include "FilterTestData.h"
#include "KelUtils.h"

namespace Kel {
namespace {

const TDateTime CoverageToday = EncodeDate(2024, 3, 6);

// Templates on the functions of the filter language, as an application may add them.
void AddFunctionTemplates(TKelFltBoxTemplates* templates) {
  const auto add = [templates](const char* category, const char* caption, const char* filter) {
    TKelFltBoxTemplate* t = templates->Add();
    t->SetCategory(category);
    t->SetCaptionID(caption);
    t->SetCaption(":Field :Template :Value");
    t->SetFilter(filter);
  };
  add("Text", "upper is", "upper(:Field) = upper(:Value)");
  add("Text", "lower contains", "lower(:Field) LIKE lower('%' + :Value + '%')");
  add("Text", "trimmed is", "trim(:Field) = :Value");
  add("Text", "trimmed left is", "trimleft(:Field) = :Value");
  add("Text", "trimmed right of x is", "trimright(:Field, 'x') = :Value");
  add("Text", "starts as", "substring(:Field, 1, 2) = substring(:Value, 1, 2)");
  add("Text", "is one of", ":Field IN (:Value, 'x', upper(:Value))");
  add("Date", "in year", "year(:Field) = 2023 or year(:Field) = 2024");
  add("Date", "in month", "(month(:Field) = 3) and (day(:Field) >= 1)");
  add("Date", "on day", "date(:Field) = :Value");
  add("Date", "from today", ":Field >= getdate()");
  add("Time", "in hour", "(hour(:Field) = 10) and (minute(:Field) < 30) and (second(:Field) <> 7)");
  add("Time", "at", "time(:Field) = :Value");
}

void SetValue(TKelListParam* param, TFieldType type) {
  if (IsStringFieldType(type))
    param->SetAsString("ab");
  else if (IsIntegerFieldType(type))
    param->SetAsInteger(7);
  else if (type == ftBoolean)
    param->SetAsBoolean(true);
  else if (type == ftTime)
    param->SetAsTime(0.5);
  else if (IsDateTimeFieldType(type))
    param->SetAsDate(CoverageToday - 1);
  else
    param->SetAsFloat(2.5);
}

TEST(TemplateCoverage, EveryBuilderConditionRunsCompiled) {
  SetFormatSettings(TFormatSettings::Invariant());
  SetDateMacrosToday(CoverageToday);
  SetDefaultTemplatesHook(AddFunctionTemplates);
  const std::vector<TFieldType> types = {
      ftString, ftFixedChar, ftWideString, ftMemo,    ftFmtMemo, ftSmallint, ftInteger,
      ftWord,   ftAutoInc,   ftLargeint,   ftFloat,   ftCurrency, ftBCD,     ftBoolean,
      ftDate,   ftDateTime,  ftTime,       ftBlob,    ftGraphic, ftBytes};
  QStringList fallingBack;
  int conditions = 0;
  for (const TFieldType type : types) {
    TMemDataSet data;
    data.AddField("F", type, IsStringFieldType(type) ? 20 : 0);
    data.AppendRecords({{Variant::Null()}});
    data.Open();
    TKelFltBld builder;
    builder.SetDataSet(&data);
    builder.SetAllowedUsageIDs("");
    TStringList templates;
    builder.GetOperationList("F", &templates);
    EXPECT_GT(templates.Count(), 1) << FieldTypeName(type).toStdString();
    for (int t = 0; t < templates.Count(); ++t) {
      builder.Items()->Clear();
      TKelFltItem* item = builder.Items()->Add();
      item->SetDataField("F");
      item->SetTemplate(templates.Strings(t));
      for (int p = 0; p < item->Params()->Count(); ++p)
        if (TKelFltItem::IsValueParam(item->Param(p))) SetValue(item->Param(p), type);
      item->SetChecked(true);
      const QString text = builder.FilterStr();
      for (const TFilterOptions options : {TFilterOptions{}, TFilterOptions{foCaseInsensitive}}) {
        const TExprParser parser(&data, text, options, {poExtSyntax});
        const TExprEvaluator evaluator(parser.FilterData());
        const TCompiledFilter compiled(evaluator, data.RowSource());
        ++conditions;
        if (compiled.FallbackCount() > 0)
          fallingBack << FieldTypeName(type) + QStringLiteral(": ") + text +
                             (options.Bits() ? QStringLiteral(" (ci)") : QString());
      }
    }
  }
  SetDefaultTemplatesHook(nullptr);
  EXPECT_GT(conditions, 300);
  EXPECT_TRUE(fallingBack.isEmpty()) << fallingBack.join(u'\n').toStdString();
}

}  // namespace
}  // namespace Kel
