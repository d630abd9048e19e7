// The Designer plugin: it offers every published control, a form read by QUiLoader at run time
// restores what a .ui file sets, and a form in Designer's own form editor is in the design state,
// keeps its task-menu data out of the property editor and writes what it holds back into the .ui.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPluginLoader>
#include <QSet>
#include <QTimer>
#include <QUiLoader>
#include <QUndoStack>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionManager>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <memory>

#include "../filters/FilterTestData.h"
#include "ClassRegistry.h"
#include "KelBtPan.h"
#include "KelCalc.h"
#include "KelCalendar.h"
#include "KelCalendarEdit.h"
#include "KelDBListBox.h"
#include "KelDesignState.h"
#include "KelFltBoxMem.h"
#include "KelForms.h"

namespace Kel {
namespace {

QString PluginFile() {
  const QDir dir(QStringLiteral(KEL_DESIGNER_PLUGIN_DIR));
  const QStringList files = dir.entryList({QStringLiteral("*keldesigner*")}, QDir::Files);
  return files.isEmpty() ? QString() : dir.filePath(files.front());
}

QDesignerCustomWidgetCollectionInterface* Collection() {
  static QPluginLoader loader(PluginFile());
  return qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
}

// Two conditions on the orders table, in the text form the filter box stores in a form, and the
// filter they make.
struct TConditions {
  QByteArray Text;
  QString Filter;
};
TConditions SampleConditions(TDataSet* orders) {
  TKelFltBox box;
  box.SetDataSet(orders);
  Testing::AddCondition(*box.Builder(), "Name", "contains", Variant("ar"));
  Testing::AddCondition(*box.Builder(), "Score", "more than", Variant(3));
  return {box.ItemsText(), box.FilterStr()};
}

QString AllWidgetsUi(const QByteArray& items) {
  QFile file(QStringLiteral(KEL_TEST_DATA_DIR "/AllWidgets.ui"));
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(file.readAll())
      .replace(QStringLiteral("@ITEMS@"), QString::fromUtf8(items).toHtmlEscaped());
}

std::unique_ptr<QWidget> LoadAtRunTime(const QString& ui) {
  QUiLoader loader;
  loader.clearPluginPaths();
  loader.addPluginPath(QStringLiteral(KEL_DESIGNER_PLUGIN_DIR));
  QByteArray bytes = ui.toUtf8();
  QBuffer buffer(&bytes);
  std::unique_ptr<QWidget> form(loader.load(&buffer));
  EXPECT_TRUE(form) << loader.errorString().toStdString();
  return form;
}

template <typename T>
T* Find(QWidget* form, const char* name) {
  T* widget = form ? form->findChild<T*>(QString::fromLatin1(name)) : nullptr;
  EXPECT_TRUE(widget) << name;
  return widget;
}

// What AllWidgets.ui sets, read back from the controls (the form's values, whoever made them).
void ExpectAllWidgetsValues(QWidget* form, const QString& filter) {
  auto* fltBox = Find<TKelFltBox>(form, "fltBox");
  auto* calendar = Find<TKelCalendar>(form, "calendar");
  auto* calendarEdit = Find<TKelCalendarEdit>(form, "calendarEdit");
  auto* calculator = Find<TKelCalculator>(form, "calculator");
  auto* display = Find<TKelCalcDisplay>(form, "calcDisplay");
  auto* calcEdit = Find<TKelCalcEdit>(form, "calcEdit");
  auto* panel = Find<TKelBtnPanel>(form, "btnPanel");
  auto* lookup = Find<TKelLookupListBox>(form, "lookupListBox");
  auto* listBox = Find<TKelPrmListBox>(form, "prmListBox");
  if (!fltBox || !calendar || !calendarEdit || !calculator || !display || !calcEdit || !panel ||
      !lookup || !listBox)
    return;
  EXPECT_FALSE(fltBox->CheckBoxes());
  EXPECT_FALSE(fltBox->ShowAddItem());
  EXPECT_EQ(fltBox->AllowedUsageIDs(), "0,1");
  EXPECT_TRUE(fltBox->ExcludeBlobs());
  EXPECT_EQ(fltBox->Options(), (TKelFltBoxOptions{fboCanAdd, fboCanDelete}));
  EXPECT_EQ(fltBox->Items()->Count(), 2);
  const std::unique_ptr<TMemDataSet> orders = Testing::MakeOrders();
  fltBox->SetDataSet(orders.get());
  EXPECT_EQ(fltBox->FilterStr(), filter);
  fltBox->SetDataSet(nullptr);
  EXPECT_EQ(listBox->LinkColor(), clRed);
  EXPECT_FALSE(listBox->HideFocus());
  EXPECT_TRUE(calendar->ShowWeekNumbers());
  EXPECT_EQ(calendar->WeekDayNames(), wdlThree);
  EXPECT_EQ(calendar->FirstDayOfWeek(), dwMonday);
  EXPECT_EQ(calendar->WorkDays(), (TKelWeekDays{dwMonday, dwWednesday}));
  EXPECT_EQ(calendar->BorderEdges(), (TBevelEdges{beLeft, beTop}));
  EXPECT_EQ(calendar->SelectKind(), skWeekSel);
  EXPECT_EQ(calendarEdit->PopupKind(), cpkDateTime);
  EXPECT_FALSE(calendarEdit->TodayButton());
  EXPECT_TRUE(calendarEdit->NoneButton());
  EXPECT_TRUE(calendarEdit->ReadOnly());
  EXPECT_EQ(calculator->Precision(), 8);
  EXPECT_TRUE(calculator->BeepOnError());
  EXPECT_EQ(calculator->BorderStyle(), bsSingle);
  EXPECT_EQ(display->Text(), "42");
  EXPECT_EQ(display->BorderStyle(), bsNone);
  EXPECT_EQ(calcEdit->Value(), 12.5);
  EXPECT_EQ(panel->DefButtons(), pbCustom);
  EXPECT_EQ(panel->DefButtonSet(), (TKelButtonSet{btYes, btNo}));
  EXPECT_EQ(panel->ButtonCaptions(), QStringList({"Alpha", "Beta"}));
  EXPECT_EQ(panel->ButtonList()->Count(), 2);
  EXPECT_EQ(panel->ButtonWidth(), 90);
  EXPECT_EQ(panel->HorzAlign(), haLeft);
  EXPECT_FALSE(lookup->TrackScrollBar());
  EXPECT_FALSE(lookup->ProportionalThumb());
}

TEST(DesignerPlugin, OffersEveryPublishedControlOfTheClassRegistry) {
  QDesignerCustomWidgetCollectionInterface* collection = Collection();
  ASSERT_TRUE(collection) << PluginFile().toStdString();
  QSet<QString> offered;
  for (QDesignerCustomWidgetInterface* widget : collection->customWidgets()) {
    offered << widget->name();
    EXPECT_EQ(widget->group(), "Kel");
    EXPECT_FALSE(widget->icon().isNull()) << widget->name().toStdString();
    EXPECT_FALSE(widget->toolTip().isEmpty()) << widget->name().toStdString();
    EXPECT_TRUE(widget->domXml().contains(QStringLiteral("class=\"%1\"").arg(widget->name())));
  }
  // The library's own controls: registered widget classes of the library that are not popups.
  QSet<QString> published;
  for (const QMetaObject* meta : RegisteredClasses()) {
    const QString name = QString::fromLatin1(meta->className());
    if (meta->inherits(&QWidget::staticMetaObject) && name.startsWith("Kel::TKel") &&
        !meta->inherits(&TKelPopupForm::staticMetaObject))
      published << name;
  }
  EXPECT_EQ(offered, published);
}

TEST(DesignerPlugin, UiLoaderRestoresEveryPropertyOfTheFormAtRunTime) {
  const std::unique_ptr<TMemDataSet> orders = Testing::MakeOrders();
  const TConditions conditions = SampleConditions(orders.get());
  const std::unique_ptr<QWidget> form = LoadAtRunTime(AllWidgetsUi(conditions.Text));
  ASSERT_TRUE(form);
  ExpectAllWidgetsValues(form.get(), conditions.Filter);
  // A running program's controls are not being designed.
  EXPECT_FALSE(Find<TKelFltBox>(form.get(), "fltBox")->IsDesigning());
  EXPECT_FALSE(IsObjectDesigning(Find<TKelBtnPanel>(form.get(), "btnPanel")));
}

// Designer's own form editor, without its main window: the plugin is loaded from the build.
class DesignerFormEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedPaths_ = QCoreApplication::libraryPaths();
    QCoreApplication::setLibraryPaths(
        {QDir(QStringLiteral(KEL_DESIGNER_PLUGIN_DIR "/..")).absolutePath()});
    QDesignerComponents::initializeResources();
    core_.reset(QDesignerComponents::createFormEditor(nullptr));
    new QDesignerIntegration(core_.get(), core_.get());
    QDesignerComponents::initializePlugins(core_.get());
    form_ = core_->formWindowManager()->createFormWindow(nullptr);
  }
  void TearDown() override {
    delete form_;
    core_.reset();
    QCoreApplication::setLibraryPaths(savedPaths_);
  }

