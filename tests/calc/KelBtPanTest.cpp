// The button panel: the button sets and their order, names unique in the window, default and
// cancel buttons, modal results (none on check boxes), the geometry in dialog units for every
// alignment and direction, click reports, and buttons destroyed elsewhere.
#include <gtest/gtest.h>

#include <QTest>

#include "Buttons.h"
#include "Forms.h"
#include "KelBtPan.h"
#include "KelTranslate.h"
#include "StdCtrls.h"

namespace Kel {
namespace {

class KelBtPanTest : public ::testing::Test {
 protected:
  KelBtPanTest() {
    form_.resize(400, 300);
    panel_ = new TKelBtnPanel(&form_);
    panel_->setGeometry(0, 0, 380, 120);
    panel_->OnClickButton = [this](QObject* sender, int index, TKelButtonType type) {
      EXPECT_EQ(sender, panel_);
      clicks_.push_back({index, type});
    };
  }
  QStringList Captions(const TKelCustomBtnPanel* panel) const {
    QStringList captions;
    for (int i = 0; i < panel->ButtonList()->Count(); ++i)
      captions << panel->ButtonList()->Items(i)->Control()->property("text").toString();
    return captions;
  }
  QStringList Names(const TKelCustomBtnPanel* panel) const {
    QStringList names;
    for (int i = 0; i < panel->ButtonList()->Count(); ++i)
      names << panel->ButtonList()->Items(i)->Name();
    return names;
  }
  QWidget* Button(int i) const { return panel_->ButtonList()->Items(i)->Control(); }

