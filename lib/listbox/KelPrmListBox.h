#pragma once
// TKelPrmListBox: the parameter list box. Each row is one TKelListItem drawn as a sentence: an
// optional flat check box, indentation by outline level, and the item's markup text whose
// parameters are links. A click on a link (or Enter on the selected row) opens the editor that
// the parameter's pick type and data type select; the rest of the row selects, toggles the
// check box or starts a drag that moves, indents or outdents the item.
//
// Geometry
//   Every row is ItemHeight high (the font's "Wg" height + 2). The client area is the widget
//   inside its border and scroll bars; ClientOrigin() says where it starts, and every point and
//   rectangle of the public interface is in client coordinates. With ShowAddItem an extra row
//   (AddItemText) follows the items; when the items do not fit it takes the last whole row.
//   Row hit testing excludes a row's top edge and includes its bottom edge (Y = 0 hits nothing,
//   Y = ItemHeight is still row 0).
//
// Scroll bars
//   The vertical bar follows the selection, not the top row: its thumb is at ItemIndex, its
//   classic range 0 .. Count + VisibleRows - 2 with a page of VisibleRows (VertScrollInfo). Its
//   line and page requests move the selection. The horizontal bar scrolls by pixels over
//   MaxWidth.
//
// Cost
//   Painting touches only the visible rows. The plain text and width of an item are measured
//   once and kept until the item reports a change (or the font or a format changes), so
//   painting, adding and editing cost the same with ten or ten thousand items.
//
// Failed changes
//   A change the user makes through the box (a key of the "Default" layout that edits, Space, a
//   click on a check box or the add row, a drop, an editor's value, an action) is told to
//   OnChange and, in a filter box, written into the dataset; when that raises (the dataset
//   refuses the filter), RunUserChange puts the items, the selection and the scroll position
//   back as they were before the change, and the error goes on to the event-error handler.
//   (The copy this takes is made for those commands only, never for moving around the list.)
//
// Keys
//   The bindings are the key layout "Default", registered once per process for this class (and
//   found by descendants through the class hierarchy).

#include <QHash>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "Canvas.h"
#include "Color.h"
#include "GuiTypes.h"
#include "KelCustomControl.h"
#include "KelExport.h"
#include "KelForms.h"
#include "KelListItems.h"
#include "KelListMemorySlots.h"
#include "Rect.h"
#include "Set.h"

class QScrollBar;
class QMenu;
class QDialog;

