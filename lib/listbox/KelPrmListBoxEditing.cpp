// Structure editing of the list box (add, delete, indent, outdent, move by dragging) and its
// stream, string and file forms.
#include <QDir>
#include <QMessageBox>
#include <QFileDialog>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <vector>

#include "KelFltBoxMem.h"
#include "KelListBoxTexts.h"
#include "KelMessageBox.h"
#include "KelPersHolder.h"
#include "KelRegistryStream.h"
#include "KelPrmListBox.h"
#include "KelUtils.h"
#include "Streams.h"
#include "UpdateBracket.h"

namespace Kel {

// ---- structure

void TKelPrmListBox::AddItem() {
  auto* item = qobject_cast<TKelListItem*>(items_->TCollection::Add(ItemClass()));
  if (!item) return;
  item->SetChecked(newItemChecked_);
  if (OnAdditem) OnAdditem(this, item);
}

void TKelPrmListBox::DeleteItem(int index) {
  if (index < 0 || index >= items_->Count() || items_->IsItemReadOnly(items_->Items(index))) return;
  WithinUpdate(*items_, [&] {
    const int level = items_->Items(index)->IndentLev();
    items_->Delete(index);
    while (index < items_->Count() && items_->Items(index)->IndentLev() > level)
      items_->Delete(index);
  });
  if (items_->Count() > 0) {
    // The old selection may equal the new one while its row is another item now.
    itemIndex_ = -1;
    SetItemIndex(std::min(index, items_->Count() - 1));
  }
}

namespace {
int Selected(const TKelListItems* items, int itemIndex) {
  return std::min(itemIndex, items->Count() - 1);
}
}  // namespace

bool TKelPrmListBox::CanDelete() const {
  const int sel = Selected(items_.get(), itemIndex_);
  return sel >= 0 && !items_->IsItemReadOnly(items_->Items(sel));
}

bool TKelPrmListBox::CanIndent(int index) const {
  if (index <= 0 || index >= items_->Count()) return false;
  const TKelListItem* item = items_->Items(index);
  return !items_->IsItemReadOnly(item) &&
         item->IndentLev() != items_->Items(index - 1)->IndentLev() + 1;
}

void TKelPrmListBox::IndentItem(int index) {
  if (!CanIndent(index)) return;
  WithinUpdate(*items_, [&] {
    const int level = items_->Items(index)->IndentLev() + 1;
    items_->Items(index)->SetIndentLev(level);
    for (int i = index + 1; i < items_->Count() && items_->Items(i)->IndentLev() >= level; ++i)
      items_->Items(i)->SetIndentLev(items_->Items(i)->IndentLev() + 1);
  });
}

void TKelPrmListBox::OutdentItem(int index) { items_->OutdentItem(index); }

void TKelPrmListBox::DeleteSelected() {
  if (options_.Contains(fboCanDelete)) DeleteItem(Selected(items_.get(), itemIndex_));
}

void TKelPrmListBox::IndentSelected() {
  if (options_.Contains(fboCanIndent)) IndentItem(Selected(items_.get(), itemIndex_));
}

void TKelPrmListBox::OutdentSelected() {
  if (options_.Contains(fboCanIndent)) OutdentItem(Selected(items_.get(), itemIndex_));
}

bool TKelPrmListBox::HasReadOnly() const {
  if (readOnly_) return true;
  for (int i = 0; i < items_->Count(); ++i)
    if (items_->Items(i)->ReadOnly()) return true;
  return false;
}

namespace {
// The index one past the block of item index (the item and the deeper items after it).
int BlockEnd(const TKelListItems* items, int index) {
  const int level = items->Items(index)->IndentLev();
  int end = index + 1;
  while (end < items->Count() && items->Items(end)->IndentLev() > level) ++end;
  return end;
}
}  // namespace

bool TKelPrmListBox::MoveItem(TKelListItem* source, TKelListItem* target) {
  if (!source || !target || source->Collection() != items_.get() ||
      target->Collection() != items_.get())
    return false;
  const int s = source->Index();
  const int t = target->Index();
  const int sEnd = BlockEnd(items_.get(), s);
  const int tEnd = BlockEnd(items_.get(), t);
  // Overlapping blocks: a block cannot become a child of itself or of its own descendant.
  if ((t >= s && t < sEnd) || (s >= t && s < tEnd)) return false;
  std::vector<TKelListItem*> block;
  for (int i = s; i < sEnd; ++i) block.push_back(items_->Items(i));
  const int dt = target->IndentLev();
  const int ds = source->IndentLev();
  const bool up = t < s;
  // Moving up, each item goes one place further after the target. Moving down, every item
  // taken out from above the target shifts the target up by one, so the place right after it
  // stays at the target's old index: counting from index + 1 there would drop the block behind
  // the target's next item instead of under the target.
  int p = up ? t + 1 : t;
  WithinUpdate(*items_, [&] {
    for (TKelListItem* x : block) {
      x->SetIndex(std::clamp(p, 0, items_->Count() - 1));
      x->SetIndentLev(x->IndentLev() + dt - ds + 1);
      if (up) ++p;
    }
  });
  return true;
}

void TKelPrmListBox::DropAt(QPoint dragStart, QPoint drop) {
  const int s = ItemAtPos(dragStart, true);
  const int t = ItemAtPos(drop, true);
  if (s < 0 || t < 0 || readOnly_) return;
  if (s != t) {
    MoveItem(items_->Items(s), items_->Items(t));
  } else if (drop.x() > dragStart.x()) {
    IndentItem(t);
  } else {
    OutdentItem(t);
  }
}

// ---- streams, strings and files

namespace {
// Counts one level of the re-entrancy guard of the four store operations.
class TStoreLockScope {
 public:
  explicit TStoreLockScope(int& lock) : lock_(lock) { ++lock_; }
  ~TStoreLockScope() { --lock_; }
  TStoreLockScope(const TStoreLockScope&) = delete;
  TStoreLockScope& operator=(const TStoreLockScope&) = delete;

