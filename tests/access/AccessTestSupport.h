#pragma once
// What the accessibility tests share: a log of the reports the controls make while it lives,
// and shortcuts to the accessible interfaces of widgets and objects.
#include <QAccessible>
#include <QWidget>
#include <vector>

#include "KelAccessibleReport.h"
#include "TestPrinters.h"

namespace Kel::Testing {

class TReportLog {
 public:
  struct TEntry {
    QWidget* Control;
    TKelAccessibleChange Change;
    QVariant Subject;
  };

  TReportLog() {
    previous_ = SetAccessibleReporter([this](QWidget* control, TKelAccessibleChange change,
                                             const QVariant& subject) {
      entries_.push_back({control, change, subject});
      if (previous_) previous_(control, change, subject);
    });
  }
  ~TReportLog() { SetAccessibleReporter(previous_); }
  TReportLog(const TReportLog&) = delete;
  TReportLog& operator=(const TReportLog&) = delete;

  void Clear() { entries_.clear(); }
  // Whether control reported change of subject (any subject when subject is invalid).
  bool Has(QWidget* control, TKelAccessibleChange change, const QVariant& subject = {}) const {
    for (const TEntry& entry : entries_)
      if (entry.Control == control && entry.Change == change &&
          (!subject.isValid() || entry.Subject == subject))
        return true;
    return false;
  }

 private:
  TKelAccessibleReporter previous_;
  std::vector<TEntry> entries_;
};

inline QAccessibleInterface* Accessible(QObject* object) {
  return QAccessible::queryAccessibleInterface(object);
}

inline QVariant Subject(QObject* object) { return QVariant::fromValue(object); }

// The action names of an interface (none without an action interface).
inline QStringList Actions(QAccessibleInterface* iface) {
  return iface && iface->actionInterface() ? iface->actionInterface()->actionNames() : QStringList{};
}

inline void Do(QAccessibleInterface* iface, const QString& action) {
  if (iface && iface->actionInterface()) iface->actionInterface()->doAction(action);
}

}  // namespace Kel::Testing
