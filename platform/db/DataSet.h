#pragma once
// TDataSet: a cursor over records held in memory (a TRecordStore), with fields, navigation,
// bookmarks, Locate/Lookup, filtering in the condition language, editing with write-back hooks,
// events and notification of data-aware controls through data sources.
//
// API summary
//   Fields       Fields() (TFields: Count, Fields(i), FindField, FieldByName raising "Field 'x'
//                not found"), FieldCount, FindField, FieldByName, FieldValues("A;B") (one value
//                or an array) / SetFieldValues, FieldDefs() of an open dataset
//   Opening      Active / SetActive, Open, Close, State (dsInactive, dsBrowse, dsEdit, dsInsert,
//                dsCalcFields while OnCalcFields runs), IsEmpty
//   Navigation   First, Next, Prior, Last, MoveBy (returns the distance moved), Eof, Bof,
//                RecordCount, RecNo (1-based; -1 without a current record) / SetRecNo
//   Fetching     A source may hand its records over as the cursor moves (tables and queries
//                read a first batch at open). Whatever needs them all reads the rest first:
//                Last, RecordCount, a filter, Append, a bookmark or Locate past the records
//                read so far. AllRecordsFetched, FetchedRecordCount tell how far reading got.
//   Bookmarks    GetBookmark (empty without a current record), GotoBookmark ("Record not found"
//                when the record is gone or filtered out), BookmarkValid, CompareBookmarks,
//                FreeBookmark; Bookmark / SetBookmark as a value
//   Searching    Locate(keyFields, keyValues, options): keyFields ";"-separated, keyValues one
//                value or an array; loCaseInsensitive and loPartialKey act on string fields.
//                Lookup(keyFields, keyValues, resultFields) reads without moving.
//   Editing      Edit, Insert, Append, Post, Cancel, Delete, CheckBrowseMode, AppendRecord,
//                InsertRecord, CanModify, Modified. Moving the cursor posts a pending edit.
//   Filtering    Filter (condition text, see ExprParser.h; arithmetic and functions allowed),
//                Filtered, FilterOptions (foCaseInsensitive, foNoPartialCompare),
//                OnFilterRecord. Setting them on an open dataset filters at once and goes to
//                the first record; a text that does not parse (or fails on a record) raises and
//                leaves the dataset as it was. Field names are resolved once per filter and the
//                filter runs compiled over the stored columns (CompiledFilter.h).
//   Controls     DisableControls / EnableControls / ControlsDisabled; data sources
//                (DataSource.h) hear of every change.
//   Events       Before/After Open, Close, Scroll, Insert, Edit, Post, Cancel, Delete;
//                OnNewRecord, OnCalcFields, OnFilterRecord (std::function members; tested
//                before every call)
//
// Descendants load and write the records: InternalInitFieldDefs names the columns, InternalLoad
// fills the store (or its first part, with InternalFetch reading on), InternalPost/InternalDelete
// write changes back, InternalClose lets go.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "Component.h"
#include "DBTypes.h"
#include "PlatformExport.h"
#include "RecordStore.h"
#include "Variant.h"

namespace Kel {

class TDataSet;
class TDataSource;
class TExprEvaluator;
class TCompiledFilter;
class TFilterRowSource;
class TDataSetRowSource;
class TField;

using TBookmark = QByteArray;

// The fields of a dataset, in order.
class KEL_PLATFORM_EXPORT TFields {
 public:
  explicit TFields(TDataSet* dataSet) : dataSet_(dataSet) {}

  int Count() const { return static_cast<int>(fields_.size()); }
  TField* Fields(int index) const;  // raises EListError for a bad index
  TField* operator[](int index) const { return Fields(index); }
  TField* FindField(const QString& name) const;  // ignores case; nullptr when absent
  TField* FieldByName(const QString& name) const;
  int IndexOf(const TField* field) const;
  TDataSet* DataSet() const { return dataSet_; }
  auto begin() const { return fields_.begin(); }
  auto end() const { return fields_.end(); }

 private:
  friend class TDataSet;
  void Add(TField* field) { fields_.push_back(field); }
  void Remove(TField* field);

