// The filter box as a screen reader meets it through Qt's accessibility API: lines and the add
// line as children, names without markup, the check, selection and focus states, parameters
// named by their text and described by what they edit, the press action opening the editor as
// the parameter's child, interfaces that go with their objects, and the reports the box makes
// as the user moves.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QVBoxLayout>

#include "AccessTestSupport.h"
#include "KelAccessible.h"
#include "KelFltBox.h"
#include "KelStdCtrls.h"
#include "MemDataSet.h"

namespace Kel {
namespace {

using namespace Testing;

std::unique_ptr<TMemDataSet> MakeFish() {
  auto data = std::make_unique<TMemDataSet>();
  data->AddField("Category", ftString, 20);
  data->AddField("Length", ftFloat);
  data->AppendRecords({{"Shark", 150.0}, {"Ray", 80.0}});
  data->Open();
  return data;
}

class AccessibleFltBoxTest : public ::testing::Test {
 protected:
  AccessibleFltBoxTest() : data_(MakeFish()) {
    auto* layout = new QVBoxLayout(&window_);
    box_ = new TKelFltBox(&window_);
    layout->addWidget(box_);
    box_->SetDataSet(data_.get());
    TKelFltItem* shark = box_->FltItems()->Add();
    shark->SetDataField("Category");
    shark->SetTemplate("is (exactly)");
    shark->SetValue(Variant(QStringLiteral("Shark")));
    shark->SetOperation("or");
    TKelFltItem* length = box_->FltItems()->Add();
    length->SetIndentLev(1);
    length->SetDataField("Length");
    length->SetTemplate("less than");
    length->SetValue(Variant(150.0));
    window_.resize(420, 220);
    window_.show();
    QApplication::setActiveWindow(&window_);
    box_->setFocus();
    box_->SetItemIndex(0);
  }
  QAccessibleInterface* Line(int i) { return Accessible(box_)->child(i); }

  std::unique_ptr<TMemDataSet> data_;
  QWidget window_;
  TKelFltBox* box_;
};

TEST_F(AccessibleFltBoxTest, LinesAreListItemsNamedByWhatTheyRead) {
  QAccessibleInterface* box = Accessible(box_);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->role(), QAccessible::List);
  ASSERT_EQ(box->childCount(), 3);  // two conditions and the add line
  EXPECT_EQ(Line(0)->role(), QAccessible::ListItem);
  EXPECT_EQ(Line(0)->text(QAccessible::Name), "Category is (exactly) Shark or");
  EXPECT_EQ(Line(1)->text(QAccessible::Name), "Length less than 150");  // no connector: no space
  EXPECT_EQ(Line(0)->text(QAccessible::Description), "");
  EXPECT_EQ(Line(1)->text(QAccessible::Description), "Indent level 1");
  QAccessibleInterface* add = box->child(2);
  EXPECT_EQ(add->role(), QAccessible::Button);
  EXPECT_EQ(add->text(QAccessible::Name), "Click here to add condition");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(box->indexOfChild(box->child(i)), i);
    EXPECT_EQ(box->child(i)->parent(), box);
    EXPECT_EQ(box->child(i), box->child(i)) << "a child is one object to the reader";
  }
  // A line on the screen can be found by its place.
  const QPoint centre = Line(1)->rect().center();
  EXPECT_EQ(box->childAt(centre.x(), centre.y()), Line(1));
}

TEST_F(AccessibleFltBoxTest, StatesFollowTheBoxAndTheToggleActionChecks) {
  EXPECT_TRUE(Line(0)->state().checkable);
  EXPECT_TRUE(Line(0)->state().checked);
  EXPECT_TRUE(Line(0)->state().selected);
  EXPECT_TRUE(Line(0)->state().focused);
  EXPECT_FALSE(Line(1)->state().selected);
  box_->SetItemIndex(1);
  EXPECT_FALSE(Line(0)->state().selected);
  EXPECT_TRUE(Line(1)->state().focused);
  ASSERT_TRUE(Actions(Line(0)).contains(QAccessibleActionInterface::toggleAction()));
  Do(Line(0), QAccessibleActionInterface::toggleAction());
  EXPECT_FALSE(box_->FltItems()->Items(0)->Checked());
  EXPECT_FALSE(Line(0)->state().checked);
  box_->FltItems()->Items(0)->SetReadOnly(true);
  EXPECT_FALSE(Actions(Line(0)).contains(QAccessibleActionInterface::toggleAction()));
  window_.clearFocus();
  box_->clearFocus();
  EXPECT_FALSE(Line(1)->state().focused);
}

