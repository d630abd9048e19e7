#pragma once
// The "Edit Buttons" dialog of the button panel in Designer: which buttons the panel makes (a
// standard set, the kinds of a set, or custom captions), with a live preview.

#include <QDialog>
#include <QList>
#include <QStringList>

#include "KelBtPan.h"

class QButtonGroup;
class QCheckBox;
class QPlainTextEdit;

namespace Kel::Designer {

class TKelBtnPanelDialog : public QDialog {
  Q_OBJECT

 public:
  TKelBtnPanelDialog(const TKelCustomBtnPanel* panel, QWidget* parent = nullptr);

  TKelBtnPanelButtons DefButtons() const;
  TKelButtonFlags DefButtonFlags() const;
  QStringList Captions() const;

 private:
  void UpdatePreview();

  QButtonGroup* standard_;
  QList<QCheckBox*> kinds_;  // btYes ... btSave
  QPlainTextEdit* captions_;
  TKelBtnPanel* preview_;
};

}  // namespace Kel::Designer
