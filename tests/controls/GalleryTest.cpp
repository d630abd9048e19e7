// The gallery of the control infrastructure: markup lines with colours and check boxes, the
// open popup list and the open lookup popup, each at scale 1 and 2, in the default and in a dark
// palette (build/gallery/*.png). Each picture is also checked for what must be in it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

#include "DataSet.h"
#include "Gallery.h"
#include "KelDBListBox.h"
#include "KelDrawing.h"
#include "KelStdCtrls.h"
#include "NumberedRecords.h"

namespace Kel {
namespace {

// Rows of markup as the condition list shows them: a flat check box, then the line.
class TMarkupSample : public QWidget {
 public:
  TMarkupSample() { resize(sizeHint()); }
  QSize sizeHint() const override { return QSize(470, RowHeight() * int(kLines.size()) + 8); }

  static inline const std::vector<QString> kLines = {
      "Category <u><c:HotLight>is (exactly)</u><c:WindowText> <u><c:HotLight>'Shark'</u>"
      "<c:WindowText> or",
      "<b>Bold</b>, <i>italic</i>, <u>underlined</u> and <b><i>bold italic</i></b>",
      "<c:Red>red <c:Green>green <c:Blue>blue <c:$0080FF>orange ($0080FF)<c:WindowText> back",
      "x < y and <x> stay text; <B>upper-case tags</B> work",
      "<u>The selected line</u> in the highlight colours",
  };

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    TCanvas canvas(painter, this);
    canvas.Brush().Color = clWindow;
    canvas.FillRect(TRect::FromQRect(rect()));
    const int row = RowHeight();
    for (int i = 0; i < int(kLines.size()); ++i) {
      const bool selected = i + 1 == int(kLines.size());
      canvas.Brush().Color = selected ? clHighlight : clWindow;
      canvas.Font().SetColor(selected ? clHighlightText : clWindowText);
      const TRect line = Rect(4, 4 + i * row, width() - 4, 4 + (i + 1) * row);
      const int box = CheckGlyphWidth() + 8;
      DrawCheckBox(canvas, Rect(line.Left, line.Top, line.Left + box, line.Bottom),
                   static_cast<TCheckBoxState>(i % 3), true);
      int drawn = 0;
      QString plain;
      const int textTop = line.Top + (row - canvas.TextHeight("Wg")) / 2;
      canvas.FillRect(Rect(line.Left + box, line.Top, line.Right, line.Bottom));
      DrawMarkupText(canvas, Rect(line.Left + box, textTop, line.Right, line.Bottom), kLines[i],
                     false, drawn, plain);
      widths.push_back(drawn);
    }
  }

 public:
  int RowHeight() const { return std::max(fontMetrics().height(), CheckGlyphHeight()) + 6; }
  std::vector<int> widths;
};

// Flat and normal check boxes in their three states, with captions.
class TCheckBoxSample : public QWidget {
 public:
  TCheckBoxSample() { resize(330, 3 * Row() + 8); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    TCanvas canvas(painter, this);
    canvas.Brush().Color = clBtnFace;
    canvas.FillRect(TRect::FromQRect(rect()));
    const char* states[] = {"unchecked", "checked", "grayed"};
    const int column = 90;
    for (int s = 0; s < 3; ++s) canvas.TextOut(90 + s * column, 4, states[s]);
    for (int flat = 0; flat < 2; ++flat) {
      const int top = 4 + (flat + 1) * Row();
      canvas.TextOut(6, top + 4, flat ? "flat" : "normal");
      for (int s = 0; s < 3; ++s)
        DrawCheckBox(canvas, Bounds(90 + s * column, top, 60, Row()), static_cast<TCheckBoxState>(s),
                     flat == 1);
    }
  }

 private:
  int Row() const { return fontMetrics().height() + 12; }
};

// A form with an edit that opens a popup under itself.
struct TOpener {
  QWidget form;
  QLineEdit* edit;
  explicit TOpener(const QPalette* palette) {
    if (palette) form.setPalette(*palette);
    auto* layout = new QVBoxLayout(&form);
    edit = new QLineEdit("Blue", &form);
    layout->addWidget(edit);
    layout->addStretch();
    form.setGeometry(60, 60, 260, 240);
    form.show();
    QApplication::setActiveWindow(&form);
  }
  std::vector<Testing::TGalleryPart> With(QWidget* popup) {
    return {{&form, QPoint(0, 0)}, {popup, popup->pos() - form.geometry().topLeft()}};
  }
};

struct TVariant {
  const char* Suffix;
  bool Dark;
};
constexpr TVariant kVariants[] = {{"", false}, {"-dark", true}};

// The files written, each checked to exist.
void ExpectWritten(const QStringList& files, int count) {
  EXPECT_EQ(files.size(), count);
  for (const QString& file : files) EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();
}

// Whether a colour close to wanted appears anywhere in the picture.
bool Shows(const QImage& image, QColor wanted) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - wanted.red()) + std::abs(c.green() - wanted.green()) +
              std::abs(c.blue() - wanted.blue()) < 24)
        return true;
    }
  return false;
}

