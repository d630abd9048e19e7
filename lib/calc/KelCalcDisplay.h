#pragma once
// TKelCalcDisplay: the one-line display of a calculator (its Associate). It shows its Text
// right-aligned and vertically centred, as typed, in grey while disabled. Its height is always
// the height of a one-line edit in its font, so it lines up with the edits of a form.

#include <QWidget>

#include "Color.h"
#include "GuiTypes.h"
#include "KelExport.h"

namespace Kel {

class KEL_EXPORT TKelCalcDisplay : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString Text READ Text WRITE SetText)
  Q_CLASSINFO("default:Text", "0")
  Q_PROPERTY(Kel::Gui::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
  Q_CLASSINFO("default:BorderStyle", "bsSingle")
  Q_PROPERTY(int Color READ Color WRITE SetColor)

 public:
  Q_INVOKABLE explicit TKelCalcDisplay(QWidget* parent = nullptr);

  QString Text() const { return text_; }
  void SetText(const QString& value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdateHeight();

  QString text_ = QStringLiteral("0");
  TBorderStyle borderStyle_ = bsSingle;
  TColor color_ = clWindow;
};

}  // namespace Kel