  TDataSet* dataSet_;
  std::vector<TField*> fields_;
};

// A column of an open dataset as its source describes it.
struct TFieldDef {
  QString Name;
  TFieldType DataType = ftUnknown;
  int Size = 0;
  bool Required = false;
  bool Hidden = false;  // kept by the dataset for itself (a row id): no field is made for it
};

// What SQL text written for a dataset's database must heed besides the standard: PostgreSQL
// reads an unquoted name in lower case, so a name with capitals is found only quoted, and
// compares money only with money, which a quoted literal becomes there (a bare number does not).
struct TSqlTextRules {
  bool QuoteNamesWithCapitals = false;
  bool QuoteMoneyValues = false;
};

class KEL_PLATFORM_EXPORT TDataSet : public TComponent {
  Q_OBJECT
  Q_PROPERTY(bool Active READ Active WRITE SetActive)
  Q_CLASSINFO("default:Active", "False")
  Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
  Q_PROPERTY(bool Filtered READ Filtered WRITE SetFiltered)
  Q_CLASSINFO("default:Filtered", "False")
  Q_PROPERTY(
      Kel::TSet<Kel::DB::TFilterOption> FilterOptions READ FilterOptions WRITE SetFilterOptions)
  Q_CLASSINFO("default:FilterOptions", "[]")

 public:
  using TDataSetNotifyEvent = std::function<void(TDataSet* dataSet)>;

  Q_INVOKABLE explicit TDataSet(TComponent* owner = nullptr);
  ~TDataSet() override;

  // --- fields
  TFields& Fields() { return fields_; }
  const TFields& Fields() const { return fields_; }
  int FieldCount() const { return fields_.Count(); }
  TField* FindField(const QString& name) const { return fields_.FindField(name); }
  TField* FieldByName(const QString& name) const { return fields_.FieldByName(name); }
  Variant FieldValues(const QString& fieldNames) const;
  void SetFieldValues(const QString& fieldNames, const Variant& values);
  const std::vector<TFieldDef>& FieldDefs() const { return fieldDefs_; }
  // The fields named in a ";"-separated list; raises "Field 'x' not found".
  std::vector<TField*> GetFieldList(const QString& fieldNames) const;

  // --- opening and state
  bool Active() const { return state_ != dsInactive; }
  void SetActive(bool active);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const { return state_; }
  bool IsEmpty() const;
  bool Modified() const { return modified_; }

  // --- navigation
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  int MoveBy(int distance);
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  int RecordCount() const;
  int RecNo() const;
  void SetRecNo(int recNo);

  // --- fetching
  bool AllRecordsFetched() const { return !Active() || InternalFetchedAll(); }
  // The records read from the source so far (with those added here, filter or not).
  int FetchedRecordCount() const { return store_.RowCount(); }

  // --- bookmarks
  TBookmark GetBookmark() const;
  void GotoBookmark(const TBookmark& bookmark);
  bool BookmarkValid(const TBookmark& bookmark) const;
  int CompareBookmarks(const TBookmark& a, const TBookmark& b) const;
  void FreeBookmark(TBookmark& bookmark) const { bookmark.clear(); }
  TBookmark Bookmark() const { return GetBookmark(); }
  void SetBookmark(const TBookmark& bookmark) { GotoBookmark(bookmark); }

  // --- searching
  bool Locate(const QString& keyFields, const Variant& keyValues, TLocateOptions options = {});
  Variant Lookup(const QString& keyFields, const Variant& keyValues,
                 const QString& resultFields) const;

  // How SQL text for the dataset's database is written; none beyond the standard here.
  virtual TSqlTextRules SqlTextRules() const { return {}; }

  // --- editing
  virtual bool CanModify() const { return true; }
  void Edit();
  void Insert();
  void Append();
  void Post();
  void Cancel();
  void Delete();
  // Lets the data sources write what they hold, and posts a record being edited (or cancels it
  // when unchanged); raises for a closed dataset.
  void CheckBrowseMode() {
    CheckActive();
    DataEvent(deCheckBrowseMode);
    if (state_ == dsEdit || state_ == dsInsert) FinishEditing();
  }
  void AppendRecord(const std::vector<Variant>& values);
  void InsertRecord(const std::vector<Variant>& values);
  // Reloads the records from the source (descendants that have one); the cursor stays on the
  // same record when it still exists.
  void Refresh();

  // --- filtering
  QString Filter() const { return filterText_; }
  void SetFilter(const QString& text);
  bool Filtered() const { return filtered_; }
  void SetFiltered(bool filtered);
  TFilterOptions FilterOptions() const { return filterOptions_; }
  void SetFilterOptions(TFilterOptions options);
  // Whether filters run compiled over the columns (the default) or node by node over Variants;
  // both give the same records. The Variant form exists to check that.
  bool CompiledFiltering() const { return compiledFiltering_; }
  void SetCompiledFiltering(bool compiled);

