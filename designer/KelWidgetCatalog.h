#pragma once
// The library's controls as Qt Designer offers them: one entry per published control with what
// the widget box and the form need (class, header, texts, icon, size) and how to make one.

#include <QIcon>
#include <QList>
#include <QSize>
#include <QString>
#include <functional>

class QWidget;

namespace Kel::Designer {

struct TKelWidgetEntry {
  // The class as the meta system names it (Kel::TKelFltBox): Designer matches widgets by it and
  // uic writes it into the generated code.
  QString ClassName;
  // The unit header a program includes for it.
  QString IncludeFile;
  // The object name a new one gets (Designer numbers further ones).
  QString ObjectName;
  QString ToolTip;
  QString WhatsThis;
  QSize DefaultSize;
  std::function<QWidget*(QWidget* parent)> Create;
  std::function<QIcon()> Icon;
};

// Every published control, in the order of the widget box.
const QList<TKelWidgetEntry>& WidgetCatalog();

}  // namespace Kel::Designer