 private:
  int& lock_;
};
}  // namespace

void TKelPrmListBox::SaveToStream(TStream& stream, int format) {
  if (storeLock_ > 0) return;
  TStoreLockScope lock(storeLock_);
  QByteArray s;
  SaveToString(s, format);
  const int32_t n = static_cast<int32_t>(s.size());
  const unsigned char length[4] = {static_cast<unsigned char>(n & 0xFF),
                                   static_cast<unsigned char>((n >> 8) & 0xFF),
                                   static_cast<unsigned char>((n >> 16) & 0xFF),
                                   static_cast<unsigned char>((n >> 24) & 0xFF)};
  stream.WriteBuffer(length, 4);
  if (n > 0) stream.WriteBuffer(s.constData(), n);
}

void TKelPrmListBox::LoadFromStream(TStream& stream, int format) {
  if (storeLock_ >= 1) return;
  TStoreLockScope lock(storeLock_);
  unsigned char length[4];
  if (stream.Read(length, 4) < 4) return;
  const int64_t n = int64_t(length[0]) | (int64_t(length[1]) << 8) | (int64_t(length[2]) << 16) |
                    (int64_t(int8_t(length[3])) << 24);
  // A negative or overlong length is a damaged stream: nothing loads.
  if (n < 0 || stream.Position() + n > stream.Size()) return;
  QByteArray s(static_cast<qsizetype>(n), Qt::Uninitialized);
  if (n > 0 && stream.Read(s.data(), n) < n) return;
  LoadFromString(s, format);
}

void TKelPrmListBox::SaveToString(QByteArray& s, int format) {
  if (storeLock_ > 0) {
    s.clear();
    return;
  }
  TStoreLockScope lock(storeLock_);
  TMemoryStream stream;
  SaveToStream(stream, format);
  s = stream.Bytes();
}

void TKelPrmListBox::LoadFromString(const QByteArray& s, int format) {
  if (storeLock_ > 0) return;
  TStoreLockScope lock(storeLock_);
  TMemoryStream stream(s);
  LoadFromStream(stream, format);
}

void TKelPrmListBox::SaveToFile(const QString& fileName, int format) {
  // The stream writes beside the file and replaces it on Commit: the old file stays whole
  // until the new one is complete.
  TFileStream file(fileName, fmCreate);
  SaveToStream(file, format);
  file.Commit();
}

void TKelPrmListBox::LoadFromFile(const QString& fileName, int format) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file, format);
}

QString TKelPrmListBox::FileFilter() const {
  QString filter = saveFileCat_ + QStringLiteral(" (*.") + saveFileExt_ + QStringLiteral(")|*.") +
                   saveFileExt_;
  filter.replace(QStringLiteral(".."), QStringLiteral("."));
  return filter;
}

namespace {
// SaveFileExt with its leading dot, whether it was given with one or not.
QString DottedExt(const QString& ext) {
  return ext.isEmpty() || ext.startsWith(u'.') ? ext : u'.' + ext;
}
}  // namespace

QString TKelPrmListBox::WithSaveFileExt(const QString& fileName) const {
  // Appended rather than put in place of another extension: "report.2024" keeps its last part.
  const QString ext = DottedExt(saveFileExt_);
  return fileName.endsWith(ext, Qt::CaseInsensitive) ? fileName : fileName + ext;
}

