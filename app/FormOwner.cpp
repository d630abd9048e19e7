#include "FormOwner.h"

#include <algorithm>

#include "Exceptions.h"

namespace Kel {

TFormOwner::~TFormOwner() {
  // Newest first: a later window may still refer to an earlier one while it goes.
  for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) delete it->data();
}

QWidget* TFormOwner::Adopt(std::unique_ptr<QWidget> form) {
  if (!form) throw EInvalidOperation(QStringLiteral("Cannot adopt a nil form"));
  QWidget* raw = form.release();
  forms_.emplace_back(raw);
  return raw;
}

int TFormOwner::Count() const {
  return static_cast<int>(
      std::count_if(forms_.begin(), forms_.end(), [](const auto& form) { return !form.isNull(); }));
}

}  // namespace Kel