namespace Kel {

class TKelPopupForm;
class TStream;
class TKelPrmListAction;

namespace KelListBoxOptions {
Q_NAMESPACE_EXPORT(KEL_EXPORT)
enum TKelListBoxOption : uint8_t {
  fboSortFields,
  fboSortConditions,
  fboCanAdd,
  fboCanDelete,
  fboCanIndent,
  fboCanOpen,
  fboCanSave,
  fboCanSaveToMem,
  fboCanLoadFromMem,
};
Q_ENUM_NS(TKelListBoxOption)

// Options as flags with the bits of TKelFltBoxOptions: how Qt's form designer edits and stores
// them (see SetToFlags).
enum TKelListBoxOptionFlag : unsigned {
  loSortFields = 1u << fboSortFields,
  loSortConditions = 1u << fboSortConditions,
  loCanAdd = 1u << fboCanAdd,
  loCanDelete = 1u << fboCanDelete,
  loCanIndent = 1u << fboCanIndent,
  loCanOpen = 1u << fboCanOpen,
  loCanSave = 1u << fboCanSave,
  loCanSaveToMem = 1u << fboCanSaveToMem,
  loCanLoadFromMem = 1u << fboCanLoadFromMem,
};
Q_DECLARE_FLAGS(TKelListBoxOptionFlags, TKelListBoxOptionFlag)
Q_FLAG_NS(TKelListBoxOptionFlags)
Q_DECLARE_OPERATORS_FOR_FLAGS(TKelListBoxOptionFlags)
}  // namespace KelListBoxOptions
using namespace KelListBoxOptions;
using TKelFltBoxOptions = TSet<TKelListBoxOption>;

// The row state a row is drawn in.
enum TKelRowStateFlag : uint8_t { rsSelected = 1, rsFocused = 2 };

class TKelPrmListBox;

// (Sender; the item; the parameter; its rectangle; set Processed to stop the editor)
using TKelOnPickParameter =
    std::function<void(TKelPrmListBox* sender, TKelListItem* item, TKelListParam* param,
                       const TRect& rect, bool& processed)>;
using TKelOnPickLookupParam =
    std::function<void(TKelPrmListBox* sender, TKelListItem* item, TKelListParam* param,
                       const TRect& rect, TKelLookupDef& lookupDef, bool& processed)>;
using TKelOnListGetLookupDef = std::function<void(TKelPrmListBox* sender, TKelListItem* item,
                                                  TKelListParam* param, TKelLookupDef& lookupDef)>;
using TKelAddItemEvent = std::function<void(TKelPrmListBox* sender, TKelListItem* item)>;
using TKelNotifyEvent = std::function<void(TKelPrmListBox* sender)>;
// Fills a string list (the provider form of PickFromStrings).
using TKelStringsProvider = std::function<void(TStrings* list)>;

// The classic scroll information of one bar: range Min .. Max, Page, Pos.
struct TKelScrollInfo {
  int Min = 0;
  int Max = 0;
  int Page = 0;
  int Pos = 0;
  bool Visible = false;
};

class KEL_EXPORT TKelPrmListBox : public TKelCustomControl {
  Q_OBJECT
  Q_PROPERTY(bool CheckBoxes READ CheckBoxes WRITE SetCheckBoxes)
  Q_CLASSINFO("default:CheckBoxes", "True")
  Q_PROPERTY(bool ShowAddItem READ ShowAddItem WRITE SetShowAddItem)
  Q_CLASSINFO("default:ShowAddItem", "False")
  Q_PROPERTY(QString AddItemText READ AddItemText WRITE SetAddItemText)
  Q_PROPERTY(int ClickHereColor READ ClickHereColor WRITE SetClickHereColor)
  Q_PROPERTY(int LinkColor READ LinkColor WRITE SetLinkColor)
  Q_CLASSINFO("default:LinkColor", "8388608")
  Q_PROPERTY(int HoverLinkColor READ HoverLinkColor WRITE SetHoverLinkColor)
  Q_CLASSINFO("default:HoverLinkColor", "255")
  Q_PROPERTY(bool HideHoverLink READ HideHoverLink WRITE SetHideHoverLink)
  Q_CLASSINFO("default:HideHoverLink", "False")
  Q_PROPERTY(int SelColor READ SelColor WRITE SetSelColor)
  Q_CLASSINFO("default:SelColor", "12632256")
  Q_PROPERTY(bool HideSelected READ HideSelected WRITE SetHideSelected)
  Q_CLASSINFO("default:HideSelected", "False")
  Q_PROPERTY(bool HideFocus READ HideFocus WRITE SetHideFocus)
  Q_CLASSINFO("default:HideFocus", "True")
  Q_PROPERTY(bool IntegralHeight READ IntegralHeight WRITE SetIntegralHeight)
  Q_CLASSINFO("default:IntegralHeight", "True")
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_CLASSINFO("default:ReadOnly", "False")
  Q_PROPERTY(bool EditWithMouse READ EditWithMouse WRITE SetEditWithMouse)
  Q_CLASSINFO("default:EditWithMouse", "False")
  Q_PROPERTY(bool NewItemChecked READ NewItemChecked WRITE SetNewItemChecked)
  Q_CLASSINFO("default:NewItemChecked", "True")
  Q_PROPERTY(QString SaveFileExt READ SaveFileExt WRITE SetSaveFileExt)
  Q_PROPERTY(QString SaveFileCat READ SaveFileCat WRITE SetSaveFileCat)
  Q_PROPERTY(QString SaveFileName READ SaveFileName WRITE SetSaveFileName)
  Q_PROPERTY(bool DefStoreMemory READ DefStoreMemory WRITE SetDefStoreMemory)
  Q_CLASSINFO("default:DefStoreMemory", "False")
  Q_PROPERTY(bool DefStoreItems READ DefStoreItems WRITE SetDefStoreItems)
  Q_CLASSINFO("default:DefStoreItems", "False")
  Q_PROPERTY(QString DefStoreContext READ DefStoreContext WRITE SetDefStoreContext)
  Q_PROPERTY(bool ForceSQLDateTime READ ForceSQLDateTime WRITE SetForceSQLDateTime)
  Q_CLASSINFO("default:ForceSQLDateTime", "False")
  Q_PROPERTY(bool ForceSQLBooleans READ ForceSQLBooleans WRITE SetForceSQLBooleans)
  Q_CLASSINFO("default:ForceSQLBooleans", "False")
  Q_PROPERTY(
      Kel::KelListBoxOptions::TKelListBoxOptionFlags Options READ OptionFlags WRITE SetOptionFlags)
  // The items and the memory slots in the text form of component streams: how a form made in
  // Qt's form designer stores them. Its property editor does not show them; they are edited in
  // dialogs of their own there.
  Q_PROPERTY(QByteArray ItemsText READ ItemsText WRITE SetItemsText DESIGNABLE false)
  Q_PROPERTY(
      QByteArray MemorySlotsText READ MemorySlotsText WRITE SetMemorySlotsText DESIGNABLE false)

