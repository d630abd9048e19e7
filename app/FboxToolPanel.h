#pragma once
// The tool panel of keldemo's filter window: a row of speed buttons (change table, apply, the
// four searches, colouring on and off, and the filter switch), each with its hint and a glyph
// drawn here.

#include <QFrame>

namespace Kel {

class TSpeedButton;

class TFboxToolPanel : public QFrame {
  Q_OBJECT
 public:
  explicit TFboxToolPanel(QWidget* parent = nullptr);

  TSpeedButton* ChangeDBBtn;
  TSpeedButton* RunFilterBtn;
  TSpeedButton* FindFirstBtn;
  TSpeedButton* FindNextBtn;
  TSpeedButton* FindPriorBtn;
  TSpeedButton* FindLastBtn;
  TSpeedButton* AddColorBtn;
  TSpeedButton* ClearColorsBtn;
  // Stays down while the table is filtered.
  TSpeedButton* FilterStateBtn;
};

}  // namespace Kel
