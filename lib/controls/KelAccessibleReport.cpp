#include "KelAccessibleReport.h"

#include <utility>

namespace Kel {

namespace {

TKelAccessibleReporter& InstalledReporter() {
  static TKelAccessibleReporter reporter;
  return reporter;
}

}  // namespace

TKelAccessibleReporter SetAccessibleReporter(TKelAccessibleReporter reporter) {
  return std::exchange(InstalledReporter(), std::move(reporter));
}

void ReportAccessible(QWidget* control, TKelAccessibleChange change, const QVariant& subject) {
  const TKelAccessibleReporter& reporter = InstalledReporter();
  if (reporter && control) reporter(control, change, subject);
}

}  // namespace Kel
