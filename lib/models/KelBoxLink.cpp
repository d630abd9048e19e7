#include "KelBoxLink_p.h"

#include "KelModelFields.h"

namespace Kel {

TKelBoxLink::TKelBoxLink(QObject* owner, const TKelModelFields& fields, std::function<void()> follow)
    : owner_(owner), fields_(fields), follow_(std::move(follow)) {}

TKelBoxLink::~TKelBoxLink() { QObject::disconnect(connection_); }

void TKelBoxLink::SetBox(TKelFltBox* box) {
  if (box == box_) return;
  QObject::disconnect(connection_);
  box_ = box;
  if (!box) return;
  fields_.FillCatalogue(box->Fields());
  connection_ = QObject::connect(box, &TKelFltBox::ConditionsChanged, owner_, [this] { follow_(); });
  follow_();
}

void TKelBoxLink::FieldsChanged() {
  if (box_) fields_.FillCatalogue(box_->Fields());
}

}  // namespace Kel