namespace {
// "Filters (*.flt)|*.flt" in the form of Qt's dialogs: "Filters (*.flt)".
QString QtFilter(const QString& filter) { return filter.section(u'|', 0, 0); }
}  // namespace

void TKelPrmListBox::SaveFile() {
  if (!options_.Contains(fboCanSave)) return;
  const QString ext = DottedExt(saveFileExt_);
  QString start = saveFileName_;
  if (start.isEmpty()) {
    QString folder = ExpandFolderMacros(ListBoxText(KelListBoxText::InitialDir));
    if (!QDir(folder).exists()) folder = QDir::currentPath();
    start = QDir(folder).filePath(ListBoxText(QT_TRANSLATE_NOOP("Kel", "untitled")) + ext);
  }
  // The dialog adds the extension to a bare name before it asks about replacing a file, so the
  // name it confirms is the name written.
  QFileDialog dialog(this, QString(), start, QtFilter(FileFilter()));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(ext.mid(1));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString chosen = dialog.selectedFiles().front();
  const QString name = WithSaveFileExt(chosen);
  // A name that gained the extension is another file than the one the dialog asked about.
  if (name != chosen && QFileInfo::exists(name) &&
      KelMessageBox(ListBoxText(KelListBoxText::ReplaceFile).arg(QDir::toNativeSeparators(name)),
                    mtConfirmation, TKelMsgDlgButtons{mbYes, mbNo}) != mrYes)
    return;
  SaveToFile(name, 0);
  saveFileName_ = name;
}

void TKelPrmListBox::OpenFile() {
  if (!options_.Contains(fboCanOpen)) return;
  QString start = saveFileName_;
  if (start.isEmpty() || !QFileInfo::exists(start)) {
    start.clear();
    const QString folder = ExpandFolderMacros(ListBoxText(KelListBoxText::InitialDir));
    if (QDir(folder).exists()) start = folder;
  }
  const QString chosen = QFileDialog::getOpenFileName(this, QString(), start, QtFilter(FileFilter()));
  if (chosen.isEmpty()) return;
  LoadFromFile(chosen, 0);
  saveFileName_ = chosen;
}

// ---- memory slots

void TKelPrmListBox::SetMemorySlots(TKelListMemorySlots* value) {
  if (value && value != memorySlots_.get()) memorySlots_->Assign(value);
}

// ---- the text forms a form designer stores

namespace {

QByteArray CollectionText(TPersistent* collection) {
  TMemoryStream stream;
  WriteCollectionText(stream, collection);
  return stream.Bytes();
}

// Reads text into collection (empty text: no items); false, with the reason on the warning
// channel, when it does not read; the reader has then put the old items back.
bool ReadCollectionFromText(const QByteArray& text, TCollection* collection, const QWidget* box) {
  if (text.trimmed().isEmpty()) {
    collection->Clear();
    return true;
  }
  TMemoryStream stream(text);
  try {
    ReadCollectionText(stream, collection);
    return true;
  } catch (const std::exception& e) {
    qWarning("%s: the stored list does not read: %s", qUtf8Printable(box->objectName()), e.what());
    return false;
  }
}

}  // namespace

QByteArray TKelPrmListBox::ItemsText() const { return CollectionText(items_.get()); }

void TKelPrmListBox::SetItemsText(const QByteArray& value) {
  if (value == ItemsText()) return;
  if (ReadCollectionFromText(value, items_.get(), this)) ItemsReplaced();
}

QByteArray TKelPrmListBox::MemorySlotsText() const { return CollectionText(memorySlots_.get()); }

void TKelPrmListBox::SetMemorySlotsText(const QByteArray& value) {
  if (value != MemorySlotsText()) ReadCollectionFromText(value, memorySlots_.get(), this);
}

TKelListMemorySlot* TKelPrmListBox::SaveToSlot(const QString& name) {
  if (name.isEmpty()) return nullptr;
  TKelListMemorySlot* slot = memorySlots_->Find(name);
  if (slot && slot->SystemSlot() && !IsDesigning()) return nullptr;
  if (!slot) slot = memorySlots_->Add();
  slot->SetName(name);
  slot->SetSystemSlot(IsDesigning());
  slot->SetItems(items_.get());
  return slot;
}

bool TKelPrmListBox::LoadFromSlot(const QString& name) {
  if (name.isEmpty()) return false;
  TKelListMemorySlot* slot = memorySlots_->Find(name);
  if (!slot) return false;
  items_->Assign(slot->Items());
  ItemsReplaced();
  return true;
}

bool TKelPrmListBox::CanDeleteSlot(const QString& name) const {
  if (IsDesigning()) return true;
  const TKelListMemorySlot* slot = memorySlots_->Find(name);
  return !slot || !slot->SystemSlot();
}

