// Arbitrary text as list-line markup (captions and values come from saved lists and from the
// user): measured and drawn on a small image, which must give the same width and plain text,
// with the font's style and colour put back afterwards. The colour texts of tags and the other
// text helpers of the drawing unit run on the same input.
#include <QGuiApplication>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "KelDrawing.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

  QImage image(120, 24, QImage::Format_ARGB32_Premultiplied);
  Kel::TCanvas canvas(&image);
  canvas.Font().SetColor(Kel::clWindowText);
  int measured = 0, drawn = 0;
  QString measuredPlain, drawnPlain;
  Kel::DrawMarkupText(canvas, Kel::Rect(0, 0, 120, 24), text, true, measured, measuredPlain);
  Kel::DrawMarkupText(canvas, Kel::Rect(0, 0, 120, 24), text, false, drawn, drawnPlain);
  if (measured != drawn || measuredPlain != drawnPlain || drawnPlain.size() > text.size() ||
      !canvas.Font().Style().IsEmpty() || canvas.Font().Color() != Kel::clWindowText)
    std::abort();

  Kel::TColor color = Kel::clBlack;
  if (Kel::ColorOfTagName(text, color)) {
    const QString tag = Kel::ColorTag(color);
    Kel::TColor back = Kel::clBlack;
    if (!Kel::ColorOfTagName(tag.mid(3, tag.size() - 4), back) || back != color) std::abort();
  }
  (void)Kel::CharIndexAtX(text, canvas.Font(), static_cast<int>(size) - 4);
  for (int index = -1; index < 4; ++index) (void)Kel::ExtractField(text, index, QLatin1Char(';'));
  return 0;
}
