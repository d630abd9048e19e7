#include "KelCalcEngine.h"

#include <algorithm>
#include <cmath>

#include "FormatSettings.h"
#include "KelCalcConsts.h"
#include "KelTranslate.h"
#include "NumberFormat.h"
#include "StrUtils.h"

namespace Kel {

namespace {
// The general float format carries at most this many significant digits.
constexpr int kMaxFormatDigits = 18;
}  // namespace

TKelCalcEngine::TKelCalcEngine() : text_(QStringLiteral("0")) {}

int TKelCalcEngine::EffectivePrecision() const { return std::max(2, precision_); }

namespace {

bool ReadNumber(const QString& text, TKelCalcNumber& value) {
  return TryStrToExtended(text.trimmed(), value, FormatSettings().DecimalSeparator);
}

}  // namespace

TKelCalcNumber TKelCalcEngine::Value() const {
  TKelCalcNumber value = 0;
  // Every text shown outside the error state reads (ShowValue sees to results, typing only
  // adds digits and one separator).
  return state_ != esError && ReadNumber(text_, value) ? value : 0;
}

QString TKelCalcEngine::FormatValue(TKelCalcNumber value) const {
  const int digits = std::min(EffectivePrecision(), kMaxFormatDigits);
  // -0 would show as "-0"; a pocket calculator has one zero.
  if (value == 0) value = 0;
  return ExtendedToStr(value, digits, FormatSettings().DecimalSeparator);
}

void TKelCalcEngine::SetValue(TKelCalcNumber value) {
  state_ = esResult;
  ShowValue(value);
}

bool TKelCalcEngine::ButtonEnabled(TKelCalcButtonKind kind) const {
  if (kind == ckMemClear || kind == ckMemRecall) return memory_ != 0;
  return kind != ckNone;
}

void TKelCalcEngine::ShowText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  if (OnTextChange) OnTextChange(text_);
}

void TKelCalcEngine::ShowValue(TKelCalcNumber value) {
  TKelCalcNumber shown = 0;
  const QString text = std::isfinite(value) ? FormatValue(value) : QString();
  // Rounded to the digits shown, the largest numbers go beyond the range: such a text would
  // read as nothing, and a calculation must not go on from a number other than the one shown.
  if (text.isEmpty() || !ReadNumber(text, shown)) {
    EnterError();
    return;
  }
  ShowText(text);
}

void TKelCalcEngine::EnterError() {
  state_ = esError;
  ShowText(TranslateText(KelCalcText::Error));
  if (OnError) OnError();
}

void TKelCalcEngine::StartEntry() {
  // A number in scientific notation is a result, not something to type into: appending to
  // "1E-5" or cutting it to "1E-" would leave a display that is no number.
  if (state_ == esResult || text_.contains(u'E')) {
    state_ = esEntering;
    ShowText(QStringLiteral("0"));
  }
  state_ = esEntering;
}

void TKelCalcEngine::SetMemory(TKelCalcNumber value) {
  if (value == memory_) return;
  memory_ = value;
  if (OnMemoryChange) OnMemoryChange();
}

void TKelCalcEngine::Execute(TKelCalcButtonKind kind) {
  if (kind == ckNone) return;
  if (state_ == esError && kind != ckClearEntry && kind != ckClear) {
    EnterError();
    return;
  }
  if (CalcDigitOf(kind) >= 0) {
    Digit(CalcDigitOf(kind));
    return;
  }
  switch (kind) {
    case ckBack:
      Back();
      break;
    case ckClearEntry:
    case ckClear:
      state_ = esResult;
      pending_ = ckEquals;
      ShowValue(0);
      break;
    case ckDecimal:
      Decimal();
      break;
    case ckSign:
      ShowValue(-Value());
      break;
    case ckSqrt:
    case ckRecip:
      UnaryFunction(kind);
      break;
    case ckMemClear:
    case ckMemRecall:
    case ckMemStore:
    case ckMemAdd:
      Memory(kind);
      break;
    default:
      Operator(kind);
      break;
  }
}

void TKelCalcEngine::Back() {
  StartEntry();
  QString text = text_;
  text.chop(1);
  if (text.isEmpty() || text == QStringLiteral("-")) text = QStringLiteral("0");
  ShowText(text);
}

void TKelCalcEngine::Digit(int digit) {
  StartEntry();
  const QString text = text_ == QStringLiteral("0") ? QString() : text_;
  const int limit = EffectivePrecision() + Pos(QStringLiteral("-"), text);
  if (text.size() < limit) {
    ShowText(text + QString::number(digit));
  } else if (OnRefused) {
    OnRefused();
  }
}

void TKelCalcEngine::Decimal() {
  StartEntry();
  const QChar separator = FormatSettings().DecimalSeparator;
  if (!text_.contains(separator)) ShowText(text_ + separator);
}

void TKelCalcEngine::UnaryFunction(TKelCalcButtonKind kind) {
  // After an operator the result is its right operand, still open to typing (9 + sqrt, then 5).
  state_ = IsCalcOperator(pending_) ? esEntering : esResult;
  const TKelCalcNumber value = Value();
  if (kind == ckSqrt) {
    if (value < 0)
      EnterError();
    else
      ShowValue(std::sqrt(value));
  } else {
    if (value == 0)
      EnterError();
    else
      ShowValue(1 / value);
  }
}

void TKelCalcEngine::Memory(TKelCalcButtonKind kind) {
  state_ = esResult;
  switch (kind) {
    case ckMemClear:
      SetMemory(0);
      break;
    case ckMemRecall:
      ShowValue(memory_);
      break;
    case ckMemStore:
      SetMemory(Value());
      break;
    default: {
      const TKelCalcNumber sum = Value() + memory_;
      // The register keeps its value rather than turning into infinity.
      if (std::isfinite(sum))
        SetMemory(sum);
      else
        EnterError();
      break;
    }
  }
}

void TKelCalcEngine::Operator(TKelCalcButtonKind kind) {
  if (state_ == esEntering) {
    state_ = esResult;
    TKelCalcNumber value = Value();
    if (kind == ckPercent) {
      if (pending_ == ckDiv || pending_ == ckMul)
        value = value / 100;
      else if (pending_ == ckSub || pending_ == ckAdd)
        value = value * accumulator_ / 100;
    }
    switch (pending_) {
      case ckDiv:
        if (value == 0)
          EnterError();
        else
          ShowValue(accumulator_ / value);
        break;
      case ckMul:
        ShowValue(accumulator_ * value);
        break;
      case ckSub:
        ShowValue(accumulator_ - value);
        break;
      case ckAdd:
        ShowValue(value + accumulator_);
        break;
      default:
        break;
    }
  }
  pending_ = kind;
  accumulator_ = Value();
  // A failed calculation is no result: whoever waits for one (the popup) keeps waiting.
  if ((kind == ckPercent || kind == ckEquals) && state_ != esError && OnResult) OnResult();
}

}  // namespace Kel
