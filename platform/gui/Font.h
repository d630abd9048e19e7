#pragma once
// TFont: a font as a published property object (the font of a colour rule, of a calendar part,
// of a canvas). It converts to and from QFont and reports every change.
//
// Size and Height are two views of one value: Height < 0 is the character height in pixels
// (without the line's internal leading), Height > 0 the whole cell height; Size is points,
// Height = -Size x PixelsPerInch / 72 with the screen's logical resolution (96 on most screens).
// Pixels are logical pixels: Qt scales them with the screen's device pixel ratio.
//
// A new TFont is the application's font in the window-text colour. Setters compare and do
// nothing when the value is unchanged; each change calls OnChange(font) once (Assign of a whole
// font counts as one change).

#include <QFont>
#include <QString>
#include <functional>

#include "Color.h"
#include "GuiTypes.h"
#include "Persistent.h"
#include "PlatformExport.h"

namespace Kel {

class KEL_PLATFORM_EXPORT TFont : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_CLASSINFO("default:Color", "-16777208")
  Q_PROPERTY(int Height READ Height WRITE SetHeight)
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_PROPERTY(int Size READ Size WRITE SetSize STORED false)
  Q_PROPERTY(Kel::TSet<Kel::Gui::TFontStyle> Style READ Style WRITE SetStyle)
  Q_CLASSINFO("default:Style", "[]")

 public:
  using TChangeEvent = std::function<void(TFont* sender)>;

  Q_INVOKABLE explicit TFont(QObject* parent = nullptr);
  ~TFont() override;

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int Height() const { return height_; }
  void SetHeight(int value);
  QString Name() const { return name_; }
  void SetName(const QString& value);
  int Size() const;
  void SetSize(int points);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value);

  // The logical resolution that links Size and Height.
  static int PixelsPerInch();

  // Copies another TFont (name, height, style, colour); other sources raise EConvertError.
  void Assign(TPersistent* source) override;
  // Takes family, size and style of a QFont (the colour stays).
  void Assign(const QFont& font);
  // The QFont to paint with (the colour is not part of it: see Color()).
  QFont ToQFont() const;
  // Whether name, height, style and colour are equal.
  bool SameAs(const TFont& other) const;

  // Counts the changes; a canvas compares it to know when to rebuild its QFont.
  quint64 Revision() const { return revision_; }

  TChangeEvent OnChange;

 protected:
  void Changed();

 private:
  QString name_;
  int height_ = 0;
  TFontStyles style_;
  TColor color_ = clWindowText;
  quint64 revision_ = 0;
};

}  // namespace Kel
