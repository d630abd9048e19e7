// Component names: identifiers only, unique under one owner ignoring case, found ignoring case.
#include <gtest/gtest.h>

#include "Component.h"
#include "Exceptions.h"

namespace Kel {
namespace {

QString RenameError(TComponent& component, const QString& name) {
  try {
    component.SetName(name);
  } catch (const EComponentError& e) {
    return e.Message();
  }
  return QStringLiteral("<no exception>");
}

TEST(ComponentName, OnlyIdentifiersAreValidNames) {
  TComponent c;
  EXPECT_EQ(RenameError(c, "1st"), "'1st' is not a valid component name");
  EXPECT_EQ(RenameError(c, "two words"), "'two words' is not a valid component name");
  EXPECT_EQ(RenameError(c, "a.b"), "'a.b' is not a valid component name");
  EXPECT_EQ(RenameError(c, QStringLiteral("caf\u00E9")),
            QStringLiteral("'caf\u00E9' is not a valid component name"));
  EXPECT_EQ(c.Name(), "");
  c.SetName("_Button1");
  EXPECT_EQ(c.Name(), "_Button1");
  EXPECT_EQ(c.objectName(), "_Button1");
  c.SetName("");  // a component may lose its name
  EXPECT_EQ(c.Name(), "");
}

TEST(ComponentName, DuplicateUnderOneOwnerIsRefusedIgnoringCase) {
  TComponent form;
  auto* a = new TComponent(&form);
  auto* b = new TComponent(&form);
  a->SetName("Button1");
  EXPECT_EQ(RenameError(*b, "BUTTON1"), "A component named BUTTON1 already exists");
  EXPECT_EQ(b->Name(), "");
  a->SetName("BUTTON1");  // a new spelling of its own name is fine
  EXPECT_EQ(a->Name(), "BUTTON1");
  TComponent otherForm;
  auto* c = new TComponent(&otherForm);
  c->SetName("Button1");  // names are unique per owner only
  EXPECT_EQ(c->Name(), "Button1");
}

TEST(ComponentName, EmptyNamesNeverCollide) {
  TComponent form;
  new TComponent(&form);
  new TComponent(&form);
  EXPECT_EQ(form.ComponentCount(), 2);
  EXPECT_EQ(form.FindComponent(""), nullptr);
}

TEST(ComponentName, FindComponentIgnoresCaseAndLooksOneLevelOnly) {
  TComponent form;
  auto* panel = new TComponent(&form);
  panel->SetName("Panel1");
  auto* button = new TComponent(panel);
  button->SetName("Button1");
  EXPECT_EQ(form.FindComponent("panel1"), panel);
  EXPECT_EQ(form.FindComponent("Button1"), nullptr);
  EXPECT_EQ(panel->FindComponent("BUTTON1"), button);
}

TEST(ComponentName, InsertingAComponentWhoseNameIsTakenChangesNothing) {
  TComponent first, second;
  auto* mover = new TComponent(&first);
  mover->SetName("Edit1");
  auto* resident = new TComponent(&second);
  resident->SetName("edit1");
  EXPECT_THROW(second.InsertComponent(mover), EComponentError);
  EXPECT_EQ(mover->Owner(), &first);
  EXPECT_EQ(second.ComponentCount(), 1);
}

}  // namespace
}  // namespace Kel