  QStringList savedPaths_;
  std::unique_ptr<QDesignerFormEditorInterface> core_;
  QDesignerFormWindowInterface* form_ = nullptr;
};

TEST_F(DesignerFormEditorTest, AFormIsDesignedWithTheLibrarysRulesAndSavedBackWhole) {
  const std::unique_ptr<TMemDataSet> orders = Testing::MakeOrders();
  const TConditions conditions = SampleConditions(orders.get());
  form_->setContents(AllWidgetsUi(conditions.Text));
  ASSERT_TRUE(form_->mainContainer());
  auto* fltBox = Find<TKelFltBox>(form_->mainContainer(), "fltBox");
  auto* calendar = Find<TKelCalendar>(form_->mainContainer(), "calendar");
  auto* panel = Find<TKelBtnPanel>(form_->mainContainer(), "btnPanel");
  ASSERT_TRUE(fltBox && calendar && panel);

  // The design state, with the rules the library has for it.
  EXPECT_TRUE(fltBox->IsDesigning());
  EXPECT_TRUE(fltBox->Builder()->ComponentState().Contains(csDesigning));
  EXPECT_TRUE(fltBox->Items()->Items(0)->IsDesigning());
  EXPECT_TRUE(IsObjectDesigning(panel));

  // The sets are flags in the property editor; the stored texts are out of sight but kept.
  QExtensionManager* extensions = core_->extensionManager();
  auto* calendarSheet = qt_extension<QDesignerPropertySheetExtension*>(extensions, calendar);
  auto* boxSheet = qt_extension<QDesignerPropertySheetExtension*>(extensions, fltBox);
  ASSERT_TRUE(calendarSheet && boxSheet);
  EXPECT_TRUE(calendarSheet->isVisible(calendarSheet->indexOf("WorkDays")));
  const int itemsIndex = boxSheet->indexOf("ItemsText");
  EXPECT_FALSE(boxSheet->isVisible(itemsIndex));
  EXPECT_TRUE(boxSheet->isChanged(itemsIndex));
  EXPECT_TRUE(qt_extension<QDesignerTaskMenuExtension*>(extensions, panel));

  // The filter box's task menu saves its conditions into a memory slot: a system slot, made at
  // design time; the form's history undoes it.
  auto* menu = qt_extension<QDesignerTaskMenuExtension*>(extensions, fltBox);
  ASSERT_TRUE(menu);
  QAction* saveToSlot = nullptr;
  for (QAction* action : menu->taskActions())
    if (action->text().startsWith("Save to Memory")) saveToSlot = action;
  ASSERT_TRUE(saveToSlot);
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<TSievraMemForm*>(QApplication::activeModalWidget());
    if (!dialog) return;
    dialog->findChild<QLineEdit*>()->setText("Standard");
    dialog->accept();
  });
  saveToSlot->trigger();
  ASSERT_EQ(fltBox->MemorySlots()->Count(), 1);
  EXPECT_TRUE(fltBox->MemorySlots()->Items(0)->SystemSlot());
  EXPECT_TRUE(boxSheet->isChanged(boxSheet->indexOf("MemorySlotsText")));
  form_->commandHistory()->undo();
  EXPECT_EQ(fltBox->MemorySlots()->Count(), 0);
  form_->commandHistory()->redo();

  // Changes through the form (as the property editor makes them) are saved too.
  form_->cursor()->setWidgetProperty(calendar, "WorkDays",
                                     QVariant::fromValue(TKelWeekDayFlags(wfFriday)));
  const QString saved = form_->contents();
  const std::unique_ptr<QWidget> loaded = LoadAtRunTime(saved);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(Find<TKelCalendar>(loaded.get(), "calendar")->WorkDays(), TKelWeekDays{dwFriday});
  auto* loadedBox = Find<TKelFltBox>(loaded.get(), "fltBox");
  ASSERT_EQ(loadedBox->MemorySlots()->Count(), 1);
  EXPECT_TRUE(loadedBox->MemorySlots()->Items(0)->SystemSlot());
  // Everything else as the file had it.
  form_->cursor()->setWidgetProperty(calendar, "WorkDays",
                                     QVariant::fromValue(wfMonday | wfWednesday));
  const std::unique_ptr<QWidget> again = LoadAtRunTime(form_->contents());
  ExpectAllWidgetsValues(again.get(), conditions.Filter);
}

}  // namespace
}  // namespace Kel
