// Reading a filter text back into conditions.
#include "KelFltBld.h"

namespace Kel {

void TKelFltBld::SetFilterStr(const QString& value) { ReadFilterText(value); }

void TKelFltBld::ReadFilterText(const QString& text) {
  Q_UNUSED(text);
  items_->Clear();
}

}  // namespace Kel
