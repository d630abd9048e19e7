// The calculator and its display as a screen reader meets them: 27 named buttons pressed
// through their actions, greyed memory buttons disabled and reported when the memory changes,
// and the display's text readable and reported as it changes; the lookup list's rows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSet>
#include <QVBoxLayout>

#include "AccessTestSupport.h"
#include "DataSource.h"
#include "KelAccessible.h"
#include "KelCalcDisplay.h"
#include "KelCalculator.h"
#include "KelDBListBox.h"
#include "MemDataSet.h"

namespace Kel {
namespace {

using namespace Testing;

class AccessibleCalcTest : public ::testing::Test {
 protected:
  AccessibleCalcTest() {
    auto* layout = new QVBoxLayout(&window_);
    display_ = new TKelCalcDisplay(&window_);
    calculator_ = new TKelCalculator(&window_);
    layout->addWidget(display_);
    layout->addWidget(calculator_);
    calculator_->SetAssociate(display_);
    window_.show();
  }
  QAccessibleInterface* Button(const QString& name) {
    QAccessibleInterface* calc = Accessible(calculator_);
    for (int i = 0; i < calc->childCount(); ++i)
      if (calc->child(i)->text(QAccessible::Name) == name) return calc->child(i);
    return nullptr;
  }
  void Press(const QString& name) { Do(Button(name), QAccessibleActionInterface::pressAction()); }
  QString DisplayText() {
    QAccessibleTextInterface* text = Accessible(display_)->textInterface();
    return text ? text->text(0, text->characterCount()) : QString("<no text interface>");
  }

  QWidget window_;
  TKelCalcDisplay* display_;
  TKelCalculator* calculator_;
};

TEST_F(AccessibleCalcTest, EveryButtonHasANameAndPressesThroughItsAction) {
  QAccessibleInterface* calc = Accessible(calculator_);
  ASSERT_EQ(calc->childCount(), 27);
  QSet<QString> names;
  for (int i = 0; i < 27; ++i) {
    QAccessibleInterface* button = calc->child(i);
    EXPECT_EQ(button->role(), QAccessible::Button);
    EXPECT_EQ(calc->indexOfChild(button), i);
    EXPECT_FALSE(button->rect().isEmpty());
    names.insert(button->text(QAccessible::Name));
  }
  EXPECT_EQ(names.size(), 27) << "two buttons share a name";
  ASSERT_NE(Button("square root"), nullptr);
  EXPECT_EQ(Button("memory recall")->text(QAccessible::Description), "MR");
  EXPECT_EQ(Button("7")->text(QAccessible::Description), "");
  const QPoint centre = Button("8")->rect().center();
  EXPECT_EQ(calc->childAt(centre.x(), centre.y()), Button("8"));

  for (const char* name : {"7", "plus", "8", "equals"}) Press(name);
  EXPECT_EQ(display_->Text(), "15");
  EXPECT_EQ(DisplayText(), "15");
  EXPECT_EQ(Accessible(display_)->text(QAccessible::Name), "Calculator display");
  // The calculator says which control shows its results.
  const auto controlled = calc->relations(QAccessible::Controller);
  ASSERT_EQ(controlled.size(), 1);
  EXPECT_EQ(controlled.first().first->object(), display_);
}

TEST_F(AccessibleCalcTest, GreyedButtonsAreDisabledAndTheirChangesReported) {
  EXPECT_TRUE(Button("memory recall")->state().disabled);
  EXPECT_TRUE(Button("memory clear")->state().disabled);
  TReportLog log;
  Press("4");
  Press("memory store");
  EXPECT_FALSE(Button("memory recall")->state().disabled);
  EXPECT_TRUE(log.Has(calculator_, TKelAccessibleChange::State, int(ckMemRecall)));
  EXPECT_TRUE(log.Has(display_, TKelAccessibleChange::Value, QString("0")));
  auto events = AccessibleEventsFor(calculator_, TKelAccessibleChange::State, int(ckMemRecall));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0]->accessibleInterface(), Button("memory recall"));
  events = AccessibleEventsFor(display_, TKelAccessibleChange::Value, QString("0"));
  ASSERT_EQ(events.size(), 1u);
  auto* update = static_cast<QAccessibleTextUpdateEvent*>(events[0].get());
  EXPECT_EQ(update->textRemoved(), "0");
  EXPECT_EQ(update->textInserted(), "4");
  calculator_->setEnabled(false);
  EXPECT_TRUE(Button("7")->state().disabled);
  Press("7");
  EXPECT_EQ(display_->Text(), "4");
}

TEST(AccessibleLookupListTest, RowsAreNamedByTheirRecordsAndPressPicksThem) {
  TMemDataSet data;
  data.AddField("Id", ftInteger);
  data.AddField("Name", ftString, 20);
  data.AppendRecords({{1, "Angel"}, {2, "Barracuda"}, {3, "Cod"}});
  data.Open();
  TDataSource source;
  source.SetDataSet(&data);
  TKelLookupListBox list;
  list.SetListSource(&source);
  list.SetKeyField("Id");
  list.SetListField("Name;Id");
  list.resize(200, 120);
  list.show();
  QAccessibleInterface* iface = Accessible(&list);
  ASSERT_EQ(iface->childCount(), 3);
  EXPECT_EQ(iface->role(), QAccessible::List);
  EXPECT_EQ(iface->child(1)->role(), QAccessible::ListItem);
  EXPECT_EQ(iface->child(1)->text(QAccessible::Name), "Barracuda 2");
  Do(iface->child(2), QAccessibleActionInterface::pressAction());
  EXPECT_EQ(list.KeyValue(), Variant(3));
  EXPECT_TRUE(iface->child(2)->state().selected);
  EXPECT_FALSE(iface->child(1)->state().selected);
}

}  // namespace
}  // namespace Kel
