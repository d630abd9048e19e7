// The parameter list box driven by real mouse and key events: row geometry and hit edges, the
// add row, scrolling and the vertical thumb, check boxes, the key layout, structure editing and
// dragging, the editors, and the saved forms with damaged input.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <random>

#include "Exceptions.h"
#include "Fields.h"
#include "Gallery.h"
#include "ScopedRegistryFile.h"
#include "KelDBListBox.h"
#include "KelFltBoxMem.h"
#include "KelListBox.h"
#include "KelMessageBox.h"
#include "KelPrmListActions.h"
#include "Menus.h"
#include "KelStdCtrls.h"
#include "MemDataSet.h"
#include "MessageBeep.h"
#include "PrmListBoxWindow.h"
#include "Streams.h"

namespace Kel {
namespace {

class PrmListBoxTest : public Testing::PrmListBoxWindow {
 protected:
  // Items "Item i" with the given levels.
  void AddItems(std::initializer_list<int> levels) {
    for (int level : levels) {
      TKelListItem* item = box_->Items()->Add();
      item->SetCaption(QStringLiteral("Item %1").arg(box_->Items()->Count() - 1));
      item->SetIndentLev(level);
    }
  }
  void AddItems(int count) {
    for (int i = 0; i < count; ++i) AddItems({0});
  }
  // Sizes the client area to hold rows whole rows.
  void ClientRows(int rows) {
    box_->setFixedHeight(rows * box_->ItemHeight() + 2 * box_->ClientOrigin().y() +
                         (box_->HorzScrollBar()->isVisible() ? box_->HorzScrollBar()->height() : 0));
    QApplication::processEvents();
  }
  QPoint At(int x, int y) const { return box_->ClientOrigin() + QPoint(x, y); }
  void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(box_, button, Qt::NoModifier, At(x, y));
  }
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(box_, key, modifiers);
  }
  QList<int> Levels() const {
    QList<int> levels;
    for (int i = 0; i < box_->Items()->Count(); ++i)
      levels.append(box_->Items()->Items(i)->IndentLev());
    return levels;
  }
  QStringList Captions() const {
    QStringList captions;
    for (int i = 0; i < box_->Items()->Count(); ++i)
      captions.append(box_->Items()->Items(i)->Caption());
    return captions;
  }
  TKelPopupListBox* OpenList() const { return qobject_cast<TKelPopupListBox*>(box_->Popup()); }
};

TEST_F(PrmListBoxTest, PublishedDefaults) {
  TKelPrmListBox box;
  EXPECT_TRUE(box.CheckBoxes());
  EXPECT_FALSE(box.ShowAddItem());
  EXPECT_EQ(box.AddItemText(), "<Click here to add item>");
  EXPECT_FALSE(box.IsAddItemTextStored());
  EXPECT_EQ(box.LinkColor(), 8388608);
  EXPECT_EQ(box.HoverLinkColor(), 255);
  EXPECT_EQ(box.SelColor(), 12632256);
  EXPECT_EQ(box.ClickHereColor(), clInactiveCaption);
  EXPECT_TRUE(box.HideFocus());
  EXPECT_EQ(box.Options().Bits(), 511u);
  EXPECT_EQ(box.SaveFileExt(), ".flt");
  EXPECT_EQ(box.SaveFileCat(), "Filters");
  EXPECT_EQ(box.ItemIndex(), -1);
  EXPECT_EQ(box.size(), QSize(160, 97));
  EXPECT_EQ(box.Items()->LinkTag(), "<c:Navy>");
  EXPECT_EQ(box.Items()->HoverLinkTag(), "<c:Red>");
  box.SetAddItemText("other");
  EXPECT_TRUE(box.IsAddItemTextStored());
  EXPECT_EQ(box.FileFilter(), "Filters (*.flt)|*.flt");
  box.SetSaveFileExt("flt");
  EXPECT_EQ(box.FileFilter(), "Filters (*.flt)|*.flt");
  // Another extension stays part of the name ("report.2024" keeps its last part).
  EXPECT_EQ(box.WithSaveFileExt("/tmp/a.txt"), "/tmp/a.txt.flt");
  EXPECT_EQ(box.WithSaveFileExt("/tmp/report.2024"), "/tmp/report.2024.flt");
  EXPECT_EQ(box.WithSaveFileExt("/tmp/a"), "/tmp/a.flt");
  EXPECT_EQ(box.WithSaveFileExt("/tmp/a.FLT"), "/tmp/a.FLT");
}

// The save dialog suggests "untitled.flt" even when SaveFileExt has no dot, and a name that the
// extension turns into an existing file is replaced only when the user agrees.
TEST(PrmListBoxFiles, SavingAsksBeforeReplacingAFileTheDialogDidNotName) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString existing = dir.filePath("data.txt.flt");
  QFile file(existing);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("keep");
  file.close();
  TKelPrmListBox box;
  box.SetSaveFileExt("flt");
  box.Items()->Add()->SetCaption("one");
  QString suggested;
  const auto typeName = [&](const QString& name) {
    QTimer::singleShot(0, [&, name] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);  // (the test then hangs in the dialog until ctest ends it)
      suggested = QFileInfo(dialog->selectedFiles().value(0)).fileName();
      dialog->setDirectory(dir.path());
      dialog->selectFile(name);
      QMetaObject::invokeMethod(dialog, "accept");  // as the Save button does
    });
  };
  int asked = 0;
  int answer = mrNo;
  const TKelMessageBoxAnswer answering([&](const TKelMessage&) {
    ++asked;
    return answer;
  });
  typeName("data.txt");
  box.SaveFile();
  EXPECT_EQ(suggested, "untitled.flt");
  EXPECT_EQ(asked, 1);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "keep");
  file.close();
  answer = mrYes;
  typeName("data.txt");
  box.SaveFile();
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(box.SaveFileName(), existing);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_NE(file.readAll(), "keep");
}