  QWidget form_;
  TKelBtnPanel* panel_;
  std::vector<std::pair<int, TKelButtonType>> clicks_;
};

TEST_F(KelBtPanTest, DefaultsAndButtonSets) {
  EXPECT_EQ(panel_->DefButtons(), pbFromSet);
  EXPECT_TRUE(panel_->DefButtonSet().IsEmpty());
  EXPECT_EQ(panel_->ButtonList()->Count(), 0);  // an empty set yields no buttons
  EXPECT_EQ(panel_->ButtonClassName(), "TButton");
  EXPECT_EQ(panel_->ButtonWidth(), 75);
  EXPECT_EQ(panel_->ButtonHeight(), 25);
  EXPECT_EQ(panel_->ButtonSpace(), 4);
  EXPECT_EQ(panel_->SideDistance(), 7);
  EXPECT_EQ(panel_->HorzAlign(), haRight);
  EXPECT_EQ(panel_->VertAlign(), vaBottom);
  EXPECT_EQ(TKelBtnPanel().size(), QSize(280, 150));

  panel_->SetDefButtonSet(TKelButtonSet{btSave, btYes, btHelp});
  EXPECT_EQ(Captions(panel_),
            (QStringList{"&Yes", "&Help", "&Save"}));  // in the order of the kinds
  const std::pair<TKelBtnPanelButtons, QStringList> sets[] = {
      {pbOk, {"OK"}},
      {pbOkCancel, {"OK", "Cancel"}},
      {pbOkCancelHelp, {"OK", "Cancel", "&Help"}},
      {pbClose, {"&Close"}},
      {pbCloseHelp, {"&Close", "&Help"}},
      {pbYesNo, {"&Yes", "&No"}},
      {pbAbortRetryIgnore, {"Abort", "&Retry", "&Ignore"}},
  };
  for (const auto& [set, captions] : sets) {
    panel_->SetDefButtons(set);
    EXPECT_EQ(Captions(panel_), captions) << int(set);
  }
  // A rebuild frees the buttons it replaces.
  EXPECT_EQ(panel_->findChildren<QPushButton*>().size(), 3);
}

TEST_F(KelBtPanTest, ModalResultsDefaultAndCancelButtons) {
  panel_->SetDefButtons(pbOkCancelHelp);
  auto* ok = qobject_cast<TButton*>(Button(0));
  auto* cancel = qobject_cast<TButton*>(Button(1));
  auto* help = qobject_cast<TButton*>(Button(2));
  ASSERT_TRUE(ok && cancel && help);
  EXPECT_EQ(ok->ModalResult(), mrOk);
  EXPECT_TRUE(ok->Default());
  EXPECT_FALSE(ok->Cancel());
  EXPECT_EQ(cancel->ModalResult(), mrCancel);
  EXPECT_TRUE(cancel->Cancel());
  EXPECT_EQ(help->ModalResult(), mrNone);
  panel_->SetDefButtons(pbAbortRetryIgnore);
  EXPECT_EQ(qobject_cast<TButton*>(Button(0))->ModalResult(), mrAbort);
  EXPECT_EQ(qobject_cast<TButton*>(Button(2))->ModalResult(), mrIgnore);
  panel_->SetDefButtons(pbYesNo);
  EXPECT_EQ(qobject_cast<TButton*>(Button(1))->ModalResult(), mrNo);
}

TEST_F(KelBtPanTest, NamesAreUniqueInTheWindow) {
  panel_->SetDefButtons(pbOkCancel);
  auto* second = new TKelBtnPanel(&form_);
  second->SetDefButtons(pbOk);
  EXPECT_EQ(Names(panel_), (QStringList{"OKButton1", "CancelButton1"}));
  EXPECT_EQ(Names(second), QStringList{"OKButton2"});
  EXPECT_EQ(second->ButtonList()->Items(0)->Control()->objectName(), "OKButton2");
  panel_->SetDefButtonSet(TKelButtonSet{btBrowse});
  panel_->SetDefButtons(pbFromSet);
  EXPECT_EQ(Names(panel_), QStringList{"BrowseButton1"});
  // The freed names are free again.
  panel_->SetDefButtons(pbOk);
  EXPECT_EQ(Names(panel_), QStringList{"OKButton1"});
}

TEST_F(KelBtPanTest, CustomCaptionsAreTranslatedAndReportTheirIndex) {
  const TKelTranslateTextProc previous =
      SetTranslateTextProc([](const QString& text) { return text == "Print" ? "Drucken" : text; });
  panel_->SetDefButtons(pbCustom);
  TStringList lines;
  lines.SetText("Print\nPre_view\n");
  panel_->SetButtons(&lines);
  SetTranslateTextProc(previous);
  EXPECT_EQ(Captions(panel_), (QStringList{"Drucken", "Pre_view"}));
  EXPECT_EQ(Names(panel_), (QStringList{"PrintButton1", "Pre_viewButton1"}));
  panel_->show();
  QTest::mouseClick(Button(1), Qt::LeftButton);
  QTest::mouseClick(Button(0), Qt::LeftButton);
  EXPECT_EQ(clicks_, (std::vector<std::pair<int, TKelButtonType>>{{1, btCustom}, {0, btCustom}}));
  // A button whose click the application handles itself does not report.
  int own = 0;
  dynamic_cast<TClickable*>(Button(0))->OnClick = [&](QObject*) { ++own; };
  QTest::mouseClick(Button(0), Qt::LeftButton);
  EXPECT_EQ(own, 1);
  EXPECT_EQ(clicks_.size(), 2u);
}

TEST_F(KelBtPanTest, HelpAsksForHelpBeforeReporting) {
  panel_->SetDefButtons(pbCloseHelp);
  panel_->SetHelpContext(42);
  std::vector<QString> order;
  panel_->OnHelp = [&](QObject*, int context) {
    order.push_back("help " + QString::number(context));
  };
  panel_->OnClickButton = [&](QObject*, int index, TKelButtonType type) {
    order.push_back(QString("click %1 %2").arg(index).arg(int(type)));
  };
  panel_->show();
  QTest::mouseClick(Button(1), Qt::LeftButton);
  QTest::mouseClick(Button(0), Qt::LeftButton);
  EXPECT_EQ(order, (std::vector<QString>{"help 42", "click 1 7", "click 0 6"}));
}

TEST_F(KelBtPanTest, OtherButtonClassesAndCheckBoxesWithoutModalResult) {
  panel_->SetDefButtons(pbOkCancel);
  panel_->SetButtonClassName("TCheckBox");
  EXPECT_EQ(panel_->ButtonClassName(), "TCheckBox");
  ASSERT_EQ(panel_->ButtonList()->Count(), 2);
  EXPECT_NE(qobject_cast<TCheckBox*>(Button(0)), nullptr);
  EXPECT_FALSE(Button(0)->metaObject()->indexOfProperty("ModalResult") >= 0);
  EXPECT_EQ(panel_->findChildren<TButton*>().size(), 0);
  for (const char* name : {"TRadioButton", "TSpeedButton", "TBitBtn"}) {
    panel_->SetButtonClassName(name);
    EXPECT_EQ(panel_->ButtonClassName(), name);
    EXPECT_EQ(QString(Button(1)->metaObject()->className()).section("::", -1), name);
  }
  EXPECT_EQ(qobject_cast<TButton*>(Button(0))->ModalResult(), mrOk);  // TBitBtn is a push button
  // Unknown names and classes that are no controls are ignored.
  panel_->SetButtonClassName("TNoSuchButton");
  panel_->SetButtonClassName("TStringList");
  EXPECT_EQ(panel_->ButtonClassName(), "TBitBtn");
}

TEST_F(KelBtPanTest, RightAlignedRowInDialogUnits) {
  panel_->SetDefButtons(pbOkCancelHelp);
  const int sx = DialogUnitsToPixelsX(4, panel_);
  const int dx = DialogUnitsToPixelsX(7, panel_);
  const int dy = DialogUnitsToPixelsY(7, panel_);
  EXPECT_EQ(Button(2)->geometry().right() + 1, panel_->width() - dx);
  EXPECT_EQ(Button(2)->x() - (Button(1)->geometry().right() + 1), sx);
  EXPECT_EQ(Button(1)->x() - (Button(0)->geometry().right() + 1), sx);
  EXPECT_EQ(Button(0)->geometry().bottom() + 1, panel_->height() - dy);
  EXPECT_EQ(Button(0)->size(), QSize(75, 25));
  // The panel's font sets the unit: a bigger font, wider gaps, the same button height, and
  // buttons that grow together only as far as their longest caption needs.
  QFont font = panel_->font();
  font.setPixelSize(QFontInfo(font).pixelSize() * 2);
  panel_->setFont(font);
  EXPECT_GT(panel_->width() - (Button(2)->geometry().right() + 1), dx);
  EXPECT_EQ(Button(0)->height(), 25);
  EXPECT_EQ(Button(0)->width(), Button(1)->width());
  EXPECT_GE(Button(1)->width(), Button(1)->fontMetrics().horizontalAdvance("Cancel"));
  // Resizing re-arranges.
  form_.show();
  panel_->resize(500, 200);
  EXPECT_EQ(Button(2)->geometry().right() + 1, 500 - DialogUnitsToPixelsX(7, panel_));
}

TEST_F(KelBtPanTest, EveryAlignmentAndDirection) {
  panel_->SetDefButtons(pbYesNo);
  panel_->SetButtonSpace(0);
  panel_->SetSideDistance(0);
  const int w = panel_->width(), h = panel_->height();
  panel_->SetHorzAlign(haLeft);
  panel_->NextVertAlign();  // bottom -> top
  EXPECT_EQ(panel_->VertAlign(), vaTop);
  EXPECT_EQ(Button(0)->pos(), QPoint(0, 0));
  EXPECT_EQ(Button(1)->pos(), QPoint(75, 0));
  panel_->NextHorzAlign();  // centre
  panel_->NextVertAlign();
  EXPECT_EQ(Button(0)->pos(), QPoint((w - 150) / 2, (h - 25) / 2));
  panel_->ToggleDirection();
  EXPECT_EQ(panel_->Direction(), diVertical);
  EXPECT_EQ(Button(0)->pos(), QPoint((w - 75) / 2, (h - 50) / 2));
  EXPECT_EQ(Button(1)->pos(), QPoint((w - 75) / 2, (h - 50) / 2 + 25));
  panel_->NextHorzAlign();  // right
  panel_->NextVertAlign();  // bottom
  EXPECT_EQ(Button(1)->geometry().bottomRight(), QPoint(w - 1, h - 1));
  panel_->NextHorzAlign();
  EXPECT_EQ(panel_->HorzAlign(), haLeft);
  panel_->ToggleDirection();
  EXPECT_EQ(panel_->Direction(), diHorizontal);
}

TEST_F(KelBtPanTest, ButtonsDestroyedElsewhereLeaveTheList) {
  panel_->SetDefButtons(pbAbortRetryIgnore);
  delete Button(1);
  ASSERT_EQ(panel_->ButtonList()->Count(), 3);
  EXPECT_EQ(panel_->ButtonList()->Items(1)->Control(), nullptr);
  EXPECT_EQ(panel_->ButtonList()->Items(1)->Name(), "");
  panel_->ArrangeButtons();
  EXPECT_EQ(Names(panel_), (QStringList{"AbortButton1", "IgnoreButton1"}));
  EXPECT_EQ(Button(1)->x() - (Button(0)->geometry().right() + 1), DialogUnitsToPixelsX(4, panel_));
  // Destroying the panel frees its buttons.
  QPointer<QWidget> abort = Button(0);
  delete panel_;
  EXPECT_TRUE(abort.isNull());
}

TEST_F(KelBtPanTest, WhileLoadingNothingIsBuiltOrPlaced) {
  panel_->BeginLoading();
  panel_->SetDefButtons(pbOk);
  EXPECT_EQ(panel_->ButtonList()->Count(), 0);
  // A button read from a form file, recorded in the list.
  auto* stored = new TButton(&form_);
  stored->setObjectName("OKButton1");
  panel_->ButtonList()->Add()->SetControl(stored);
  panel_->ButtonList()->Items(0)->SetControlType(btOk);
  panel_->EndLoading();
  EXPECT_EQ(stored->parentWidget(), panel_);
  EXPECT_EQ(stored->ModalResult(), mrOk);
  EXPECT_EQ(stored->geometry().right() + 1, panel_->width() - DialogUnitsToPixelsX(7, panel_));
  EXPECT_EQ(panel_->ButtonList()->Items(0)->Name(), "OKButton1");
}

TEST_F(KelBtPanTest, AssigningAListLeavesTheOtherPanelsButtons) {
  auto* other = new TKelBtnPanel(&form_);
  other->SetDefButtons(pbOkCancel);
  panel_->SetDefButtons(pbClose);
  panel_->SetButtonList(other->ButtonList());
  EXPECT_EQ(Captions(panel_), QStringList{"&Close"});  // rebuilt from DefButtons
  ASSERT_EQ(other->ButtonList()->Count(), 2);
  EXPECT_NE(other->ButtonList()->Items(0)->Control(), nullptr);
  EXPECT_EQ(other->ButtonList()->Items(0)->Control()->parentWidget(), other);
}

}  // namespace
}  // namespace Kel

