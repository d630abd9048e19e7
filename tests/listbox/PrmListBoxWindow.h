#pragma once
// The list box tests' common ground: a shown, active window holding one focused list box, with
// the beeps it makes counted instead of sounded.
#include <gtest/gtest.h>

#include <QApplication>
#include <QVBoxLayout>
#include <QWidget>

#include "KelListBox.h"
#include "MessageBeep.h"

namespace Kel::Testing {

class PrmListBoxWindow : public ::testing::Test {
 protected:
  PrmListBoxWindow() {
    auto* layout = new QVBoxLayout(&window_);
    box_ = new TKelPrmListBox(&window_);
    layout->addWidget(box_);
    window_.resize(360, 200);
    window_.show();
    QApplication::setActiveWindow(&window_);
    box_->setFocus();
    previousBeep_ = SetMessageBeepHook([this] { ++beeps_; });
  }
  ~PrmListBoxWindow() override { SetMessageBeepHook(previousBeep_); }

  QWidget window_;
  TKelPrmListBox* box_;
  int beeps_ = 0;
  TMessageBeepHook previousBeep_;
};

}  // namespace Kel::Testing
