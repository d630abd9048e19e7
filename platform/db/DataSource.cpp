#include "DataSource.h"

#include <algorithm>

#include "DataSet.h"

namespace Kel {

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource() {
  if (dataSet_) {
    auto& sources = dataSet_->dataSources_;
    sources.erase(std::remove(sources.begin(), sources.end(), this), sources.end());
    dataSet_ = nullptr;
  }
  for (TDataLink* link : links_) {
    link->dataSource_ = nullptr;
    link->active_ = false;
    link->editing_ = false;
  }
  links_.clear();
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_) {
    auto& sources = dataSet_->dataSources_;
    sources.erase(std::remove(sources.begin(), sources.end(), this), sources.end());
    RemoveFreeNotification(dataSet_);
  }
  dataSet_ = dataSet;
  if (dataSet_) {
    dataSet_->dataSources_.push_back(this);
    FreeNotification(dataSet_);
  }
  StateChanged();
  if (State() != dsInactive) DataEvent(deDataSetChange, nullptr, 0);
}

void TDataSource::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  StateChanged();
}

TDataSetState TDataSource::State() const {
  return enabled_ && dataSet_ ? dataSet_->State() : dsInactive;
}

void TDataSource::Edit() {
  if (autoEdit_ && State() == dsBrowse) dataSet_->Edit();
}

void TDataSource::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == dataSet_) {
    // The dataset is going away: it has already forgotten its data sources.
    dataSet_ = nullptr;
    StateChanged();
  }
}

void TDataSource::NotifyLinks(const std::function<void(TDataLink*)>& call) {
  // A link may detach itself (or others) while it is told: work on a copy, skip the departed.
  const std::vector<TDataLink*> links = links_;
  for (TDataLink* link : links)
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) call(link);
}

void TDataSource::StateChanged() {
  NotifyLinks([](TDataLink* link) { link->UpdateStateFlags(); });
  const TDataSetState state = State();
  if (state != lastState_) {
    lastState_ = state;
    if (OnStateChange) OnStateChange(this);
  }
}

void TDataSource::DataEvent(TDataEvent event, TField* field, int info) {
  if (!enabled_) return;
  switch (event) {
    case deUpdateState:
      StateChanged();
      return;
    case deUpdateRecord:
      NotifyLinks([&](TDataLink* link) { link->Event(event, field, info); });
      if (OnUpdateData) OnUpdateData(this);
      return;
    case deFieldChange:
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
      NotifyLinks([&](TDataLink* link) { link->Event(event, field, info); });
      if (OnDataChange)
        OnDataChange(this, event == deFieldChange || event == deRecordChange ? field : nullptr);
      return;
    default:
      NotifyLinks([&](TDataLink* link) { link->Event(event, field, info); });
      return;
  }
}

void TDataSource::AddLink(TDataLink* link) { links_.push_back(link); }

void TDataSource::RemoveLink(TDataLink* link) {
  links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}

// ---------------------------------------------------------------------------------------------

TDataLink::TDataLink() = default;

TDataLink::~TDataLink() {
  if (dataSource_) dataSource_->RemoveLink(this);
  dataSource_ = nullptr;
}

void TDataLink::SetDataSource(TDataSource* dataSource) {
  if (dataSource == dataSource_) return;
  if (dataSource_) dataSource_->RemoveLink(this);
  dataSource_ = dataSource;
  if (dataSource_) dataSource_->AddLink(this);
  UpdateStateFlags();
}

TDataSet* TDataLink::DataSet() const { return dataSource_ ? dataSource_->DataSet() : nullptr; }

bool TDataLink::Edit() {
  if (dataSource_ && !editing_) dataSource_->Edit();
  return editing_;
}

void TDataLink::UpdateStateFlags() {
  const TDataSetState state = dataSource_ ? dataSource_->State() : dsInactive;
  const bool active = state != dsInactive;
  const bool editing = state == dsEdit || state == dsInsert;
  if (active != active_) {
    active_ = active;
    ActiveChanged();
  }
  if (editing != editing_) {
    editing_ = editing;
    EditingChanged();
  }
}

void TDataLink::Event(TDataEvent event, TField* field, int info) {
  if (!active_) return;
  switch (event) {
    case deFieldChange:
    case deRecordChange:
      RecordChanged(field);
      break;
    case deDataSetChange:
      DataSetChanged();
      break;
    case deDataSetScroll:
      DataSetScrolled(info);
      break;
    case deLayoutChange:
      LayoutChanged();
      break;
    case deUpdateRecord:
      UpdateData();
      break;
    case deCheckBrowseMode:
      CheckBrowseMode();
      break;
    default:
      break;
  }
}

}  // namespace Kel