TEST_F(PrmListBoxTest, RowHitEdgesExcludeTheTopAndIncludeTheBottom) {
  AddItems(3);
  const int h = box_->ItemHeight();
  EXPECT_EQ(box_->ItemAtPos({5, 0}, true), -1);  // the first pixel row belongs to no row
  EXPECT_EQ(box_->ItemAtPos({5, 1}, true), 0);
  EXPECT_EQ(box_->ItemAtPos({5, h}, true), 0);
  EXPECT_EQ(box_->ItemAtPos({5, h + 1}, true), 1);
  EXPECT_EQ(box_->ItemAtPos({5, 3 * h + 5}, true), -1);
  EXPECT_EQ(box_->ItemAtPos({5, 3 * h + 5}, false), 2);
  EXPECT_EQ(box_->ItemRect(1), (TRect{0, h, box_->ClientWidth(), 2 * h}));
}

TEST_F(PrmListBoxTest, AddRowFollowsTheItemsOrTakesTheLastWholeRow) {
  box_->SetShowAddItem(true);
  const int h = box_->ItemHeight();
  // No items: the add row is the first row.
  EXPECT_TRUE(box_->IsOnAddRow({5, 1}));
  EXPECT_EQ(box_->ItemAtPos({5, h}, true), -2);
  AddItems(2);
  EXPECT_TRUE(box_->IsOnAddRow({5, 2 * h + 1}));
  EXPECT_FALSE(box_->IsOnAddRow({5, 2 * h}));
  EXPECT_EQ(box_->ItemRect(-2).Top, 2 * h);

  // More items than fit: the add row is the last whole row and the item rows end above it.
  ClientRows(5);
  AddItems(8);
  EXPECT_EQ(box_->VisibleRows(), 4);
  EXPECT_EQ(box_->UsableHeight(), box_->ClientHeight() - h);
  EXPECT_TRUE(box_->IsOnAddRow({5, 4 * h + 1}));
  EXPECT_EQ(box_->ItemAtPos({5, 4 * h + 1}, true), -2);
  EXPECT_EQ(box_->ItemRect(-2).Top, 4 * h);

  // A click there adds an item and leaves the selection alone.
  box_->SetItemIndex(1);
  int added = 0;
  box_->OnAdditem = [&](TKelPrmListBox*, TKelListItem* item) {
    ++added;
    EXPECT_TRUE(item->Checked());
  };
  Click(5, 4 * h + 3);
  EXPECT_EQ(added, 1);
  EXPECT_EQ(box_->Items()->Count(), 11);
  EXPECT_EQ(box_->ItemIndex(), 1);
}

TEST_F(PrmListBoxTest, SelectionScrollsIntoViewAndTheThumbFollowsIt) {
  ClientRows(5);
  AddItems(10);
  box_->SetItemIndex(0);
  ASSERT_EQ(box_->VisibleRows(), 5);
  box_->SetItemIndex(9);  // below: becomes the last visible row
  EXPECT_EQ(box_->TopIndex(), 5);
  const TKelScrollInfo info = box_->VertScrollInfo();
  EXPECT_TRUE(info.Visible);
  EXPECT_EQ(info.Min, 0);
  EXPECT_EQ(info.Max, 13);
  EXPECT_EQ(info.Page, 5);
  EXPECT_EQ(info.Pos, 9);
  box_->SetItemIndex(2);  // above: becomes the first
  EXPECT_EQ(box_->TopIndex(), 2);
  box_->SetItemIndex(4);  // visible: nothing scrolls
  EXPECT_EQ(box_->TopIndex(), 2);
  box_->SetItemIndex(50);
  EXPECT_EQ(box_->ItemIndex(), 9);
  box_->SetItemIndex(-5);
  EXPECT_EQ(box_->ItemIndex(), 9);

  // The bar's requests move the selection.
  box_->VertScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(box_->ItemIndex(), 8);
  box_->VertScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(box_->ItemIndex(), 4);
  box_->VertScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(box_->ItemIndex(), 0);
  box_->VertScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(box_->ItemIndex(), 4);
  EXPECT_EQ(box_->VertScrollBar()->value(), 4);
}

TEST_F(PrmListBoxTest, TheHorizontalBarScrollsByPixelsOverTheWidestLine) {
  AddItems(2);
  EXPECT_FALSE(box_->HorzScrollInfo().Visible);
  box_->Items()->Items(1)->SetIndentLev(2);
  box_->Items()->Items(1)->SetCaption(QString(120, u'W'));
  const int widest = box_->MaxWidth();
  EXPECT_GT(widest, box_->ClientWidth());
  EXPECT_GE(widest, 2 * TKelPrmListBox::CheckSize() + box_->CheckArea());
  TKelScrollInfo info = box_->HorzScrollInfo();
  EXPECT_TRUE(info.Visible);
  EXPECT_EQ(info.Max, widest);
  EXPECT_EQ(info.Page, box_->ClientWidth());
  QScrollBar* bar = box_->HorzScrollBar();
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(box_->HorzPos(), 1);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(box_->HorzPos(), 1 + box_->ClientWidth());
  bar->triggerAction(QAbstractSlider::SliderPageStepSub);
  bar->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(box_->HorzPos(), 0);  // never negative
  // Scrolled, the hit areas move with the text.
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  int n = 0;
  int row = 0;
  box_->CharPosAt({box_->CheckArea() + 2 * TKelPrmListBox::CheckSize() + 1, box_->ItemHeight() + 3},
                  n, row);
  EXPECT_EQ(row, 1);
  EXPECT_GT(n, 1);
}

