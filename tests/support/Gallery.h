#pragma once
// Pictures of widgets for people to look at: each is written to the build folder's gallery/
// (next to bin/) at a device pixel ratio of 1 and 2, so that after the tests anyone can see what
// the widgets paint, sharp on a high-density screen too. A dark palette shows that the widgets
// take their colours from the palette.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QString>
#include <QWidget>
#include <vector>

namespace Kel::Testing {

inline QString GalleryDir() {
  const QString dir = QDir(QStringLiteral(KEL_BIN_DIR)).absoluteFilePath(QStringLiteral("../gallery"));
  QDir().mkpath(dir);
  return QDir::cleanPath(dir);
}

// A widget and where it goes in the picture (windows: their place on the screen relative to
// the first one).
struct TGalleryPart {
  QWidget* Widget;
  QPoint Offset;
};

// The widgets rendered into one picture at a device pixel ratio.
inline QImage RenderParts(const std::vector<TGalleryPart>& parts, qreal ratio) {
  QRect bounds;
  for (const TGalleryPart& part : parts) bounds |= QRect(part.Offset, part.Widget->size());
  QImage image((bounds.size() * ratio), QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(parts.front().Widget->palette().color(QPalette::Window));
  QPainter painter(&image);
  for (const TGalleryPart& part : parts)
    part.Widget->render(&painter, part.Offset - bounds.topLeft(), QRegion(),
                        QWidget::DrawWindowBackground | QWidget::DrawChildren);
  return image;
}

// Writes <name>@1x.png and <name>@2x.png; returns the file names written.
inline QStringList SaveGalleryPictures(const QString& name, const std::vector<TGalleryPart>& parts) {
  QStringList written;
  for (int ratio : {1, 2}) {
    const QString file = QDir(GalleryDir()).filePath(QStringLiteral("%1@%2x.png").arg(name).arg(ratio));
    if (RenderParts(parts, ratio).save(file)) written.append(file);
  }
  return written;
}

// A dark palette of the kind desktop themes use, with every role set (the 3-D roles included).
inline QPalette DarkPalette() {
  QPalette p;
  const QColor window(53, 53, 53), base(35, 35, 35), text(230, 230, 230), disabled(127, 127, 127);
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, QColor(45, 45, 45));
  p.setColor(QPalette::ToolTipBase, QColor(60, 60, 40));
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::PlaceholderText, disabled);
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, window);
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::BrightText, QColor(255, 80, 80));
  p.setColor(QPalette::Light, QColor(90, 90, 90));
  p.setColor(QPalette::Midlight, QColor(70, 70, 70));
  p.setColor(QPalette::Mid, QColor(40, 40, 40));
  p.setColor(QPalette::Dark, QColor(25, 25, 25));
  p.setColor(QPalette::Shadow, QColor(10, 10, 10));
  p.setColor(QPalette::Highlight, QColor(42, 130, 218));
  p.setColor(QPalette::HighlightedText, QColor(255, 255, 255));
  p.setColor(QPalette::Link, QColor(90, 160, 240));
  p.setColor(QPalette::Disabled, QPalette::Text, disabled);
  p.setColor(QPalette::Disabled, QPalette::WindowText, disabled);
  p.setColor(QPalette::Disabled, QPalette::ButtonText, disabled);
  return p;
}

}  // namespace Kel::Testing
