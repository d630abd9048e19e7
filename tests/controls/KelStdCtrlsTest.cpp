// The popup edit and popup list: what closes them and with which Canceled, and a list box of a
// descendant's class.
#include <gtest/gtest.h>

#include <QTest>

#include "KelStdCtrls.h"

namespace Kel {
namespace {

class KelPopupListTest : public ::testing::Test {
 protected:
  KelPopupListTest() : popup_(&form_) {
    form_.setGeometry(40, 40, 300, 200);
    form_.show();
    QApplication::setActiveWindow(&form_);
    popup_.ListBox()->SetItems({"Red", "Green", "Blue"});
    popup_.SetClientSize(QSize(120, 200));
  }
  void Open() {
    popup_.PopupAtRect(&form_, Rect(10, 10, 100, 30),
                       [this](TKelPopupForm*, bool canceled) { results_.push_back(canceled); });
  }
  QPoint ItemCenter(int index) { return popup_.ListBox()->ItemRect(index).center(); }

  QWidget form_;
  TKelPopupListBox popup_;
  std::vector<bool> results_;
};

TEST_F(KelPopupListTest, ALeftClickOnALineAccepts) {
  Open();
  QWidget* viewport = popup_.ListBox()->viewport();
  QTest::mouseClick(viewport, Qt::LeftButton, {}, ItemCenter(1));
  EXPECT_EQ(results_, std::vector<bool>{false});
  EXPECT_FALSE(popup_.isVisible());
  EXPECT_EQ(popup_.ListBox()->ItemIndex(), 1);
}

TEST_F(KelPopupListTest, TheEmptyAreaAndOtherButtonsDoNotClose) {
  Open();
  QWidget* viewport = popup_.ListBox()->viewport();
  const QPoint belowTheLines(20, popup_.ListBox()->ItemRect(2).bottom() + 30);
  ASSERT_LT(belowTheLines.y(), viewport->height());
  QTest::mouseClick(viewport, Qt::LeftButton, {}, belowTheLines);
  QTest::mouseClick(viewport, Qt::RightButton, {}, ItemCenter(0));
  EXPECT_TRUE(results_.empty());
  EXPECT_TRUE(popup_.isVisible());
  // Keys choose and Enter accepts the current line.
  QTest::keyClick(popup_.ListBox(), Qt::Key_Down);
  QTest::keyClick(popup_.ListBox(), Qt::Key_Return);
  EXPECT_EQ(results_, std::vector<bool>{false});
  EXPECT_EQ(popup_.ListBox()->ItemIndex(), 1);
}

class TMonthListBox : public TListBox {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TMonthListBox(QWidget* parent = nullptr) : TListBox(parent) {}
};

class TMonthPopup : public TKelPopupListBox {
 public:
  using TKelPopupListBox::TKelPopupListBox;

 protected:
  const QMetaObject& ListBoxClass() const override { return TMonthListBox::staticMetaObject; }
};

TEST(KelPopupListClass, ADescendantsClassIsMade) {
  TMonthPopup popup;
  EXPECT_NE(qobject_cast<TMonthListBox*>(popup.ListBox()), nullptr);
  EXPECT_EQ(popup.ListBox()->frameShape(), QFrame::NoFrame);
  EXPECT_EQ(popup.ActiveControl(), popup.ListBox());
  EXPECT_FALSE(popup.accessibleName().isEmpty());
}

TEST(KelPopupEdit, EnterAcceptsTheTextEscCancels) {
  QWidget form;
  form.setGeometry(40, 40, 300, 200);
  form.show();
  TKelPopupEdit popup(&form);
  EXPECT_FALSE(popup.Edit()->hasFrame());
  EXPECT_EQ(popup.ClientRect().size(), popup.Edit()->sizeHint());
  QString accepted;
  int canceled = 0;
  const auto open = [&] {
    popup.PopupAtRect(&form, Rect(5, 5, 100, 25), [&](TKelPopupForm*, bool wasCanceled) {
      if (wasCanceled)
        ++canceled;
      else
        accepted = popup.Edit()->Text();
    });
  };
  popup.Edit()->SetText("old");
  open();
  EXPECT_EQ(QApplication::focusWidget(), popup.Edit());
  QTest::keyClicks(popup.Edit(), "er");
  QTest::keyClick(popup.Edit(), Qt::Key_Return);
  EXPECT_EQ(accepted, "older");
  open();
  QTest::keyClick(popup.Edit(), Qt::Key_Escape);
  EXPECT_EQ(canceled, 1);
}

}  // namespace
}  // namespace Kel

#include "KelStdCtrlsTest.moc"
