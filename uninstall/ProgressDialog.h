#pragma once
// The "Removing files" window: the file being removed and a progress bar. It is modeless and
// keeps itself painted while the removal runs in the same thread.

#include <QDialog>

#include "UninstallSteps.h"

class QLabel;
class QProgressBar;

namespace Kel::Uninstall {

class TProgressDialog : public QDialog, public TRemovalProgress {
  Q_OBJECT
 public:
  explicit TProgressDialog(QWidget* parent = nullptr);

  void Start(int fileCount) override;
  void ShowFile(const QString& path) override;
  void SetPosition(int position) override;
  void Finish() override;

  QString FileText() const;
  int Position() const;
  int Maximum() const;

 private:
  QLabel* file_ = nullptr;
  QProgressBar* bar_ = nullptr;
};

}  // namespace Kel::Uninstall