 public:
  explicit TKelPrmListBox(QWidget* parent = nullptr);
  ~TKelPrmListBox() override;

  // ---- published properties
  TKelListItems* Items() const { return items_.get(); }
  void SetItems(TKelListItems* value);  // copies the items
  bool CheckBoxes() const { return checkBoxes_; }
  void SetCheckBoxes(bool value);
  bool ShowAddItem() const { return showAddItem_; }
  void SetShowAddItem(bool value);
  QString AddItemText() const { return addItemText_; }
  void SetAddItemText(const QString& value);
  TColor ClickHereColor() const { return clickHereColor_; }
  void SetClickHereColor(TColor value);
  TColor LinkColor() const { return linkColor_; }
  void SetLinkColor(TColor value);
  TColor HoverLinkColor() const { return hoverLinkColor_; }
  void SetHoverLinkColor(TColor value);
  bool HideHoverLink() const { return hideHoverLink_; }
  void SetHideHoverLink(bool value);
  TColor SelColor() const { return selColor_; }
  void SetSelColor(TColor value);
  bool HideSelected() const { return hideSelected_; }
  void SetHideSelected(bool value);
  bool HideFocus() const { return hideFocus_; }
  void SetHideFocus(bool value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  bool IntegralHeight() const { return integralHeight_; }
  void SetIntegralHeight(bool value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  bool EditWithMouse() const { return editWithMouse_; }
  void SetEditWithMouse(bool value) { editWithMouse_ = value; }
  bool NewItemChecked() const { return newItemChecked_; }
  void SetNewItemChecked(bool value) { newItemChecked_ = value; }
  TKelFltBoxOptions Options() const { return options_; }
  void SetOptions(TKelFltBoxOptions value) { options_ = value; }
  TKelListBoxOptionFlags OptionFlags() const { return SetToFlags<TKelListBoxOptionFlag>(options_); }
  void SetOptionFlags(TKelListBoxOptionFlags value) {
    SetOptions(FlagsToSet<TKelListBoxOption>(value));
  }
  // The items (and the slots) as text; setting a text that does not read keeps what was there
  // and says why on the Qt warning channel, as a form file cannot take an exception.
  QByteArray ItemsText() const;
  void SetItemsText(const QByteArray& value);
  QByteArray MemorySlotsText() const;
  void SetMemorySlotsText(const QByteArray& value);
  QString SaveFileExt() const { return saveFileExt_; }
  void SetSaveFileExt(const QString& value) { saveFileExt_ = value; }
  QString SaveFileCat() const { return saveFileCat_; }
  void SetSaveFileCat(const QString& value) { saveFileCat_ = value; }
  QString SaveFileName() const { return saveFileName_; }
  void SetSaveFileName(const QString& value) { saveFileName_ = value; }
  bool ForceSQLDateTime() const { return items_->ForceSQLDateTime(); }
  void SetForceSQLDateTime(bool value);
  bool ForceSQLBooleans() const { return items_->ForceSQLBooleans(); }
  void SetForceSQLBooleans(bool value);
  TKelFltDateTimeFormat* FilterDateTimeFormat() const { return items_->FilterDateTimeFormat(); }
  void SetFilterDateTimeFormat(TKelFltDateTimeFormat* value);
  TKelFltDateTimeFormat* SQLDateTimeFormat() const { return items_->SQLDateTimeFormat(); }
  void SetSQLDateTimeFormat(TKelFltDateTimeFormat* value);
  TKelFltDateTimeFormat* DisplayDateTimeFormat() const { return items_->DisplayDateTimeFormat(); }
  void SetDisplayDateTimeFormat(TKelFltDateTimeFormat* value);
  // Whether the published text properties differ from their defaults (the stored rule).
  bool IsAddItemTextStored() const;
  bool IsPropertyStored(const char* name) const;

  // ---- rows and geometry (client coordinates)
  int ItemHeight() const { return itemHeight_; }
  int TopIndex() const { return topIndex_; }
  void SetTopIndex(int value);
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int value);
  int MaxWidth() const { return maxWidth_; }
  int HorzPos() const;
  void SetHorzPos(int value);
  int ClientWidth() const;
  int ClientHeight() const;
  // Where the client area starts in widget coordinates.
  QPoint ClientOrigin() const;
  int VisibleRows() const;
  int UsableHeight() const;
  TRect ItemRect(int index) const;
  int ItemAtPos(QPoint p, bool exact) const;
  bool IsOnAddRow(QPoint p) const;
  TRect ParamRect(TKelListItem* item, TKelListParam* param, int pos) const;
  // The 1-based character of the row's plain text under p (0 beyond the text) and the row
  // (-1 beyond the items).
  void CharPosAt(QPoint p, int& n, int& row) const;
  // Hot spot k of an item's line stands for its k-th visible parameter (hidden ones leave no
  // link in the text): the parameter index of hot spot k, and the hot spot of a parameter
  // (-1 when there is none).
  int ParamOfHotSpot(const TKelListItem* item, int k) const;
  int HotSpotOfParam(const TKelListItem* item, int paramIndex) const;
  static int CheckSize();
  int IndentWidth(const TKelListItem* item) const { return CheckSize() * item->IndentLev(); }
  int CheckArea() const { return checkBoxes_ ? CheckSize() + 2 : 0; }
  TKelScrollInfo VertScrollInfo() const;
  TKelScrollInfo HorzScrollInfo() const;
  QScrollBar* VertScrollBar() const { return vertBar_; }
  QScrollBar* HorzScrollBar() const { return horzBar_; }
  void InvalidateItem(int index);
  void UpdateFontMetrics();
  void UpdateMaxWidth(bool updateBars);

  // ---- parameter editing
  TKelListItem* ActiveItem() const { return activeItem_; }
  TKelListParam* ActiveParam() const { return activeParam_; }
  TRect ActiveParamRect() const { return activeParamRect_; }
  // The open (or last) editor.
  TKelPopupForm* Popup() const { return popup_; }
  const TKelLookupDef& LookupDef() const { return lookupDef_; }
  virtual void PickParameter();
  virtual void GetPickList(TKelListItem* item, TKelListParam* param, TStrings* list);
  virtual bool HasPickList(TKelListItem* item, TKelListParam* param);
  virtual void GetLookupDef(TKelListItem* item, TKelListParam* param, TKelLookupDef& lookupDef);
  static bool LookupUsable(const TKelLookupDef& lookupDef);
  virtual void ShowLookupPopup(const TKelLookupDef& lookupDef);
  using TCloseHandler = std::function<void(TKelPopupForm* popup, bool canceled)>;
  void ShowList(TStrings* list, int index, const TRect& rect, TCloseHandler handler);
  // Shows entries (from list, or from provider when list is null) through TextBetweenTildes,
  // each remembering its position in the source; handler gets the source position of the
  // chosen entry (or nothing on cancel).
  void PickFromStrings(TStrings* list, const TKelStringsProvider& provider,
                       const QString& currentText, bool sorted,
                       std::function<void(int sourceIndex, const QString& text)> handler);
  static QString TextBetweenTildes(const QString& s);
  // Makes the selected item's current parameter the active one and edits it.
  void EditCurrentParam();

  // What a user's change can reach, so that only that is copied to be put back: a copy of a
  // long list costs far more than the change itself.
  enum class TUserChangeReach { WholeList, OneItem, AddedItems };
  // Runs change as one change by the user: when it raises, the items, the selection and the
  // top row are put back as they were and the exception goes on. Nested calls make one change.
  // reach OneItem: the change alters item only; AddedItems: it adds items at the end.
  void RunUserChange(const std::function<void()>& change,
                     TUserChangeReach reach = TUserChangeReach::WholeList,
                     TKelListItem* item = nullptr);

  // ---- structure editing
  virtual void AddItem();
  virtual void DeleteItem(int index);
  bool CanDelete() const;
  bool CanIndent(int index) const;
  void IndentItem(int index);
  void OutdentItem(int index);
  void DeleteSelected();
  void IndentSelected();
  void OutdentSelected();
  bool HasReadOnly() const;
  // Moves source's block to be target's first child; false when the blocks overlap.
  virtual bool MoveItem(TKelListItem* source, TKelListItem* target);
  // A drop of a drag that began at DragStart (client points).
  void DropAt(QPoint dragStart, QPoint drop);

  // ---- saving and loading
  // Format 0: the list's text form; 1: binary component stream; 2: text component stream.
  virtual void SaveToStream(TStream& stream, int format);
  // A truncated stream loads nothing; the list stays as it was.
  virtual void LoadFromStream(TStream& stream, int format);
  virtual void SaveToString(QByteArray& s, int format);
  virtual void LoadFromString(const QByteArray& s, int format);
  // Writes a new file beside the old one and renames it over, so the old file survives any
  // failure; errors raise EFCreateError / EWriteError with the file name.
  void SaveToFile(const QString& fileName, int format);
  void LoadFromFile(const QString& fileName, int format);
  // The save and open dialogs (when fboCanSave / fboCanOpen). A saved file's name ends in
  // SaveFileExt (WithSaveFileExt); when that made it another existing file than the one the
  // dialog confirmed, the user is asked before it is replaced.
  virtual void SaveFile();
  virtual void OpenFile();
  // The dialog filter: "Filters (*.flt)|*.flt" with the defaults.
  QString FileFilter() const;
  // A save name ending in SaveFileExt (with its dot): as it is when it ends so (ignoring case),
  // else with SaveFileExt appended.
  QString WithSaveFileExt(const QString& fileName) const;
  int StoreLock() const { return storeLock_; }

  void Assign(TKelPrmListBox* source);

  // ---- memory slots
  TKelListMemorySlots* MemorySlots() const { return memorySlots_.get(); }
  void SetMemorySlots(TKelListMemorySlots* value);  // copies the slots
  // The slot now holding a copy of the items (an existing one of that name, in any letter
  // case, is reused and renamed); nullptr for an empty name or a system slot at run time.
  TKelListMemorySlot* SaveToSlot(const QString& name);
  // Replaces the items by a copy of the slot's; false for an empty or unknown name.
  bool LoadFromSlot(const QString& name);
  bool CanDeleteSlot(const QString& name) const;
  // The slot dialog; true when closed with OK (deletions and the save or load happen then).
  bool MemoryDialog(bool save);
  void SaveToMemory();
  void LoadFromMemory();
  // The class of the items the box holds (and its slots copy).
  const QMetaObject& ListItemClass() const { return ItemClass(); }

  // ---- stored defaults (the user's registry, between runs)
  bool DefStoreMemory() const { return defStoreMemory_; }
  void SetDefStoreMemory(bool value) { defStoreMemory_ = value; }
  bool DefStoreItems() const { return defStoreItems_; }
  void SetDefStoreItems(bool value) { defStoreItems_ = value; }
  QString DefStoreContext() const { return defStoreContext_; }
  void SetDefStoreContext(const QString& value) { defStoreContext_ = value; }
  // "PrmListBox\<context>", the context being DefStoreContext or else "<owner>.<name>".
  virtual void GetDefStoreKey(QString& key) const;
  // Writes the slots (when DefStoreMemory) and the items (when DefStoreItems) in one change of
  // the store; what is not to be stored is written empty. Nothing when neither is on or while
  // designing. Called when the box goes.
  virtual void SaveDefaults();
  // Reads them back (the parts not stored are read into spares and dropped); a damaged value
  // changes nothing. Runs after loading.
  virtual void LoadDefaults();
  // The collection the item forms 1 and 2 of the save and load operations work on: the items,
  // or a spare while the stored defaults leave the items out.
  TKelListItems* StoreItems() const { return storeItems_ ? storeItems_ : items_.get(); }

  // ---- actions and the default context menu
  // The box's own actions, in the order Outdent, Indent, Clear, Delete, Add, Open, Save.
  const QList<TKelPrmListAction*>& Actions() const { return actions_; }
  // Brings every action's enabled and visible state up to date.
  void UpdateActions();

  // ---- events
  TKelNotifyEvent OnChange;
  TKelAddItemEvent OnAdditem;
  TKelOnPickParameter OnPickParameter;
  TKelOnPickLookupParam OnPickLookupParam;
  TKelOnListGetLookupDef OnGetLookupDef;
  std::function<void(TKelPrmListBox* sender)> OnClick;

  QSize sizeHint() const override { return QSize(160, 97); }

 protected:
  virtual const QMetaObject& ItemClass() const { return TKelListBoxItem::staticMetaObject; }
  // The items collection; a descendant makes one of its own class.
  virtual std::unique_ptr<TKelListItems> CreateItems();
  virtual void ItemChanged(TKelCustomNamedItems* sender, TCollectionItem* item);
  virtual void DrawItem(TCanvas& canvas, int index, TRect rect, int state);
  // Creates the items; descendants call it from their constructor when CreateItems differs.
  void RecreateItems();
  void InitDefaultKeys() override;
  // Called after the items were replaced as a whole (from a slot); the filter box rebuilds its
  // captions here.
  virtual void ItemsReplaced() {}
  // Shows the slot dialog modally and returns its result; a test scripts the dialog here.
  virtual int ExecMemoryForm(QDialog* form);
  void Loaded() override;
  bool IsConsumedChar(QChar key) const override;
  void KeyPress(QChar& key) override;
  // The calendar editor (date, time or date-and-time, by the parameter's pick type, else its
  // data type) and the calculator editor; both write only on an accepted close.
  virtual void ShowDateEditor();
  virtual void ShowNumberEditor();
  // Opens editor as the single editor of the box at ActiveParamRect.
  void OpenEditor(TKelPopupForm* editor, TCloseHandler handler);
  // Stores the defaults once; the most derived box calls it from its destructor, while its own
  // save operations still work.
  void SaveDefaultsOnce();
  // Forgets the text metrics of every item (a format or font changed).
  void InvalidateMetrics();

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  struct TMetrics {
    quint64 Revision = 0;
    quint64 Generation = 0;
    bool Last = false;
    QString Plain;
    int Width = 0;
    // Indent and width of the line when the widest line was last looked for; -1 before.
    int Extent = -1;
  };
  // The item of a line, for loops over every line.
  const TKelListItem* LineItem(int index) const;
  const TMetrics& MetricsOf(int index) const;
  void PruneMetrics();
  // Measures the line's indent and width and notes them as its Extent.
  int MeasureExtent(int index);
  // After a change of one line: the widest line found again only when it may have shrunk.
  void UpdateMaxWidthFor(int index);
  void ApplyMaxWidth(bool updateBars);
  // The metrics checked against the line's text of this moment: a text can change without a
  // report of its item (a filter box's field labels come from its catalogue).
  const TMetrics& FreshMetricsOf(int index) const;
  QString PlainTextOf(const TKelListItem* item) const;
  void BindItems();
  void ApplyLinkTags();
  // link, or a colour that can be read on the box's background when link cannot.
  TColor ReadableLinkColor(TColor link) const;
  void UpdateScrollBars();
  void LayoutScrollBars();
  void VertAction(int action);
  void HorzAction(int action);
  void PaintAddRow(TCanvas& canvas, int top, int x0, int x1);
  void ToggleChecked(TKelListItem* item);
  // SelColor, or a shade the lines' text can be read on when it cannot be read on SelColor.
  TColor ReadableSelColor() const;
  // Tells a screen reader that the current line is focused (and newly selected).
  void ReportCurrentLine(bool selectionChanged);
  void ClickParam(int row, QPoint p);
  void SelectAndRepaint(int index);
  void DeleteBlock(int index);
  void ShowPickList();
  void ShowBooleanList();
  void ShowTextEdit();
  void PickLookup(const TKelLookupDef& def);
  void CreateActionsAndMenu();
  bool DefaultsEnabled() const { return (defStoreMemory_ || defStoreItems_) && !IsDesigning(); }

  std::unique_ptr<TKelListItems> items_;
  mutable QHash<const TKelListItem*, TMetrics> metrics_;
  quint64 metricsGeneration_ = 1;
  QScrollBar* vertBar_;
  QScrollBar* horzBar_;
  int itemHeight_ = 15;
  int topIndex_ = 0;
  int itemIndex_ = -1;
  int maxWidth_ = 0;
  int widestLine_ = 0;            // the largest Extent of the lines
  quint64 extentGeneration_ = 0;  // metricsGeneration_ when the Extents were measured
  int horzPos_ = 0;
  bool checkBoxes_ = true;
  bool showAddItem_ = false;
  QString addItemText_;
  TColor clickHereColor_ = clInactiveCaption;
  TColor linkColor_ = clNavy;
  TColor hoverLinkColor_ = clRed;
  bool hideHoverLink_ = false;
  TColor selColor_ = clSilver;
  bool hideSelected_ = false;
  bool hideFocus_ = true;
  TBorderStyle borderStyle_ = bsSingle;
  bool integralHeight_ = true;
  TColor color_ = clWindow;
  bool readOnly_ = false;
  bool editWithMouse_ = false;
  bool newItemChecked_ = true;
  TKelFltBoxOptions options_;
  QString saveFileExt_;
  QString saveFileCat_;
  QString saveFileName_;
  QPointer<TKelListItem> activeItem_;
  QPointer<TKelListParam> activeParam_;
  TRect activeParamRect_;
  QPointer<TKelPopupForm> popup_;
  TKelLookupDef lookupDef_;
  QPoint dragStart_{-1, -1};
  QPoint pressPos_;
  bool dragging_ = false;
  int storeLock_ = 0;
  bool inUserChange_ = false;
  std::unique_ptr<TKelListMemorySlots> memorySlots_;
  QList<TKelPrmListAction*> actions_;
  bool defStoreMemory_ = false;
  bool defStoreItems_ = false;
  QString defStoreContext_;
  TKelListItems* storeItems_ = nullptr;
  bool defaultsSaved_ = false;
  QMenu* defaultMenu_ = nullptr;
};

}  // namespace Kel