TEST_F(AccessibleFltBoxTest, ParametersAreLinksDescribedByWhatTheyEdit) {
  QAccessibleInterface* line = Line(0);
  ASSERT_EQ(line->childCount(), 4);
  QStringList names, purposes;
  for (int k = 0; k < 4; ++k) {
    QAccessibleInterface* param = line->child(k);
    EXPECT_EQ(param->role(), QAccessible::Link);
    EXPECT_EQ(param->parent(), line);
    EXPECT_EQ(line->indexOfChild(param), k);
    EXPECT_TRUE(line->rect().contains(param->rect().center()));
    names << param->text(QAccessible::Name);
    purposes << param->text(QAccessible::Description);
  }
  EXPECT_EQ(names, QStringList({"Category", "is (exactly)", "Shark", "or"}));
  EXPECT_EQ(purposes, QStringList({"field", "operation", "value", "connector"}));
  // The current parameter is the focused one while the line has the focus.
  box_->FltItems()->SetCurParam(box_->FltItems()->Items(0), 2);
  EXPECT_TRUE(line->child(2)->state().focused);
  EXPECT_FALSE(line->child(0)->state().focused);
}

TEST_F(AccessibleFltBoxTest, PressingAParameterOpensItsEditorAsItsChild) {
  QAccessibleInterface* field = Line(1)->child(0);
  EXPECT_EQ(field->childCount(), 0);
  EXPECT_FALSE(field->state().expanded);
  ASSERT_EQ(Actions(field).first(), QAccessibleActionInterface::pressAction());
  Do(field, QAccessibleActionInterface::pressAction());
  auto* popup = qobject_cast<TKelPopupListBox*>(box_->Popup());
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(popup->isVisible());
  EXPECT_EQ(box_->ItemIndex(), 1);
  EXPECT_TRUE(field->state().expanded);
  ASSERT_EQ(field->childCount(), 1);
  QAccessibleInterface* editor = field->child(0);
  EXPECT_EQ(editor->object(), popup);
  EXPECT_EQ(editor->role(), QAccessible::Dialog);
  EXPECT_EQ(editor->text(QAccessible::Name), "Choice list");
  EXPECT_EQ(editor->parent(), field) << "the reader finds the popup from the parameter";
  popup->ClosePopup(true);
  EXPECT_EQ(field->childCount(), 0);
  // A read-only parameter offers nothing to press.
  box_->FltItems()->Items(1)->Param(0)->SetReadOnly(true);
  EXPECT_FALSE(Actions(field).contains(QAccessibleActionInterface::pressAction()));
}

TEST_F(AccessibleFltBoxTest, TheAddLineAddsAndInterfacesGoWithTheirObjects) {
  Do(Accessible(box_)->child(2), QAccessibleActionInterface::pressAction());
  ASSERT_EQ(box_->FltItems()->Count(), 3);
  EXPECT_EQ(Accessible(box_)->childCount(), 4);
  const QAccessible::Id line = QAccessible::uniqueId(Line(1));
  const QAccessible::Id param = QAccessible::uniqueId(Line(1)->child(0));
  box_->DeleteItem(1);
  // A reader holding the old line or its parameter gets nothing rather than freed memory.
  EXPECT_EQ(QAccessible::accessibleInterface(line), nullptr);
  EXPECT_EQ(QAccessible::accessibleInterface(param), nullptr);
  EXPECT_EQ(Line(1)->text(QAccessible::Name).left(8), "Category");
}

TEST_F(AccessibleFltBoxTest, TheBoxReportsWhatTheUserDoes) {
  TReportLog log;
  TKelFltItem* first = box_->FltItems()->Items(0);
  TKelFltItem* second = box_->FltItems()->Items(1);
  QTest::keyClick(box_, Qt::Key_Down);
  EXPECT_TRUE(log.Has(box_, TKelAccessibleChange::Selection, Subject(second)));
  EXPECT_TRUE(log.Has(box_, TKelAccessibleChange::Focus, Subject(second)));
  QTest::keyClick(box_, Qt::Key_Right);
  EXPECT_TRUE(log.Has(box_, TKelAccessibleChange::Focus, Subject(second->Param(second->CurParam()))));
  QTest::keyClick(box_, Qt::Key_Space);
  EXPECT_TRUE(log.Has(box_, TKelAccessibleChange::State, Subject(second)));
  QTest::keyClick(box_, Qt::Key_Insert);
  EXPECT_TRUE(log.Has(box_, TKelAccessibleChange::Structure));

  // A focus report becomes a focus event on the line; without the focus it says nothing.
  auto events = AccessibleEventsFor(box_, TKelAccessibleChange::Focus, Subject(first));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0]->type(), QAccessible::Focus);
  EXPECT_EQ(events[0]->accessibleInterface()->object(), first);
  events = AccessibleEventsFor(box_, TKelAccessibleChange::State, Subject(first));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_TRUE(static_cast<QAccessibleStateChangeEvent*>(events[0].get())->changedStates().checked);
  box_->clearFocus();
  EXPECT_TRUE(AccessibleEventsFor(box_, TKelAccessibleChange::Focus, Subject(first)).empty());
}

}  // namespace
}  // namespace Kel