TEST(KelGallery, MarkupTextAndCheckBoxes) {
  QStringList written;
  for (const TVariant& variant : kVariants) {
    const QPalette dark = Testing::DarkPalette();
    TMarkupSample markup;
    TCheckBoxSample boxes;
    if (variant.Dark) {
      markup.setPalette(dark);
      boxes.setPalette(dark);
    }
    markup.show();
    boxes.show();
    written += Testing::SaveGalleryPictures(QStringLiteral("markup%1").arg(variant.Suffix),
                                              {{&markup, {}}});
    written += Testing::SaveGalleryPictures(QStringLiteral("checkboxes%1").arg(variant.Suffix),
                                              {{&boxes, {}}});
    // Text in the palette's text colour and the link colour, the selected line highlighted.
    const QImage picture = Testing::RenderParts({{&markup, {}}}, 2);
    EXPECT_TRUE(Shows(picture, markup.palette().color(QPalette::Base)));
    EXPECT_TRUE(Shows(picture, markup.palette().color(QPalette::Highlight)));
    EXPECT_TRUE(Shows(picture, markup.palette().color(QPalette::Link)));
    EXPECT_TRUE(Shows(picture, QColor(255, 0, 0)));
    // The same widths at scale 2 as at scale 1: measuring is in logical pixels.
    const std::vector<int> widths(markup.widths.begin(), markup.widths.begin() + 5);
    EXPECT_EQ(std::vector<int>(markup.widths.end() - 5, markup.widths.end()), widths);
  }
  ExpectWritten(written, 8);
}

TEST(KelGallery, OpenPopupList) {
  QStringList written;
  for (const TVariant& variant : kVariants) {
    const QPalette dark = Testing::DarkPalette();
    TOpener opener(variant.Dark ? &dark : nullptr);
    TKelPopupListBox popup(opener.edit);
    popup.ListBox()->SetItems({"Red", "Green", "Blue", "Cyan", "Magenta", "Yellow", "Black"});
    popup.ListBox()->SetItemIndex(2);
    popup.SetClientSize(QSize(opener.edit->width(), popup.ListBox()->sizeHintForRow(0) * 7 + 2));
    popup.PopupAtRect(opener.edit, TRect::FromQRect(opener.edit->rect()), nullptr);
    written += Testing::SaveGalleryPictures(QStringLiteral("popup-list%1").arg(variant.Suffix),
                                              opener.With(&popup));
    const QImage picture = Testing::RenderParts({{&popup, {}}}, 1);
    EXPECT_TRUE(Shows(picture, popup.palette().color(QPalette::Highlight)));
    EXPECT_TRUE(Shows(picture, popup.palette().color(QPalette::Base)));
    popup.HidePopup();
  }
  ExpectWritten(written, 4);
}

TEST(KelGallery, OpenLookupPopup) {
  auto records = Testing::MakeNumberedRecords(100);
  QStringList written;
  for (const TVariant& variant : kVariants) {
    const QPalette dark = Testing::DarkPalette();
    TOpener opener(variant.Dark ? &dark : nullptr);
    TKelDBListBoxPopup popup(opener.edit);
    popup.SetListDataSet(records.get());
    popup.SetListField("Name;City");
    popup.SetKeyField("Id");
    popup.SetVisibleRows(8);
    popup.SetClientSize(QSize(240, popup.ClientRect().height()));
    popup.SetKeyValue(50);
    popup.PopupAtRect(opener.edit, TRect::FromQRect(opener.edit->rect()), nullptr);
    written += Testing::SaveGalleryPictures(QStringLiteral("lookup-popup%1").arg(variant.Suffix),
                                              opener.With(&popup));
    EXPECT_EQ(popup.ListBox()->SelectedText(), "Item 050");
    const QImage picture = Testing::RenderParts({{&popup, {}}}, 1);
    EXPECT_TRUE(Shows(picture, popup.palette().color(QPalette::Highlight)));
    popup.HidePopup();
  }
  ExpectWritten(written, 4);
}

}  // namespace
}  // namespace Kel