int TKelPrmListBox::ExecMemoryForm(QDialog* form) { return form->exec(); }

bool TKelPrmListBox::MemoryDialog(bool save) {
  TSievraMemForm form(this);
  QString caption = ListBoxText(save ? QT_TRANSLATE_NOOP("Kel", "Sa&ve to Memory...")
                                     : QT_TRANSLATE_NOOP("Kel", "&Load from Memory..."));
  caption.remove(u'&');
  caption.remove(u'.');
  form.setWindowTitle(caption);
  form.SetPrmListBox(this);
  QStringList names;
  for (int i = 0; i < memorySlots_->Count(); ++i) names.append(memorySlots_->Items(i)->Name());
  form.ListBox()->SetItems(names);
  if (ExecMemoryForm(&form) != QDialog::Accepted) return false;
  for (int i = 0; i < form.DeletedNames()->Count(); ++i)
    if (TKelListMemorySlot* slot = memorySlots_->Find(form.DeletedNames()->Strings(i)))
      memorySlots_->Delete(slot->Index());
  const QString name = form.Edit()->Text();
  if (save) {
    if (!SaveToSlot(name))
      QMessageBox::warning(
          this, caption,
          ListBoxText(QT_TRANSLATE_NOOP("Kel", "You can not save to this memory slot")));
  } else {
    LoadFromSlot(name);
  }
  return true;
}

void TKelPrmListBox::SaveToMemory() {
  if (options_.Contains(fboCanSaveToMem)) MemoryDialog(true);
}

void TKelPrmListBox::LoadFromMemory() {
  if (options_.Contains(fboCanLoadFromMem)) MemoryDialog(false);
}

// ---- stored defaults

void TKelPrmListBox::GetDefStoreKey(QString& key) const {
  key = QString::fromLatin1(metaObject()->className()).section(u':', -1).mid(1) + u'\\';
  if (!defStoreContext_.isEmpty()) {
    key += defStoreContext_;
    return;
  }
  const QString owner = parentWidget() ? parentWidget()->objectName() : QString();
  key += owner;
  if (!owner.isEmpty() && !objectName().isEmpty()) key += u'.';
  key += objectName();
}

namespace {
// Points a pointer elsewhere for a while and back on every path.
template <typename T>
class TSwapScope {
 public:
  TSwapScope(T*& target, T* value) : target_(target), saved_(target) { target_ = value; }
  ~TSwapScope() { target_ = saved_; }
  TSwapScope(const TSwapScope&) = delete;
  TSwapScope& operator=(const TSwapScope&) = delete;

 private:
  T*& target_;
  T* saved_;
};
}  // namespace

void TKelPrmListBox::SaveDefaults() {
  if (!DefaultsEnabled()) return;
  QString key;
  GetDefStoreKey(key);
  // Opened as it is and rewritten in memory: the stored value changes once, in Save, so a
  // failure on the way keeps the previous defaults instead of an emptied or partial value (the
  // stream left by an exception saves nothing).
  TKelRegistryStream store(key, fmOpenReadWrite);
  store.SetSize(0);
  store.SetPosition(0);
  TKelListMemorySlots spareSlots(this);
  const std::unique_ptr<TKelListItems> spareItems = CreateItems();
  TSwapScope<TKelListItems> items(storeItems_, defStoreItems_ ? items_.get() : spareItems.get());
  WriteCollection(store, defStoreMemory_ ? memorySlots_.get() : &spareSlots);
  SaveToStream(store, 1);
  store.Save();
}

void TKelPrmListBox::LoadDefaults() {
  if (!DefaultsEnabled()) return;
  QString key;
  GetDefStoreKey(key);
  TKelRegistryStream store(key, fmOpenRead);
  if (store.Size() == 0) return;
  TKelListMemorySlots spareSlots(this);
  const std::unique_ptr<TKelListItems> spareItems = CreateItems();
  TSwapScope<TKelListItems> items(storeItems_, defStoreItems_ ? items_.get() : spareItems.get());
  try {
    ReadCollection(store, defStoreMemory_ ? memorySlots_.get() : &spareSlots);
    LoadFromStream(store, 1);
  } catch (const std::exception&) {
    // A damaged stored value is no reason to refuse the form; the reader restored what it had
    // started to replace.
  }
}

void TKelPrmListBox::SaveDefaultsOnce() {
  if (defaultsSaved_) return;
  defaultsSaved_ = true;
  try {
    SaveDefaults();
  } catch (const std::exception& e) {
    qWarning("The defaults of %s could not be stored: %s", qUtf8Printable(objectName()), e.what());
  }
}

}  // namespace Kel