  // --- controls
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }

  // --- for conditions compiled over the stored columns (CompiledFilter.h)
  // Where the values of the records lie: stored columns of data fields, and any field by name.
  const TFilterRowSource& RowSource() const;
  // Changes whenever the stored columns or the fields bound to them may change (open, close,
  // refresh, fields added or removed): a condition compiled before must be compiled again.
  uint64_t LayoutGeneration() const { return layoutGeneration_; }
  // Changes whenever a stored value may change (records added, written, deleted, reloaded).
  uint64_t DataVersion() const { return store_.Version(); }
  // The number of stored rows (those a filter hides included): store rows are 0..count-1.
  int StoredRowCount() const { return store_.RowCount(); }
  // The store row whose values the fields show, or -1 when there is none or when they show
  // others (a record being edited or inserted, the record of a calculation or filter event).
  int CurrentRow() const {
    return state_ == dsBrowse && rowOverride_ == -1 ? CurrentStoreRow() : -1;
  }

  // --- values of any record (for grids): recordIndex counts the records shown, from 0
  Variant RecordValue(int recordIndex, const TField* field) const;
  // The index of the current record among those shown (-1 without one).
  int ActiveRecordIndex() const { return cursor_; }

  // While it lives, the fields show the values of another record (recordIndex counts the
  // records shown, from 0) without moving the cursor or telling anyone: a grid paints each of
  // its rows this way and asks what depends on the fields (a colour rule) for that row. The
  // current record, one being edited, and an index beyond the records leave the fields as they
  // are.
  class TRecordViewScope {
   public:
    TRecordViewScope(const TDataSet& dataSet, int recordIndex);
    ~TRecordViewScope();
    TRecordViewScope(const TRecordViewScope&) = delete;
    TRecordViewScope& operator=(const TRecordViewScope&) = delete;

   private:
    const TDataSet& dataSet_;
    int previous_;
  };

  // --- events
  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
  TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
  TDataSetNotifyEvent OnNewRecord, OnCalcFields;
  std::function<void(TDataSet* dataSet, bool& accept)> OnFilterRecord;

 protected:
  // --- what descendants provide
  // Fills FieldDefs (the default: one definition per data field).
  virtual void InternalInitFieldDefs();
  // Fills the store, whose columns follow FieldDefs (the default keeps what the store holds).
  virtual void InternalLoad(TRecordStore& store);
  // A source that InternalLoad left partly read appends up to count more records (every one
  // left when count is negative) and returns how many it appended.
  virtual int InternalFetch(TRecordStore& store, int count) { return 0; }
  virtual bool InternalFetchedAll() const { return true; }
  virtual void InternalClose() {}
  // Writes a posted record back; values are in FieldDefs order and may be completed (a
  // generated key). storeRow is the record's row, or -1 when it is new.
  virtual void InternalPost(int storeRow, std::vector<Variant>& values) {}
  virtual void InternalDelete(int storeRow) {}
  // Raises unless the records may be changed (the default: "Cannot modify a read-only
  // dataset" when CanModify says no); descendants give a more precise reason.
  virtual void CheckCanModify() const;
  // Whether this dataset ever opens (an emulated dataset that only carries fields does not).
  virtual bool CanOpen() const { return true; }
  // Whether the records stay in memory after Close (an in-memory table keeps them).
  virtual bool KeepsRecordsWhenClosed() const { return false; }

  std::vector<TFieldDef>& MutableFieldDefs() { return fieldDefs_; }
  // Adds records straight to the store (values in store column order), showing those that pass
  // the filter; one notification for all. For fast loading of an open or closed dataset.
  void AppendStoredRows(const std::vector<std::vector<Variant>>& rows);
  TRecordStore& Store() { return store_; }
  const TRecordStore& Store() const { return store_; }
  void CheckActive() const {
    if (!Active()) RaiseClosed();
  }
  void CheckInactive() const;
  // Reads the records the source still holds (for writing through a connection that the
  // reading shares).
  void FetchAllRecords() const;
  // Tells the data sources, or only notes that something changed while controls are disabled
  // (a search moving through many records does so on every move).
  void DataEvent(TDataEvent event, TField* field = nullptr, int info = 0) {
    if (disableCount_ > 0) {
      pendingChange_ = true;
      return;
    }
    NotifyDataSources(event, field, info);
  }

