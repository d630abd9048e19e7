#include "KelBtPanTypes.h"

#include "KelCalcConsts.h"

namespace Kel {

QString ButtonTypeCaption(TKelButtonType type) {
  using namespace KelCalcText;
  static constexpr const char* kCaptions[] = {
      "",       BtnYes,    BtnNo,     BtnOk,     BtnCancel, BtnApply, BtnClose,  BtnHelp, BtnAbort,
      BtnRetry, BtnIgnore, BtnDelete, BtnRemove, BtnInsert, BtnNew,   BtnBrowse, BtnOpen, BtnSave,
  };
  if (type <= btCustom || type > btSave) return QString();
  return QString::fromUtf8(kCaptions[type]);
}

TModalResult ButtonTypeModalResult(TKelButtonType type) {
  switch (type) {
    case btYes:
      return mrYes;
    case btNo:
      return mrNo;
    case btOk:
      return mrOk;
    case btCancel:
      return mrCancel;
    case btAbort:
      return mrAbort;
    case btRetry:
      return mrRetry;
    case btIgnore:
      return mrIgnore;
    default:
      return mrNone;
  }
}

}  // namespace Kel
