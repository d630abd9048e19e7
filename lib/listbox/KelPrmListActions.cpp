#include "KelPrmListActions.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

#include "KelEventErrors.h"
#include "KelListBoxTexts.h"
#include "KelPrmListBox.h"

namespace Kel {

// ---- images

namespace {

// Each image is drawn on a 16-unit grid and scaled, so the 32-pixel form is as sharp as the
// 16-pixel one. Ink is the palette's text colour, accents the link colour: both readable on
// light and dark themes.
void DrawImage(QPainter& p, TKelPrmListImage image, const QColor& ink, const QColor& accent) {
  p.setRenderHint(QPainter::Antialiasing, true);
  QPen pen(ink, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  auto lines = [&](int y0, int count) {
    for (int i = 0; i < count; ++i) p.drawLine(QPointF(5, y0 + 3 * i), QPointF(14, y0 + 3 * i));
  };
  switch (image) {
    case piAdd:
      p.setPen(pen);
      lines(3, 2);
      p.setPen(QPen(accent, 2.2, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(4, 11), QPointF(12, 11));
      p.drawLine(QPointF(8, 7), QPointF(8, 15));
      break;
    case piDelete:
      p.setPen(pen);
      lines(3, 2);
      p.setPen(QPen(QColor(220, 60, 60), 2.2, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(5, 8), QPointF(12, 15));
      p.drawLine(QPointF(12, 8), QPointF(5, 15));
      break;
    case piIndent:
    case piOutdent: {
      p.setPen(pen);
      p.drawLine(QPointF(2, 3), QPointF(14, 3));
      p.drawLine(QPointF(8, 7), QPointF(14, 7));
      p.drawLine(QPointF(8, 10), QPointF(14, 10));
      p.drawLine(QPointF(2, 14), QPointF(14, 14));
      QPainterPath arrow;
      if (image == piIndent) {
        arrow.moveTo(2, 6);
        arrow.lineTo(6, 8.5);
        arrow.lineTo(2, 11);
      } else {
        arrow.moveTo(6, 6);
        arrow.lineTo(2, 8.5);
        arrow.lineTo(6, 11);
      }
      arrow.closeSubpath();
      p.setPen(Qt::NoPen);
      p.setBrush(accent);
      p.drawPath(arrow);
      break;
    }
    case piOpen: {
      p.setPen(pen);
      QPainterPath folder;
      folder.moveTo(1.5, 4);
      folder.lineTo(6, 4);
      folder.lineTo(7.5, 5.5);
      folder.lineTo(13.5, 5.5);
      folder.lineTo(13.5, 13.5);
      folder.lineTo(1.5, 13.5);
      folder.closeSubpath();
      p.drawPath(folder);
      QPainterPath flap;
      flap.moveTo(3.5, 8);
      flap.lineTo(15, 8);
      flap.lineTo(13.5, 13.5);
      flap.lineTo(1.5, 13.5);
      flap.closeSubpath();
      p.setBrush(accent);
      p.drawPath(flap);
      break;
    }
    case piSave:
      p.setPen(pen);
      p.setBrush(Qt::NoBrush);
      p.drawRoundedRect(QRectF(2, 2, 12, 12), 1.5, 1.5);
      p.setBrush(accent);
      p.drawRect(QRectF(5, 2, 6, 4));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(4.5, 9, 7, 5));
      break;
  }
}

QIcon MakeIcon(TKelPrmListImage image) {
  const QPalette palette = QApplication::palette();
  QIcon icon;
  for (int size : {16, 32}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.scale(size / 16.0, size / 16.0);
    DrawImage(painter, image, palette.color(QPalette::Text), palette.color(QPalette::Link));
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

const QList<QIcon>& PrmListImages() {
  static const QList<QIcon> images = [] {
    QList<QIcon> list;
    for (TKelPrmListImage image : {piAdd, piDelete, piIndent, piOutdent, piOpen, piSave})
      list.append(MakeIcon(image));
    return list;
  }();
  return images;
}

// ---- the action base

TKelPrmListAction::TKelPrmListAction(QObject* owner) : QAction(owner) {
  // The box's own keys run the commands; the shortcut here is shown in menus and serves the
  // windows that place the action themselves.
  setShortcutContext(Qt::WidgetWithChildrenShortcut);
  // Triggered from a menu or a shortcut, that is from Qt's event loop: errors are reported there.
  connect(this, &QAction::triggered, this, [this] { RunEventHandler(this, [this] { Execute(); }); });
}

void TKelPrmListAction::Init(const char* caption, int image, const QKeySequence& shortcut) {
  setText(ListBoxText(caption));
  if (image >= 0) setIcon(PrmListImages().at(image));
  setShortcut(shortcut);
}

bool TKelPrmListAction::HandlesTarget(QObject* target) const {
  return target && (target == paramList_.data() || qobject_cast<TKelPrmListBox*>(target));
}

void TKelPrmListAction::Update() {
  TKelPrmListBox* box = paramList_;
  setEnabled(box && IsEnabledFor(box));
  setVisible(!box || IsVisibleFor(box));
}

void TKelPrmListAction::Execute() {
  if (TKelPrmListBox* box = paramList_) box->RunUserChange([&] { ExecuteOn(box); });
}

// ---- the commands

namespace {
int Sel(TKelPrmListBox* box) { return std::min(box->ItemIndex(), box->Items()->Count() - 1); }
}  // namespace

TKelPrmListAdd::TKelPrmListAdd(QObject* owner) : TKelPrmListAction(owner) {
  Init(QT_TRANSLATE_NOOP("Kel", "&Add"), piAdd, QKeySequence(Qt::Key_Insert));
}
bool TKelPrmListAdd::IsEnabledFor(TKelPrmListBox* box) const { return !box->ReadOnly(); }
bool TKelPrmListAdd::IsVisibleFor(TKelPrmListBox* box) const {
  return box->Options().Contains(fboCanAdd);
}
void TKelPrmListAdd::ExecuteOn(TKelPrmListBox* box) { box->AddItem(); }

TKelPrmListDelete::TKelPrmListDelete(QObject* owner) : TKelPrmListAction(owner) {
  Init(QT_TRANSLATE_NOOP("Kel", "&Delete"), piDelete, QKeySequence(Qt::Key_Delete));
}
bool TKelPrmListDelete::IsEnabledFor(TKelPrmListBox* box) const { return box->CanDelete(); }
bool TKelPrmListDelete::IsVisibleFor(TKelPrmListBox* box) const {
  return box->Options().Contains(fboCanDelete);
}
void TKelPrmListDelete::ExecuteOn(TKelPrmListBox* box) { box->DeleteSelected(); }

TKelPrmListIndent::TKelPrmListIndent(QObject* owner) : TKelPrmListAction(owner) {
  Init(QT_TRANSLATE_NOOP("Kel", "&Indent"), piIndent, QKeySequence(Qt::CTRL | Qt::Key_Right));
}
bool TKelPrmListIndent::IsEnabledFor(TKelPrmListBox* box) const {
  return box->CanIndent(Sel(box));
}
bool TKelPrmListIndent::IsVisibleFor(TKelPrmListBox* box) const {
  return box->Options().Contains(fboCanIndent);
}
void TKelPrmListIndent::ExecuteOn(TKelPrmListBox* box) { box->IndentSelected(); }

TKelPrmListOutDent::TKelPrmListOutDent(QObject* owner) : TKelPrmListAction(owner) {
  Init(QT_TRANSLATE_NOOP("Kel", "O&utdent"), piOutdent, QKeySequence(Qt::CTRL | Qt::Key_Left));
}
bool TKelPrmListOutDent::IsEnabledFor(TKelPrmListBox* box) const {
  return box->Items()->CanOutdent(Sel(box));
}
bool TKelPrmListOutDent::IsVisibleFor(TKelPrmListBox* box) const {
  return box->Options().Contains(fboCanIndent);
}
void TKelPrmListOutDent::ExecuteOn(TKelPrmListBox* box) { box->OutdentSelected(); }

TKelPrmListLoad::TKelPrmListLoad(QObject* owner) : TKelPrmListAction(owner) {
  Init(QT_TRANSLATE_NOOP("Kel", "&Open..."), piOpen, QKeySequence(Qt::CTRL | Qt::Key_O));
}
bool TKelPrmListLoad::IsEnabledFor(TKelPrmListBox*) const { return true; }
bool TKelPrmListLoad::IsVisibleFor(TKelPrmListBox* box) const {
  return box->Options().Contains(fboCanOpen);
}
void TKelPrmListLoad::ExecuteOn(TKelPrmListBox* box) { box->OpenFile(); }

TKelPrmListSave::TKelPrmListSave(QObject* owner) : TKelPrmListAction(owner) {
  Init(QT_TRANSLATE_NOOP("Kel", "&Save..."), piSave, QKeySequence(Qt::CTRL | Qt::Key_S));
}
bool TKelPrmListSave::IsEnabledFor(TKelPrmListBox*) const { return true; }
bool TKelPrmListSave::IsVisibleFor(TKelPrmListBox* box) const {
  return box->Options().Contains(fboCanSave);
}
void TKelPrmListSave::ExecuteOn(TKelPrmListBox* box) { box->SaveFile(); }

TKelPrmListClear::TKelPrmListClear(QObject* owner) : TKelPrmListAction(owner) {
  Init(QT_TRANSLATE_NOOP("Kel", "&Clear"), -1, QKeySequence(Qt::CTRL | Qt::Key_Delete));
}
bool TKelPrmListClear::IsEnabledFor(TKelPrmListBox* box) const {
  return box->Items()->Count() > 0 && !box->HasReadOnly();
}
bool TKelPrmListClear::IsVisibleFor(TKelPrmListBox* box) const {
  return box->Options().Contains(fboCanDelete);
}
void TKelPrmListClear::ExecuteOn(TKelPrmListBox* box) { box->Items()->Clear(); }

TKelPrmListSaveToMem::TKelPrmListSaveToMem(QObject* owner) : TKelPrmListAction(owner) {
  Init(QT_TRANSLATE_NOOP("Kel", "Sa&ve to Memory..."), -1,
       QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_S));
}
bool TKelPrmListSaveToMem::IsEnabledFor(TKelPrmListBox* box) const {
  return box->Items()->Count() > 0;
}
bool TKelPrmListSaveToMem::IsVisibleFor(TKelPrmListBox* box) const {
  return box->Options().Contains(fboCanSaveToMem);
}
void TKelPrmListSaveToMem::ExecuteOn(TKelPrmListBox* box) { box->SaveToMemory(); }

TKelPrmListLoadFromMem::TKelPrmListLoadFromMem(QObject* owner) : TKelPrmListAction(owner) {
  Init(QT_TRANSLATE_NOOP("Kel", "&Load from Memory..."), -1,
       QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_L));
}
bool TKelPrmListLoadFromMem::IsEnabledFor(TKelPrmListBox* box) const {
  return box->MemorySlots()->Count() > 0;
}
bool TKelPrmListLoadFromMem::IsVisibleFor(TKelPrmListBox* box) const {
  return box->Options().Contains(fboCanLoadFromMem);
}
void TKelPrmListLoadFromMem::ExecuteOn(TKelPrmListBox* box) { box->LoadFromMemory(); }

}  // namespace Kel
