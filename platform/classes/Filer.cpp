#include "Filer.h"

namespace Kel {

void TFiler::SetRoot(TComponent* root) { root_ = root; }

TFiler::NestingGuard::NestingGuard(TFiler& filer) : filer_(filer) {
  if (filer_.depth_ >= filer_.maxDepth_) filer_.NestingError();
  ++filer_.depth_;
}

}  // namespace Kel
