// A form made in Designer, compiled with uic into this program: the generated code must build
// against the library's headers and set up the controls as the form says. Exits with 0 when every
// value reads back, else names the ones that do not.
#include <QApplication>
#include <QDialog>
#include <cstdio>

#include "MemDataSet.h"
#include "ui_KelForm.h"

using namespace Kel;

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QDialog dialog;
  Ui::KelForm form;
  form.setupUi(&dialog);
  int failures = 0;
  const auto check = [&failures](bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "uic form: %s is not as the form set it\n", what);
    ++failures;
  };
  check(form.fltBox->AllowedUsageIDs() == "0", "fltBox.AllowedUsageIDs");
  check(form.fltBox->Items()->Count() == 2, "fltBox.ItemsText");
  TMemDataSet orders;
  orders.AddField("Name", ftString, 30);
  orders.AddField("Score", ftFloat);
  orders.AppendRecords({{"Rome", 3.5}});
  form.fltBox->SetDataSet(&orders);
  check(form.fltBox->FilterStr() == "Name LIKE '%ar%' or Score > 3", "fltBox conditions");
  form.fltBox->SetDataSet(nullptr);
  check(form.dueEdit->NoneButton(), "dueEdit.NoneButton");
  check(form.amountEdit->Value() == 250, "amountEdit.Value");
  check(form.calendar->ShowWeekNumbers(), "calendar.ShowWeekNumbers");
  check(form.calendar->WorkDays() == TKelWeekDays{dwSunday, dwSaturday}, "calendar.WorkDays");
  check(form.calendar->WeekDayNames() == wdlTwo, "calendar.WeekDayNames");
  check(form.btnPanel->DefButtons() == pbOkCancelHelp, "btnPanel.DefButtons");
  check(form.btnPanel->DefButtonSet() == TKelButtonSet{btApply, btClose}, "btnPanel.DefButtonSet");
  check(form.btnPanel->ButtonList()->Count() == 3, "btnPanel buttons");
  check(dialog.windowTitle() == "Find orders", "windowTitle");
  if (failures == 0) std::puts("uic form: every value as the form set it");
  return failures == 0 ? 0 : 1;
}
