#pragma once
// The Designer plugin of the library: TKelDesignerCollection lists one TKelWidgetPlugin per
// published control, all in the widget box group "Kel".
//
// A control that Designer places on a form (or reads from a .ui file into a form) is put into the
// design state (KelDesignState.h), so the library's design-time rules hold there. What Designer
// makes outside a form window, a form preview among them, and what QUiLoader makes in a running
// program, are ordinary controls.

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include "KelWidgetCatalog.h"

class QDesignerFormEditorInterface;

namespace Kel::Designer {

class TKelWidgetPlugin : public QObject, public QDesignerCustomWidgetInterface {
  Q_OBJECT
  Q_INTERFACES(QDesignerCustomWidgetInterface)

 public:
  TKelWidgetPlugin(TKelWidgetEntry entry, QObject* parent);

  QString name() const override { return entry_.ClassName; }
  QString group() const override { return QStringLiteral("Kel"); }
  QString toolTip() const override { return entry_.ToolTip; }
  QString whatsThis() const override { return entry_.WhatsThis; }
  QString includeFile() const override { return entry_.IncludeFile; }
  QIcon icon() const override { return entry_.Icon(); }
  bool isContainer() const override { return false; }
  QWidget* createWidget(QWidget* parent) override;
  bool isInitialized() const override { return core_ != nullptr; }
  void initialize(QDesignerFormEditorInterface* core) override;
  QString domXml() const override;

 private:
  TKelWidgetEntry entry_;
  QDesignerFormEditorInterface* core_ = nullptr;
};

class TKelDesignerCollection : public QObject, public QDesignerCustomWidgetCollectionInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
  Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

 public:
  explicit TKelDesignerCollection(QObject* parent = nullptr);
  QList<QDesignerCustomWidgetInterface*> customWidgets() const override { return widgets_; }

 private:
  QList<QDesignerCustomWidgetInterface*> widgets_;
};

}  // namespace Kel::Designer
