// The application's ownership of its windows.
#include <gtest/gtest.h>

#include <QPointer>
#include <QWidget>
#include <vector>

#include "FormOwner.h"

namespace Kel {
namespace {

// Records the order in which windows are destroyed.
class TTracedForm : public QWidget {
 public:
  TTracedForm(std::vector<int>& log, int id) : log_(log), id_(id) {}
  ~TTracedForm() override { log_.push_back(id_); }

 private:
  std::vector<int>& log_;
  int id_;
};

TEST(FormOwnerTest, FreesItsFormsNewestFirstAndClearsTheReferences) {
  std::vector<int> log;
  QPointer<TTracedForm> first;
  QPointer<TTracedForm> second;
  {
    TFormOwner owner;
    owner.CreateForm(first, log, 1);
    owner.CreateForm(second, log, 2);
    EXPECT_EQ(owner.Count(), 2);
    EXPECT_TRUE(log.empty());
  }
  EXPECT_EQ(log, (std::vector<int>{2, 1}));
  EXPECT_TRUE(first.isNull());
  EXPECT_TRUE(second.isNull());
}

TEST(FormOwnerTest, SkipsAFormDeletedElsewhere) {
  std::vector<int> log;
  QPointer<TTracedForm> form;
  {
    TFormOwner owner;
    owner.CreateForm(form, log, 1);
    delete form.data();
    EXPECT_EQ(owner.Count(), 0);
  }
  EXPECT_EQ(log, (std::vector<int>{1}));
}

}  // namespace
}  // namespace Kel
