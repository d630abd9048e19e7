// Random conditions over random records with Nulls (fixed seed): the evaluator's compiled path
// accepts exactly the records that evaluation over Variants accepts, raises where it raises,
// and FindFirst / FindNext visit exactly the accepted records, in order.
#include <gtest/gtest.h>

#include <random>

#include "DB.h"
#include "DateUtils.h"
#include "KelExprEval.h"

namespace Kel {
namespace {

class Generator {
 public:
  explicit Generator(uint32_t seed) : random_(seed) {}

  int Pick(int n) { return static_cast<int>(random_() % static_cast<uint32_t>(n)); }
  bool Chance(int percent) { return Pick(100) < percent; }

  QString Text(const char* alphabet, int maxLength) {
    QString s;
    const int n = static_cast<int>(qstrlen(alphabet));
    for (int i = Pick(maxLength + 1); i > 0; --i) s += QChar(alphabet[Pick(n)]);
    return s;
  }

  std::vector<Variant> Record() {
    auto orNull = [this](Variant v) { return Chance(20) ? Variant::Null() : v; };
    return {orNull(Variant(Pick(10) - 3)), orNull(Variant((Pick(40) - 10) / 4.0)),
            orNull(Variant(Text("abAB", 3))), orNull(Variant(Chance(50))),
            orNull(Variant::FromDate(EncodeDate(2024, 1, 1) + Pick(5)))};
  }

  QString Condition(int depth) {
    if (depth > 0 && Chance(45)) {
      switch (Pick(3)) {
        case 0:
          return "(" + Condition(depth - 1) + ") and (" + Condition(depth - 1) + ")";
        case 1:
          return "(" + Condition(depth - 1) + ") or (" + Condition(depth - 1) + ")";
        default:
          return "not (" + Condition(depth - 1) + ")";
      }
    }
    return Atom();
  }

 private:
  QString Op() {
    static const char* ops[] = {"=", "<>", "<", ">", "<=", ">="};
    return ops[Pick(6)];
  }
  QString Number() {
    return Chance(70) ? QString::number(Pick(10) - 3) : QString::number((Pick(40) - 10) / 4.0);
  }
  QString Quoted(const QString& s) { return "'" + s + "'"; }

  QString Atom() {
    switch (Pick(12)) {
      case 0:
        return "I " + Op() + " " + Number();
      case 1:
        return "F " + Op() + " " + Number();
      case 2:
        return "S " + Op() + " " + Quoted(Text("abAB", 3));
      case 3:
        return "S like " + Quoted(Text("aB%_", 4));
      case 4: {
        static const char* fields[] = {"I", "F", "S", "B", "D"};
        return QString(fields[Pick(5)]) + (Chance(50) ? " is null" : " is not null");
      }
      case 5:
        return "I in (" + Number() + ", " + Number() + ", " + Number() + ")";
      case 6:
        return "S in (" + Quoted(Text("ab", 2)) + ", " + Quoted(Text("AB", 2)) + ")";
      case 7: {
        static const char* sums[] = {"I + 2", "F * 2", "I - F", "I / 2", "F + I * 3", "-I"};
        return QString("(") + sums[Pick(6)] + ") " + Op() + " " + Number();
      }
      case 8:
        return Chance(50) ? "I " + Op() + " F" : "F " + Op() + " I";
      case 9:
        return Chance(50) ? QString("B") : QString("B = ") + (Chance(50) ? "True" : "False");
      case 10:
        return "D " + Op() + " " + Quoted(QString("1/%1/2024").arg(1 + Pick(6)));
      default:
        return Chance(50) ? "upper(S) " + Op() + " " + Quoted(Text("AB", 2))
                          : "substring(S, 2) = " + Quoted(Text("ab", 1));
    }
  }

  std::mt19937 random_;
};

struct Outcome {
  std::vector<int> accepted;  // record numbers
  bool raised = false;
};

Outcome Accepted(TDataSet& data, const std::function<Variant()>& evaluate) {
  Outcome outcome;
  for (data.First(); !data.Eof(); data.Next()) {
    try {
      if (TExprEvaluator::IsTrue(evaluate())) outcome.accepted.push_back(data.RecNo());
    } catch (const Exception&) {
      outcome.raised = true;
      break;
    }
  }
  return outcome;
}

TEST(ExprEvalProperty, CompiledVariantAndSearchAgree) {
  Generator gen(20240611);
  TMemDataSet data;
  data.AddField("I", ftInteger);
  data.AddField("F", ftFloat);
  data.AddField("S", ftString, 5);
  data.AddField("B", ftBoolean);
  data.AddField("D", ftDate);
  std::vector<std::vector<Variant>> records;
  for (int i = 0; i < 120; ++i) records.push_back(gen.Record());
  data.AppendRecords(records);
  data.Open();

  TKelExprEval eval;
  eval.SetDataSet(&data);
  int nonTrivial = 0;
  for (int round = 0; round < 400; ++round) {
    const QString condition = gen.Condition(3);
    eval.SetOptions(gen.Chance(25) ? TFilterOptions{foCaseInsensitive} : TFilterOptions{});
    eval.SetExpression(condition);
    const TKelParsedExpr* parsed = nullptr;
    try {
      parsed = &eval.Parsed();
    } catch (const Exception&) {
      // Only mixes the parser refuses (a Boolean compared with a number, ...) get here.
      continue;
    }
    const Outcome variants = Accepted(data, [&] {
      return parsed->Evaluate(
          [&data](int, const QString& name) { return data.FieldByName(name)->Value(); });
    });
    const Outcome compiled = Accepted(data, [&] { return parsed->EvaluateRecord(data); });
    ASSERT_EQ(compiled.raised, variants.raised) << condition.toStdString();
    ASSERT_EQ(compiled.accepted, variants.accepted) << condition.toStdString();
    if (variants.raised) continue;
    if (!variants.accepted.empty() && variants.accepted.size() < records.size()) ++nonTrivial;

    std::vector<int> visited;
    for (bool found = eval.FindFirst(); found; found = eval.FindNext())
      visited.push_back(data.RecNo());
    ASSERT_EQ(visited, variants.accepted) << condition.toStdString();
  }
  EXPECT_GT(nonTrivial, 150) << "most conditions should select some records but not all";
}

}  // namespace
}  // namespace Kel