namespace Kel {
namespace {

// Forms name the library's controls by class: the registry creates them.
TEST(KelCalcClasses, CreatedByClassName) {
  QWidget form;
  for (const char* name : {"TKelBtnPanel", "TKelCalculator", "TKelCalcDisplay"}) {
    QWidget* control = CreateControl(QString(name), &form);
    ASSERT_NE(control, nullptr) << name;
    EXPECT_EQ(QString(control->metaObject()->className()).section("::", -1), name);
    EXPECT_EQ(control->parentWidget(), &form);
  }
}

TEST(KelBtPanFont, UseMainFormFontGivesTheFormTheMainFormsFont) {
  QWidget mainForm;
  QFont big = mainForm.font();
  big.setPixelSize(23);
  mainForm.setFont(big);
  QWidget* previous = ApplicationMainForm();
  SetApplicationMainForm(&mainForm);
  QWidget form;
  auto* panel = new TKelBtnPanel(&form);
  panel->SetDefButtons(pbOk);
  panel->SetUseMainFormFont(true);
  // A form with a font of its own keeps it.
  QWidget ownFont;
  QFont small = ownFont.font();
  small.setPixelSize(9);
  ownFont.setFont(small);
  (new TKelBtnPanel(&ownFont))->SetUseMainFormFont(true);
  SetApplicationMainForm(previous);
  EXPECT_EQ(form.font().pixelSize(), 23);
  EXPECT_EQ(panel->ButtonList()->Items(0)->Control()->font().pixelSize(), 23);
  EXPECT_EQ(ownFont.font().pixelSize(), 9);
}

}  // namespace
}  // namespace Kel
