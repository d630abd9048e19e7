#pragma once
// The "Better ListBox" tab of keldemo's filter window: the parameter list box on its own, with
// sample lines showing every kind of parameter, a page of switches and structure buttons and a
// page of colour and font pickers with previews.

#include <QWidget>
#include <functional>

class QCheckBox;
class QLineEdit;
class QTabWidget;

namespace Kel {

class TDataSet;
class TKelPrmListBox;

class TListBoxDemoPage : public QWidget {
  Q_OBJECT
 public:
  // lookupSource: the dataset whose "Name" column the lookup parameter offers.
  TListBoxDemoPage(TDataSet* lookupSource, QWidget* parent = nullptr);

  TKelPrmListBox* ListBox() const { return ListBox_; }
  QTabWidget* Pages() const { return PageControl3; }
  // Today, the current time and now into the date, time and date-time samples.
  void SetSampleDatesToNow();
  // Every preview edit shows the list box's font ("8 pt. MS Sans Serif") over its colour.
  void RefreshColorPreviews();

  // The colour and font dialogs; tests put scripted answers here. A colour dialog gets the
  // current colour and returns false on cancel.
  std::function<bool(QColor& color)> ChooseColor;
  std::function<bool(QFont& font)> ChooseFont;

  void AddNewItemClick();

 private:
  void AddSampleItems(TDataSet* lookupSource);
  QWidget* BuildPropertiesPage();
  QWidget* BuildColoringPage();
  QCheckBox* AddCheck(QWidget* page, const char* caption, bool checked,
                      std::function<void(bool)> action);
  void AddColorRow(QWidget* page, const char* caption, std::function<int()> read,
                   std::function<void(int)> store);

  TKelPrmListBox* ListBox_ = nullptr;
  QTabWidget* PageControl3 = nullptr;
  QLineEdit* ItemCaptionEdit = nullptr;
  QLineEdit* AddLineEdit = nullptr;
  struct TPreview {
    QLineEdit* Edit;
    std::function<int()> Color;
  };
  std::vector<TPreview> previews_;
};

}  // namespace Kel
