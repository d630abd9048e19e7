#include "KelWidgetPlugin.h"

#include <QtDesigner/QDesignerFormWindowInterface>

#include "KelCustomControl.h"
#include "KelDesignState.h"
#include "KelTaskMenus.h"

namespace Kel::Designer {

TKelWidgetPlugin::TKelWidgetPlugin(TKelWidgetEntry entry, QObject* parent)
    : QObject(parent), entry_(std::move(entry)) {}

void TKelWidgetPlugin::initialize(QDesignerFormEditorInterface* core) {
  if (core_) return;
  core_ = core;
  PrepareFormEditor(core);
}

QWidget* TKelWidgetPlugin::createWidget(QWidget* parent) {
  QWidget* widget = entry_.Create(parent);
  if (core_ && QDesignerFormWindowInterface::findFormWindow(parent)) {
    if (auto* control = qobject_cast<TKelCustomControl*>(widget))
      control->SetDesigning(true);
    else
      SetObjectDesigning(widget, true);
  }
  return widget;
}

QString TKelWidgetPlugin::domXml() const {
  QString geometry;
  if (entry_.DefaultSize.isValid()) {
    geometry = QStringLiteral(
                   "  <property name=\"geometry\"><rect><x>0</x><y>0</y>"
                   "<width>%1</width><height>%2</height></rect></property>\n")
                   .arg(entry_.DefaultSize.width())
                   .arg(entry_.DefaultSize.height());
  }
  return QStringLiteral(
             "<ui language=\"c++\">\n <widget class=\"%1\" name=\"%2\">\n%3 </widget>\n</ui>\n")
      .arg(entry_.ClassName, entry_.ObjectName, geometry);
}

TKelDesignerCollection::TKelDesignerCollection(QObject* parent) : QObject(parent) {
  for (const TKelWidgetEntry& entry : WidgetCatalog())
    widgets_ << new TKelWidgetPlugin(entry, this);
}

}  // namespace Kel::Designer
