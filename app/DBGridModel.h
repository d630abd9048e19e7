#pragma once
// The table model of keldemo's data grid: the library's dataset model (TKelDataSetModel) with
// what the demonstration adds: column titles the user highlights by clicking them, and a mark
// beside the current record in the row headers.

#include "KelDataSetModel.h"

namespace Kel {

class TDBGridModel : public TKelDataSetModel {
  Q_OBJECT
 public:
  explicit TDBGridModel(QObject* parent = nullptr);
  ~TDBGridModel() override;

  // A title is either highlighted or plain; the view paints a highlighted one in the highlight
  // colour. A new layout (another dataset, other fields) makes every title plain.
  bool TitleHighlighted(int column) const;
  void SetTitleHighlighted(int column, bool highlighted);
  // The highlighted columns in the order they were highlighted.
  std::vector<int> HighlightedColumns() const;

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 protected:
  void ColumnsRebuilt() override;

 private:
  std::vector<int> highlighted_;  // per column: 0 plain, else the order of highlighting
  int highlightCount_ = 0;
};

}  // namespace Kel