TEST_F(PrmListBoxTest, CheckBoxClicksToggleUnlessReadOnlyAndFallThroughWithoutBoxes) {
  AddItems({0, 1});
  TKelListItem* second = box_->Items()->Items(1);
  const int h = box_->ItemHeight();
  const int cell = TKelPrmListBox::CheckSize();
  Click(cell / 2, 3);
  EXPECT_FALSE(box_->Items()->Items(0)->Checked());
  EXPECT_EQ(box_->ItemIndex(), 0);
  // The indented item's box sits after its indentation; a click on the indentation does not toggle.
  Click(cell / 2, h + 3);
  EXPECT_TRUE(second->Checked());
  Click(cell + cell / 2, h + 3);
  EXPECT_FALSE(second->Checked());
  second->SetReadOnly(true);
  Click(cell + cell / 2, h + 3);
  EXPECT_FALSE(second->Checked());

  // Without check boxes the text starts at the indentation: the first character is a link.
  box_->SetCheckBoxes(false);
  TKelListItem* item = box_->Items()->Items(0);
  item->SetCaption(":Value rest");
  item->Param(0)->SetAsString("abc");
  item->Param(0)->SetPickType(ptText);
  Click(3, 3);
  EXPECT_FALSE(box_->Items()->Items(0)->Checked());  // unchanged
  EXPECT_EQ(box_->ActiveParam(), item->Param(0));
  EXPECT_NE(qobject_cast<TKelPopupEdit*>(box_->Popup()), nullptr);
}

