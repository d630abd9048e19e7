#pragma once
// Inside unit KelModels: a filter box that a model follows. The box offers the model's columns
// (its catalogue is filled from the model's fields, and again whenever they change), and every
// change of its conditions calls the model back.

#include <QObject>
#include <QPointer>
#include <functional>

#include "KelFltBoxControl.h"

namespace Kel {

class TKelModelFields;

class TKelBoxLink {
 public:
  // follow runs once the box is set and after every change of its conditions.
  TKelBoxLink(QObject* owner, const TKelModelFields& fields, std::function<void()> follow);
  ~TKelBoxLink();
  TKelBoxLink(const TKelBoxLink&) = delete;
  TKelBoxLink& operator=(const TKelBoxLink&) = delete;

  TKelFltBox* Box() const { return box_; }
  // nullptr lets go of the box (its catalogue stays as it was).
  void SetBox(TKelFltBox* box);
  // The model's fields changed: the box offers them anew.
  void FieldsChanged();

 private:
  QObject* owner_;
  const TKelModelFields& fields_;
  std::function<void()> follow_;
  QPointer<TKelFltBox> box_;
  QMetaObject::Connection connection_;
};

}  // namespace Kel
