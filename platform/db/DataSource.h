#pragma once
// TDataSource and TDataLink: how data-aware controls hear of a dataset.
//
// A TDataSource points at one dataset (watched by free notification: it forgets a dataset that
// is destroyed) and forwards the dataset's events to the data links attached to it and to its
// own events: OnStateChange (the dataset opened, closed, began or ended editing), OnDataChange
// (the current record, a field of it, or the records changed; field is nullptr unless one field
// changed), OnUpdateData (before a post: write pending edits into the fields). Disabled
// (Enabled false), it forwards nothing and its links see no active dataset.
//
// A TDataLink is the receiving end inside a control (a grid, a memo, a lookup list): attach it
// with SetDataSource and override the virtual hooks, or use TFunctionDataLink with
// std::function callbacks.

#include <functional>
#include <vector>

#include "Component.h"
#include "DBTypes.h"
#include "PlatformExport.h"

namespace Kel {

class TDataSet;
class TDataLink;
class TField;

class KEL_PLATFORM_EXPORT TDataSource : public TComponent {
  Q_OBJECT
  Q_MOC_INCLUDE("DataSet.h")
  Q_PROPERTY(Kel::TDataSet* DataSet READ DataSet WRITE SetDataSet)
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_CLASSINFO("default:Enabled", "True")
  Q_PROPERTY(bool AutoEdit READ AutoEdit WRITE SetAutoEdit)
  Q_CLASSINFO("default:AutoEdit", "True")

 public:
  using TNotifyEvent = std::function<void(TDataSource* sender)>;
  using TDataChangeEvent = std::function<void(TDataSource* sender, TField* field)>;

  Q_INVOKABLE explicit TDataSource(TComponent* owner = nullptr);
  ~TDataSource() override;

  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool AutoEdit() const { return autoEdit_; }
  void SetAutoEdit(bool autoEdit) { autoEdit_ = autoEdit; }
  // The dataset's state as the links see it: dsInactive without an enabled, active dataset.
  TDataSetState State() const;
  // Puts the dataset into edit mode when AutoEdit allows it.
  void Edit();

  int DataLinkCount() const { return static_cast<int>(links_.size()); }

  TNotifyEvent OnStateChange;
  TDataChangeEvent OnDataChange;
  TNotifyEvent OnUpdateData;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TDataSet;
  friend class TDataLink;
  // What the dataset reports; info is the distance of a scroll.
  void DataEvent(TDataEvent event, TField* field, int info);
  void NotifyLinks(const std::function<void(TDataLink*)>& call);
  void AddLink(TDataLink* link);
  void RemoveLink(TDataLink* link);
  void StateChanged();

  TDataSet* dataSet_ = nullptr;
  bool enabled_ = true;
  bool autoEdit_ = true;
  TDataSetState lastState_ = dsInactive;
  std::vector<TDataLink*> links_;
};

class KEL_PLATFORM_EXPORT TDataLink {
 public:
  TDataLink();
  virtual ~TDataLink();
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* dataSource);
  TDataSet* DataSet() const;
  // The data source is enabled and its dataset open.
  bool Active() const { return active_; }
  bool Editing() const { return editing_; }
  bool Edit();  // asks the data source to edit; true when the dataset is editing afterwards

 protected:
  virtual void ActiveChanged() {}
  virtual void EditingChanged() {}
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled(int distance) { DataSetChanged(); }
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void RecordChanged(TField* field) {}
  virtual void UpdateData() {}
  virtual void CheckBrowseMode() {}

 private:
  friend class TDataSource;
  void UpdateStateFlags();
  void Event(TDataEvent event, TField* field, int info);

  TDataSource* dataSource_ = nullptr;
  bool active_ = false;
  bool editing_ = false;
};

// A data link whose hooks are std::function members (each tested before the call).
class TFunctionDataLink : public TDataLink {
 public:
  std::function<void()> OnActiveChanged;
  std::function<void()> OnEditingChanged;
  std::function<void()> OnDataSetChanged;
  std::function<void(int distance)> OnDataSetScrolled;
  std::function<void()> OnLayoutChanged;
  std::function<void(TField* field)> OnRecordChanged;
  std::function<void()> OnUpdateData;

 protected:
  void ActiveChanged() override {
    if (OnActiveChanged) OnActiveChanged();
  }
  void EditingChanged() override {
    if (OnEditingChanged) OnEditingChanged();
  }
  void DataSetChanged() override {
    if (OnDataSetChanged) OnDataSetChanged();
  }
  void DataSetScrolled(int distance) override {
    if (OnDataSetScrolled) OnDataSetScrolled(distance);
  }
  void LayoutChanged() override {
    if (OnLayoutChanged) OnLayoutChanged();
  }
  void RecordChanged(TField* field) override {
    if (OnRecordChanged) OnRecordChanged(field);
  }
  void UpdateData() override {
    if (OnUpdateData) OnUpdateData();
  }
};

}  // namespace Kel