 private:
  friend class TField;
  friend class TDataSource;
  friend class TDataSetRowSource;

  void PostNewRecord(const std::vector<Variant>& values);
  [[noreturn]] static void RaiseClosed();
  void NotifyDataSources(TDataEvent event, TField* field, int info);

  // fields
  void AddField(TField* field);
  void RemoveField(TField* field);
  void CreateDefaultFields();
  void BindFields();
  void DestroyDefaultFields();
  Variant FieldValue(const TField* field) const;
  Variant FieldValueAtRow(const TField* field, int storeRow) const;
  void SetFieldValue(TField* field, const Variant& value);
  Variant CalcFieldValue(const TField* field, int storeRow) const;
  Variant LookupFieldValue(const TField* field, int storeRow) const;

  // opening
  void DoOpen();
  void DoClose();
  void SetState(TDataSetState state);

  // fetching: records read later are appended to the store and, when they pass the filter,
  // to the view
  bool FetchRecords(int count) const;
  bool FetchIntoView() const;
  void FetchThrough(int64_t viewIndex) const;

  // cursor and view
  int CurrentStoreRow() const {
    return cursor_ >= 0 && cursor_ < static_cast<int>(view_.size())
               ? view_[static_cast<size_t>(cursor_)]
               : -1;
  }
  int ContextRow() const;
  void SetCursor(int index);
  void ResetCursorToFirst();
  // Makes the record at view index the current one, with the scroll events around it.
  void ScrollTo(int index);
  void RebuildView();
  std::vector<int> ComputeView(bool filtered, TExprEvaluator* evaluator,
                               TCompiledFilter* program) const;
  void PrepareFilter(const QString& text, TFilterOptions options,
                     std::unique_ptr<TExprEvaluator>& evaluator,
                     std::unique_ptr<TCompiledFilter>& program) const;
  void ApplyFilterChange(const QString& text, bool filtered, TFilterOptions options);
  bool RowPassesFilter(int storeRow) const;
  void PositionOnStoreRow(int storeRow, int fallbackIndex);
  void DoBeforeScroll() { Call(BeforeScroll); }
  void DoAfterScroll() { Call(AfterScroll); }
  int StoreRowOfBookmark(const TBookmark& bookmark) const;
  bool RecordMatchesKeys(int storeRow, const std::vector<TField*>& fields,
                         const std::vector<Variant>& keys, TLocateOptions options) const;

  // editing
  void BeginInsert(bool append);
  void ClearEditState();
  void FinishEditing();

  void Call(const TDataSetNotifyEvent& event) {
    if (event) event(this);
  }

  TFields fields_;
  std::vector<TFieldDef> fieldDefs_;
  std::vector<TField*> defaultFields_;  // created at open, freed at close
  TRecordStore store_;
  TDataSetState state_ = dsInactive;
  bool opening_ = false;

  std::vector<int> view_;  // store rows shown, in store order
  int cursor_ = -1;        // index into view_
  bool bof_ = true;
  bool eof_ = true;

  // editing
  std::vector<Variant> editValues_;  // per store column while editing or inserting
  int editStoreRow_ = -1;            // the row being edited
  int insertStoreRow_ = -1;          // where an inserted record goes
  int insertViewIndex_ = -1;
  bool modified_ = false;

  // calculated fields: the values of one row at a time
  mutable std::vector<Variant> calcValues_;
  mutable int calcRow_ = -2;
  mutable int rowOverride_ = -1;
  mutable bool calculating_ = false;
  // lookup values being computed (field, row): lookups that lead back to themselves are refused
  mutable std::vector<std::pair<const TField*, int>> lookupsRunning_;

  // filtering
  QString filterText_;
  bool filtered_ = false;
  TFilterOptions filterOptions_;
  bool compiledFiltering_ = true;
  std::unique_ptr<TExprEvaluator> filterEvaluator_;
  std::unique_ptr<TCompiledFilter> filterProgram_;
  std::unique_ptr<TDataSetRowSource> rowSource_;
  uint64_t layoutGeneration_ = 0;

  // controls
  int disableCount_ = 0;
  bool pendingChange_ = false;
  TDataSetState disabledState_ = dsInactive;
  std::vector<TDataSource*> dataSources_;
};

}  // namespace Kel
