#include "ProgressDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>

#include "UninstallTexts.h"

namespace Kel::Uninstall {

namespace {

// The window is laid out in dialog units (a quarter of the average character width across, an
// eighth of the line height down), so it scales with the font as a classic dialog does.
class DialogUnits {
 public:
  explicit DialogUnits(const QFontMetrics& metrics)
      : baseX_(metrics.averageCharWidth()), baseY_(metrics.height()) {}
  int X(int units) const { return units * baseX_ / 4; }
  int Y(int units) const { return units * baseY_ / 8; }
  QRect Rect(int left, int top, int width, int height) const {
    return QRect(X(left), Y(top), X(width), Y(height));
  }

 private:
  int baseX_;
  int baseY_;
};

}  // namespace

TProgressDialog::TProgressDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(Text(kProgressCaption));
  setModal(false);
  const DialogUnits units(fontMetrics());
  setFixedSize(units.X(224), units.Y(66));

  file_ = new QLabel(this);
  file_->setAlignment(Qt::AlignCenter);
  file_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  file_->setTextFormat(Qt::PlainText);
  file_->setGeometry(units.Rect(5, 9, 212, 19));

  bar_ = new QProgressBar(this);
  bar_->setTextVisible(false);
  bar_->setGeometry(units.Rect(5, 35, 212, 19));
}

void TProgressDialog::Start(int fileCount) {
  bar_->setRange(0, fileCount);
  bar_->setValue(0);
  show();
  QCoreApplication::processEvents();
}

void TProgressDialog::ShowFile(const QString& path) {
  file_->setText(QDir::toNativeSeparators(path));
  QCoreApplication::processEvents();
}

void TProgressDialog::SetPosition(int position) {
  bar_->setValue(position);
  QCoreApplication::processEvents();
}

void TProgressDialog::Finish() { hide(); }

QString TProgressDialog::FileText() const { return file_->text(); }
int TProgressDialog::Position() const { return bar_->value(); }
int TProgressDialog::Maximum() const { return bar_->maximum(); }

}  // namespace Kel::Uninstall