TEST_F(PrmListBoxTest, KeyLayoutMovesSelectsAndEdits) {
  ClientRows(5);
  AddItems(12);
  box_->SetItemIndex(0);
  Press(Qt::Key_End);
  EXPECT_EQ(box_->ItemIndex(), 11);
  Press(Qt::Key_Home);
  EXPECT_EQ(box_->ItemIndex(), 0);
  Press(Qt::Key_Up);
  EXPECT_EQ(box_->ItemIndex(), 0);
  Press(Qt::Key_Down);
  EXPECT_EQ(box_->ItemIndex(), 1);
  Press(Qt::Key_PageDown);
  EXPECT_EQ(box_->ItemIndex(), 5);
  Press(Qt::Key_PageUp);
  EXPECT_EQ(box_->ItemIndex(), 1);
  Press(Qt::Key_Insert);
  EXPECT_EQ(box_->Items()->Count(), 13);

  // Left / Right walk the current parameter, skipping hidden ones.
  TKelListItem* item = box_->Items()->Items(1);
  item->SetCaption(":A :B :C");
  item->Param(1)->SetVisible(false);
  ASSERT_EQ(box_->ItemIndex(), 1);
  ASSERT_EQ(item->Params()->Count(), 3);
  box_->Items()->SetCurParam(item, 0);
  Press(Qt::Key_Right);
  EXPECT_EQ(item->CurParam(), 2);
  Press(Qt::Key_Right);  // nothing further right
  EXPECT_EQ(item->CurParam(), 2);
  Press(Qt::Key_Left);  // back over the hidden one, not trapped in front of it
  EXPECT_EQ(item->CurParam(), 0);

  // Enter edits the current parameter.
  item->Param(0)->SetPickType(ptBoolean);
  box_->Items()->SetCurParam(item, 0);
  Press(Qt::Key_Return);
  ASSERT_NE(OpenList(), nullptr);
  EXPECT_EQ(OpenList()->ListBox()->Items(), QStringList({"False", "True"}));
  QTest::keyClick(OpenList()->ListBox(), Qt::Key_Down);
  QTest::keyClick(OpenList()->ListBox(), Qt::Key_Return);
  EXPECT_TRUE(item->Param(0)->AsBoolean());

  Press(Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(box_->Items()->Count(), 0);
}

TEST_F(PrmListBoxTest, SpaceTogglesTheSelectionButNotReadOnlyItemsAndNeverTypes) {
  QString typed;
  box_->OnKeyPress = [&](TKelCustomControl*, QChar& c) { typed += c; };
  Press(Qt::Key_Space);  // no items: nothing, and the character is consumed
  AddItems(2);
  box_->SetItemIndex(1);
  Press(Qt::Key_Space);
  EXPECT_FALSE(box_->Items()->Items(1)->Checked());
  box_->Items()->Items(1)->SetReadOnly(true);
  Press(Qt::Key_Space);
  EXPECT_FALSE(box_->Items()->Items(1)->Checked());
  EXPECT_EQ(typed, "   ");  // OnKeyPress saw each, nothing went further
}

TEST_F(PrmListBoxTest, BlocksAreDeletedIndentedAndOutdentedTogether) {
  AddItems({0, 1, 2, 1, 0});
  box_->SetItemIndex(1);
  Press(Qt::Key_Delete);
  EXPECT_EQ(Captions(), QStringList({"Item 0", "Item 3", "Item 4"}));
  EXPECT_EQ(box_->ItemIndex(), 1);

  box_->Items()->Clear();
  AddItems({0, 0, 1, 0});
  EXPECT_FALSE(box_->CanIndent(0));
  EXPECT_TRUE(box_->CanIndent(1));
  box_->SetItemIndex(1);
  Press(Qt::Key_Right, Qt::ControlModifier);  // item 1 and its child go one deeper
  EXPECT_EQ(Levels(), QList<int>({0, 1, 2, 0}));
  EXPECT_FALSE(box_->CanIndent(1));  // already one deeper than its predecessor
  Press(Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(Levels(), QList<int>({0, 0, 1, 0}));

  // Without the options the keys do nothing; read-only items are never deleted.
  box_->SetOptions(TKelFltBoxOptions{fboCanAdd});
  Press(Qt::Key_Delete);
  Press(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(box_->Items()->Count(), 4);
  EXPECT_EQ(Levels(), QList<int>({0, 0, 1, 0}));
  box_->SetOptions(TKelFltBoxOptions::FromBits(511));
  box_->Items()->Items(1)->SetReadOnly(true);
  EXPECT_FALSE(box_->CanDelete());
  Press(Qt::Key_Delete);
  EXPECT_EQ(box_->Items()->Count(), 4);
  EXPECT_TRUE(box_->HasReadOnly());
}

TEST_F(PrmListBoxTest, DraggingMovesBlocksAndOntoItselfIndentsOrOutdents) {
  box_->SetEditWithMouse(true);
  AddItems({0, 0, 1, 0});
  const int h = box_->ItemHeight();
  auto drag = [&](QPoint from, QPoint to) {
    QTest::mousePress(box_, Qt::LeftButton, Qt::NoModifier, At(from.x(), from.y()));
    QTest::mouseMove(box_, At((from.x() + to.x()) / 2 + 1, (from.y() + to.y()) / 2 + 6));
    QTest::mouseMove(box_, At(to.x(), to.y()));
    QTest::mouseRelease(box_, Qt::LeftButton, Qt::NoModifier, At(to.x(), to.y()));
  };
  // The area right of the text is neither check box nor parameter: drags start there.
  const int x = box_->ClientWidth() - 20;
  drag({x - 40, 3 * h + 5}, {x, 3 * h + 5});  // item 3 onto itself, to the right: indent
  EXPECT_EQ(Levels(), QList<int>({0, 0, 1, 1}));
  drag({x, 3 * h + 5}, {x - 40, 3 * h + 5});  // to the left: outdent
  EXPECT_EQ(Levels(), QList<int>({0, 0, 1, 0}));

  drag({x, 1 * h + 5}, {x, 2 * h + 5});  // a parent onto its own child: nothing
  EXPECT_EQ(Captions(), QStringList({"Item 0", "Item 1", "Item 2", "Item 3"}));

  drag({x, 1 * h + 5}, {x, 3 * h + 5});  // item 1 (with 2) below item 3, as its first child
  EXPECT_EQ(Captions(), QStringList({"Item 0", "Item 3", "Item 1", "Item 2"}));
  EXPECT_EQ(Levels(), QList<int>({0, 0, 1, 2}));
  drag({x, 2 * h + 5}, {x, 0 * h + 5});  // upwards: item 1's block under item 0
  EXPECT_EQ(Captions(), QStringList({"Item 0", "Item 1", "Item 2", "Item 3"}));
  EXPECT_EQ(Levels(), QList<int>({0, 1, 2, 0}));

  // Downwards onto an item that has a successor: the block lands right under the target.
  box_->Items()->Clear();
  AddItems({0, 0, 0, 0});
  ASSERT_TRUE(box_->MoveItem(box_->Items()->Items(0), box_->Items()->Items(2)));
  EXPECT_EQ(Captions(), QStringList({"Item 1", "Item 2", "Item 0", "Item 3"}));
  EXPECT_EQ(Levels(), QList<int>({0, 0, 1, 0}));

  box_->SetReadOnly(true);
  drag({x, 3 * h + 5}, {x, 0 * h + 5});
  EXPECT_EQ(Captions(), QStringList({"Item 1", "Item 2", "Item 0", "Item 3"}));
}

TEST_F(PrmListBoxTest, EditorsFollowPickTypeAndDataTypeAndWriteOnlyOnAcceptance) {
  AddItems(1);
  TKelListItem* item = box_->Items()->Items(0);
  item->SetCaption("Value :V");
  TKelListParam* p = item->Param(0);
  p->SetAsString("x");
  auto edit = [&] {
    box_->SetItemIndex(0);
    Press(Qt::Key_Return);
  };

  // A string with a pick list gets the list (sorted, "Display=Value" shown by display).
  p->PickList()->SetText("Low=1\nHigh=9\nabc");
  edit();
  ASSERT_NE(OpenList(), nullptr);
  EXPECT_EQ(OpenList()->ListBox()->Items(), QStringList({"abc", "High", "Low"}));
  OpenList()->ListBox()->SetItemIndex(1);
  QTest::keyClick(OpenList()->ListBox(), Qt::Key_Return);
  EXPECT_EQ(p->AsString(false), "9");
  EXPECT_EQ(p->DisplayValue(), "High");
  EXPECT_TRUE(box_->Items()->PlainItemText(item).contains("High"));
  edit();
  OpenList()->ListBox()->SetItemIndex(0);
  QTest::keyClick(OpenList()->ListBox(), Qt::Key_Return);
  EXPECT_EQ(p->AsString(false), "abc");
  EXPECT_EQ(p->DisplayValue(), "");

  // Cancelling leaves the value.
  edit();
  OpenList()->ListBox()->SetItemIndex(1);
  QTest::keyClick(OpenList()->ListBox(), Qt::Key_Escape);
  EXPECT_EQ(p->AsString(false), "abc");

  // Without the list: the text edit; an empty text clears the value.
  p->PickList()->Clear();
  edit();
  auto* textEdit = qobject_cast<TKelPopupEdit*>(box_->Popup());
  ASSERT_NE(textEdit, nullptr);
  EXPECT_EQ(textEdit->Edit()->Text(), "abc");
  textEdit->Edit()->SetText("new text");
  QTest::keyClick(textEdit->Edit(), Qt::Key_Return);
  EXPECT_EQ(p->AsString(false), "new text");
  EXPECT_EQ(p->DataType(), FT_STRING);
  edit();
  textEdit = qobject_cast<TKelPopupEdit*>(box_->Popup());
  textEdit->Edit()->SetText("");
  QTest::keyClick(textEdit->Edit(), Qt::Key_Return);
  EXPECT_TRUE(p->IsNull());

  // Refusals: a pick list without entries and an unknown type beep; read-only is silent.
  p->SetPickType(ptPickList);
  beeps_ = 0;
  edit();
  EXPECT_EQ(beeps_, 1);
  p->SetPickType(ptLookup);
  edit();
  EXPECT_EQ(beeps_, 2);
  p->SetPickType(ptText);
  p->SetReadOnly(true);
  TKelPopupForm* before = box_->Popup();
  edit();
  EXPECT_EQ(box_->Popup(), before);
  EXPECT_EQ(beeps_, 2);
  p->SetReadOnly(false);

  // By data type: a Boolean gets the two-entry list, an unknown type a beep, a number with a
  // pick list the list (numbers without one and dates have their own editors).
  p->SetPickType(ptAuto);
  p->SetAsBoolean(false);
  edit();
  ASSERT_NE(OpenList(), nullptr);
  EXPECT_EQ(OpenList()->ListBox()->ItemIndex(), 0);
  QTest::keyClick(OpenList()->ListBox(), Qt::Key_Escape);
  EXPECT_FALSE(p->AsBoolean());
  p->SetDataType(FT_UNK);
  const int beepsBefore = beeps_;
  edit();
  EXPECT_EQ(beeps_, beepsBefore + 1);
  p->SetAsInteger(5);
  p->PickList()->SetText("Five=5\nSix=6");
  edit();  // a whole number with a list: the list
  ASSERT_NE(OpenList(), nullptr);
  EXPECT_EQ(OpenList()->ListBox()->Items(), QStringList({"Five", "Six"}));
  QTest::keyClick(OpenList()->ListBox(), Qt::Key_Escape);
  EXPECT_EQ(p->AsInteger(), 5);
  p->PickList()->Clear();
  before = box_->Popup();

  // A handler that processes the click keeps every editor closed.
  box_->OnPickParameter = [](TKelPrmListBox*, TKelListItem*, TKelListParam*, const TRect&,
                             bool& processed) { processed = true; };
  edit();
  EXPECT_EQ(box_->Popup(), before);
}

TEST_F(PrmListBoxTest, LookupEditorStoresTheKeyAndShowsTheDisplayText) {
  TMemDataSet countries;
  countries.AddField("Code", ftInteger);
  countries.AddField("Name", ftString, 20);
  countries.AppendRecords({{1, "Argentina"}, {2, "Bolivia"}, {3, "Chile"}});
  countries.Open();
  AddItems(1);
  TKelListItem* item = box_->Items()->Items(0);
  item->SetCaption("Country :C");
  TKelListParam* p = item->Param(0);
  p->SetAsInteger(2);
  p->SetLookupDataSet(&countries);
  p->SetLookupKeyField("Code");
  p->SetLookupDisplayField("Name");
  box_->SetItemIndex(0);
  Press(Qt::Key_Return);
  auto* popup = qobject_cast<TKelDBListBoxPopup*>(box_->Popup());
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(countries.FieldByName("Name")->AsString(), "Bolivia");  // positioned on the value
  QTest::keyClick(popup->ListBox(), Qt::Key_Down);
  QTest::keyClick(popup->ListBox(), Qt::Key_Return);
  EXPECT_EQ(p->AsInteger(), 3);
  EXPECT_EQ(p->DisplayValue(), "Chile");
  EXPECT_EQ(box_->LookupDef().DisplayField, "Name");
}

TEST_F(PrmListBoxTest, ActionsFollowTheBoxAndFillTheContextMenu) {
  QStringList names;
  for (TKelPrmListAction* action : box_->Actions()) names.append(action->objectName());
  EXPECT_EQ(names, QStringList({"TKelPrmListOutDent1", "TKelPrmListIndent1", "TKelPrmListClear1",
                                "TKelPrmListDelete1", "TKelPrmListAdd1", "TKelPrmListLoad1",
                                "TKelPrmListSave1", "TKelPrmListSaveToMem1",
                                "TKelPrmListLoadFromMem1"}));
  QMenu* menu = box_->DefaultPopupMenu();
  ASSERT_NE(menu, nullptr);
  QStringList texts;
  QList<int> groups;
  for (QAction* a : menu->actions()) {
    texts.append(a->isSeparator() ? "-" : a->text());
    groups.append(MenuGroupIndex(a));
  }
  EXPECT_EQ(texts, QStringList({"&Add", "&Delete", "&Clear", "-", "&Indent", "O&utdent", "-",
                                "&Open...", "&Save...", "-", "Sa&ve to Memory...",
                                "&Load from Memory..."}));
  EXPECT_EQ(groups, QList<int>({0, 20, 40, 60, 80, 100, 120, 140, 160, 180, 200, 220}));

  auto find = [&](const char* text) {
    for (TKelPrmListAction* a : box_->Actions())
      if (a->text() == text) return a;
    return static_cast<TKelPrmListAction*>(nullptr);
  };
  AddItems({0, 0});
  box_->SetItemIndex(0);
  box_->UpdateActions();
  EXPECT_TRUE(find("&Delete")->isEnabled());
  EXPECT_FALSE(find("&Indent")->isEnabled());  // item 0
  EXPECT_FALSE(find("O&utdent")->isEnabled());
  box_->SetItemIndex(1);
  box_->UpdateActions();
  EXPECT_TRUE(find("&Indent")->isEnabled());
  find("&Indent")->trigger();
  EXPECT_EQ(Levels(), QList<int>({0, 1}));
  box_->UpdateActions();
  EXPECT_TRUE(find("O&utdent")->isEnabled());
  box_->Items()->Items(0)->SetReadOnly(true);
  box_->SetReadOnly(true);
  box_->SetOptions(TKelFltBoxOptions{fboCanAdd});
  box_->UpdateActions();
  EXPECT_FALSE(find("&Clear")->isEnabled());  // a read-only item
  EXPECT_FALSE(find("&Add")->isEnabled());    // a read-only box
  EXPECT_FALSE(find("&Delete")->isVisible());
  EXPECT_TRUE(find("&Add")->isVisible());

  // A right click selects the row under it and shows the menu, with what is visible only.
  box_->SetOptions(TKelFltBoxOptions::FromBits(511));
  box_->SetReadOnly(false);
  box_->SetItemIndex(1);
  QContextMenuEvent event(QContextMenuEvent::Mouse, At(30, 3), box_->mapToGlobal(At(30, 3)));
  QApplication::sendEvent(box_, &event);
  EXPECT_EQ(box_->ItemIndex(), 0);
  ASSERT_NE(box_->MergedMenu(), nullptr);
  // With every option set all twelve entries are visible (disabled ones included).
  EXPECT_EQ(box_->MergedMenu()->actions().size(), 12);
  box_->MergedMenu()->hide();
  // Below the items: deselects.
  QContextMenuEvent below(QContextMenuEvent::Mouse, At(30, 5 * box_->ItemHeight()),
                          box_->mapToGlobal(At(30, 5 * box_->ItemHeight())));
  QApplication::sendEvent(box_, &below);
  EXPECT_EQ(box_->ItemIndex(), -1);
  if (box_->MergedMenu()) box_->MergedMenu()->hide();
}

// A box whose slot dialog runs a script instead of waiting for a user.
class TScriptedSlotsBox : public TKelPrmListBox {
 public:
  std::function<int(TSievraMemForm*)> Script;
  void SetDesign(bool value) { SetDesigning(value); }

 protected:
  int ExecMemoryForm(QDialog* form) override {
    auto* memForm = static_cast<TSievraMemForm*>(form);
    memForm->show();
    return Script(memForm);
  }
};

TEST(PrmListBoxSlots, SlotsKeepCopiesAndSystemSlotsStay) {
  TScriptedSlotsBox box;
  box.Items()->Add()->SetCaption("one");
  ASSERT_NE(box.SaveToSlot("First"), nullptr);
  box.Items()->Add()->SetCaption("two");
  TKelListMemorySlot* again = box.SaveToSlot("FIRST");  // same slot, renamed
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(box.MemorySlots()->Count(), 1);
  EXPECT_EQ(again->Name(), "FIRST");
  EXPECT_EQ(again->Items()->Count(), 2);
  EXPECT_EQ(box.SaveToSlot(""), nullptr);
  box.Items()->Clear();
  EXPECT_TRUE(box.LoadFromSlot("first"));
  ASSERT_EQ(box.Items()->Count(), 2);
  EXPECT_EQ(box.Items()->Items(1)->Caption(), "two");
  EXPECT_FALSE(box.LoadFromSlot("unknown"));

  // A slot made at design time is a system slot: kept at run time.
  box.SetDesign(true);
  ASSERT_NE(box.SaveToSlot("System"), nullptr);
  box.SetDesign(false);
  EXPECT_TRUE(box.MemorySlots()->Find("System")->SystemSlot());
  EXPECT_EQ(box.SaveToSlot("system"), nullptr);
  EXPECT_FALSE(box.CanDeleteSlot("System"));
  EXPECT_TRUE(box.CanDeleteSlot("First"));
  EXPECT_TRUE(box.CanDeleteSlot("nothing"));
}

void ClickEntry(TSievraMemForm* form, int index) {
  TListBox* list = form->ListBox();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                    list->visualItemRect(list->item(index)).center());
}

TEST(PrmListBoxSlots, DialogDeletesOnlyOnOkAndSavesUnderTheTypedName) {
  TScriptedSlotsBox box;
  box.Items()->Add()->SetCaption("one");
  box.SaveToSlot("A");
  box.SaveToSlot("B");
  // Delete A, then cancel: both slots stay.
  box.Script = [](TSievraMemForm* form) {
    EXPECT_EQ(form->windowTitle(), "Save to Memory");
    EXPECT_EQ(form->ListBox()->Items(), QStringList({"A", "B"}));
    EXPECT_FALSE(form->OkButton()->isEnabled());
    ClickEntry(form, 0);
    EXPECT_EQ(form->Edit()->Text(), "A");
    QTest::mouseClick(form->DeleteButton(), Qt::LeftButton);
    EXPECT_EQ(form->ListBox()->Items(), QStringList({"B"}));
    return int(QDialog::Rejected);
  };
  EXPECT_FALSE(box.MemoryDialog(true));
  EXPECT_EQ(box.MemorySlots()->Count(), 2);
  // Delete A, type C, OK: A goes, C comes.
  box.Script = [](TSievraMemForm* form) {
    ClickEntry(form, 0);
    QTest::mouseClick(form->DeleteButton(), Qt::LeftButton);
    form->Edit()->clear();
    QTest::keyClicks(form->Edit(), "C");
    EXPECT_TRUE(form->OkButton()->isEnabled());
    EXPECT_FALSE(form->DeleteButton()->isEnabled());
    return int(QDialog::Accepted);
  };
  EXPECT_TRUE(box.MemoryDialog(true));
  QStringList names;
  for (int i = 0; i < box.MemorySlots()->Count(); ++i) names.append(box.MemorySlots()->Items(i)->Name());
  EXPECT_EQ(names, QStringList({"B", "C"}));
  // Loading through the dialog.
  box.Items()->Clear();
  box.Script = [](TSievraMemForm* form) {
    EXPECT_EQ(form->windowTitle(), "Load from Memory");
    QTest::keyClicks(form->Edit(), "c");
    return int(QDialog::Accepted);
  };
  EXPECT_TRUE(box.MemoryDialog(false));
  EXPECT_EQ(box.Items()->Count(), 1);
}

// Delete goes by the typed name, not by the row that happens to be selected.
TEST(PrmListBoxSlots, DeleteRemovesTheSlotTheNameDenotes) {
  TScriptedSlotsBox box;
  box.Items()->Add()->SetCaption("one");
  box.SaveToSlot("Alpha");
  box.SaveToSlot("Beta");
  box.Script = [](TSievraMemForm* form) {
    ClickEntry(form, 0);  // Alpha selected
    form->Edit()->clear();
    QTest::keyClicks(form->Edit(), "beta");
    EXPECT_TRUE(form->DeleteButton()->isEnabled());
    QTest::mouseClick(form->DeleteButton(), Qt::LeftButton);
    EXPECT_EQ(form->ListBox()->Items(), QStringList({"Alpha"}));
    return int(QDialog::Accepted);
  };
  EXPECT_TRUE(box.MemoryDialog(true));
  EXPECT_NE(box.MemorySlots()->Find("Alpha"), nullptr);
}

TEST(PrmListBoxDefaults, KeyNamesTheClassAndTheContext) {
  QWidget form;
  form.setObjectName("FboxForm");
  auto* box = new TKelPrmListBox(&form);
  box->setObjectName("Sievra");
  QString key;
  box->GetDefStoreKey(key);
  EXPECT_EQ(key, "KelPrmListBox\\FboxForm.Sievra");
  box->SetDefStoreContext("Orders");
  box->GetDefStoreKey(key);
  EXPECT_EQ(key, "KelPrmListBox\\Orders");
}

TEST(PrmListBoxDefaults, StoredSlotsComeBackInTheNextBox) {
  Testing::ScopedRegistryFile registry;
  QWidget form;
  form.setObjectName("Form");
  {
    TKelPrmListBox box(&form);
    box.setObjectName("List");
    box.SetDefStoreMemory(true);
    box.Items()->Add()->SetCaption("kept in a slot");
    box.SaveToSlot("Mine");
  }  // stored as the box goes
  TKelPrmListBox next(&form);
  next.setObjectName("List");
  next.SetDefStoreMemory(true);
  next.BeginLoading();
  next.EndLoading();  // the stored defaults follow once loading is over
  EXPECT_EQ(next.MemorySlots()->Count(), 0);
  QCoreApplication::processEvents();
  ASSERT_EQ(next.MemorySlots()->Count(), 1);
  EXPECT_EQ(next.MemorySlots()->Items(0)->Name(), "Mine");
  ASSERT_EQ(next.MemorySlots()->Items(0)->Items()->Count(), 1);
  EXPECT_EQ(next.MemorySlots()->Items(0)->Items()->Items(0)->Caption(), "kept in a slot");
  // Without the switches nothing is read.
  TKelPrmListBox plain(&form);
  plain.setObjectName("List");
  plain.LoadDefaults();
  EXPECT_EQ(plain.MemorySlots()->Count(), 0);
}

TEST_F(PrmListBoxTest, ARowThatCannotBeDrawnIsEmptyAndTheOthersDraw) {
  box_->Items()->OnGetAsString = [](QObject*, TKelField*, QString& text, bool) {
    if (text == "boom") throw Exception("cannot format");
  };
  AddItems(3);
  // Each change measures the line: the broken one is skipped instead of failing the change.
  box_->Items()->Items(1)->SetCaption("Broken :X");
  box_->Items()->Items(1)->Param(0)->SetAsString("boom");
  box_->Items()->Items(2)->SetCaption("Fine :Y");
  box_->Items()->Items(2)->Param(0)->SetAsString("ok");
  const QImage image = box_->grab().toImage();
  const int h = box_->ItemHeight();
  const QPoint o = box_->ClientOrigin();
  auto inked = [&](int row) {
    const QColor background = image.pixelColor(o.x() + box_->ClientWidth() - 3, o.y() + row * h + 2);
    for (int x = o.x() + TKelPrmListBox::CheckSize() + 4; x < o.x() + 120; ++x)
      for (int y = o.y() + row * h + 2; y < o.y() + (row + 1) * h - 1; ++y)
        if (image.pixelColor(x, y) != background) return true;
    return false;
  };
  EXPECT_TRUE(inked(0));
  EXPECT_FALSE(inked(1));
  EXPECT_TRUE(inked(2));
}

TEST_F(PrmListBoxTest, TheHandCursorShowsOverLinksAndTheAddRow) {
  box_->SetShowAddItem(true);
  AddItems(1);
  TKelListItem* item = box_->Items()->Items(0);
  item->SetCaption(":V and more text");
  item->Param(0)->SetAsString("link");
  const TRect link = box_->ParamRect(item, item->Param(0), 1);
  QTest::mouseMove(box_, At(link.Left + 3, 5));
  EXPECT_EQ(box_->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseMove(box_, At(link.Right + 40, 5));
  EXPECT_NE(box_->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseMove(box_, At(10, box_->ItemHeight() + 4));  // the add row
  EXPECT_EQ(box_->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(PrmListBoxTest, TextBetweenTildes) {
  EXPECT_EQ(TKelPrmListBox::TextBetweenTildes("is ~on or after~"), "on or after");
  EXPECT_EQ(TKelPrmListBox::TextBetweenTildes("a~b"), "");
  EXPECT_EQ(TKelPrmListBox::TextBetweenTildes("abc"), "abc");
}

TEST_F(PrmListBoxTest, ChangesRepaintAndNotifyOnce) {
  AddItems(2);
  int changes = 0;
  box_->OnChange = [&](TKelPrmListBox*) { ++changes; };
  box_->Items()->Items(1)->SetChecked(false);
  EXPECT_EQ(changes, 1);
  const int before = box_->MaxWidth();
  box_->Items()->Items(1)->SetCaption("A much longer caption than before");
  EXPECT_GT(box_->MaxWidth(), before);  // the cached width followed the new text
}

// A change of one line measures that line only; the widest line must still be the one that
// measuring every line finds, also when the widest line shrinks.
TEST_F(PrmListBoxTest, TheWidestLineFollowsChangesOfSingleLines) {
  AddItems(4);
  std::mt19937 rng(7);
  const auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  for (int step = 0; step < 200; ++step) {
    TKelListItem* item = box_->Items()->Items(pick(4));
    if (pick(3) == 0)
      item->SetIndentLev(pick(4));
    else
      item->SetCaption(QString(1 + pick(60), u'W'));
    const int followed = box_->MaxWidth();
    box_->Items()->BeginUpdate();
    box_->Items()->EndUpdate();  // a change of the whole list measures every line
    ASSERT_EQ(followed, box_->MaxWidth()) << "step " << step;
  }
}

TEST_F(PrmListBoxTest, PaintsRowsWithChecksIndentsLinksAndTheAddRow) {
  TMemDataSet none;
  box_->SetShowAddItem(true);
  box_->setPalette(Testing::DarkPalette());
  box_->SetLinkColor(clAqua);
  box_->SetSelColor(clGray);
  AddItems({0, 1, 1, 0});
  TKelListItems* items = box_->Items();
  items->Items(0)->SetCaption("Name <b>is</b> :N");
  items->Items(0)->Param(0)->SetAsString("'Shark'");
  items->Items(1)->SetCaption("Length below :L cm");
  items->Items(1)->Param(0)->SetAsFloat(150);
  items->Items(2)->SetCaption("Checked off, :B");
  items->Items(2)->Param(0)->SetAsBoolean(true);
  items->Items(2)->SetChecked(false);
  items->Items(3)->SetCaption("Unset value :U");
  box_->SetItemIndex(1);
  box_->resize(340, 7 * box_->ItemHeight() + 4);
  const QStringList files = Testing::SaveGalleryPictures("listbox_rows_dark", {{box_, QPoint()}});
  EXPECT_EQ(files.size(), 2);
  // The add row shows its text below the items.
  QImage image = box_->grab().toImage();
  const int addTop = box_->ClientOrigin().y() + 4 * box_->ItemHeight();
  bool inked = false;
  const QColor base = box_->palette().color(QPalette::Base);
  for (int x = 4; x < 120 && !inked; ++x)
    for (int y = addTop + 2; y < addTop + box_->ItemHeight() - 2; ++y)
      if (image.pixelColor(x, y) != base) inked = true;
  EXPECT_TRUE(inked);
}

// ---- saved forms

// A list box that saves its captions as its text form, to exercise the base stream rules.
class TCaptionListBox : public TKelPrmListBox {
 public:
  using TKelPrmListBox::TKelPrmListBox;
  void SaveToString(QByteArray& s, int format) override {
    if (format != 0) return TKelPrmListBox::SaveToString(s, format);
    QStringList captions;
    for (int i = 0; i < Items()->Count(); ++i) captions.append(Items()->Items(i)->Caption());
    s = captions.join(u'\n').toUtf8();
  }
  void LoadFromString(const QByteArray& s, int format) override {
    if (format != 0) return TKelPrmListBox::LoadFromString(s, format);
    Items()->Clear();
    for (const QString& caption : QString::fromUtf8(s).split(u'\n', Qt::SkipEmptyParts))
      Items()->Add()->SetCaption(caption);
  }
};

TEST(PrmListBoxFiles, StreamFormIsALengthAndTheTextAndDamageLoadsNothing) {
  TCaptionListBox box;
  box.Items()->Add()->SetCaption("one");
  box.Items()->Add()->SetCaption("two");
  TMemoryStream stream;
  box.SaveToStream(stream, 0);
  const QByteArray bytes = stream.Bytes();
  ASSERT_EQ(bytes.size(), 4 + 7);
  EXPECT_EQ(bytes.left(4), QByteArray("\x07\x00\x00\x00", 4));
  EXPECT_EQ(bytes.mid(4), "one\ntwo");
  EXPECT_EQ(box.StoreLock(), 0);

  TCaptionListBox other;
  other.Items()->Add()->SetCaption("kept");
  for (int length = 0; length < bytes.size(); ++length) {
    TMemoryStream cut(bytes.left(length));
    other.LoadFromStream(cut, 0);
    ASSERT_EQ(other.Items()->Count(), 1) << length;
  }
  TMemoryStream whole(bytes);
  other.LoadFromStream(whole, 0);
  EXPECT_EQ(other.Items()->Count(), 2);

  // A negative length is damage too.
  TMemoryStream negative(QByteArray("\xff\xff\xff\xff" "abc", 7));
  other.LoadFromStream(negative, 0);
  EXPECT_EQ(other.Items()->Count(), 2);

  // The plain list box has no text form: a zero length, and loading changes nothing.
  TKelPrmListBox plain;
  TMemoryStream empty;
  plain.SaveToStream(empty, 0);
  EXPECT_EQ(empty.Bytes(), QByteArray(4, '\0'));
}

TEST(PrmListBoxFiles, AFailedSaveKeepsTheOldFile) {
  QTemporaryDir dir;
  const QString file = dir.filePath("list.flt");
  TCaptionListBox box;
  box.Items()->Add()->SetCaption("first");
  box.SaveToFile(file, 0);
  // A save that fails half-way (the text form throws) leaves the previous file as it was.
  class TFailing : public TCaptionListBox {
   public:
    void SaveToString(QByteArray&, int) override { throw Exception("disk full"); }
  } failing;
  EXPECT_THROW(failing.SaveToFile(file, 0), Exception);
  TCaptionListBox reader;
  reader.LoadFromFile(file, 0);
  ASSERT_EQ(reader.Items()->Count(), 1);
  EXPECT_EQ(reader.Items()->Items(0)->Caption(), "first");
  // A folder that does not exist is a clear error.
  EXPECT_THROW(box.SaveToFile(dir.filePath("missing/list.flt"), 0), Exception);
}

}  // namespace
}  // namespace Kel
