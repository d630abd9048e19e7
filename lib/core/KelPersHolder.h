#pragma once
// Collection streaming: collections (and any other persistent object) through component streams.
//
// A collection is no component, so it cannot be the root of a component stream by itself.
// TKelPersHolder is the component that carries it: its one published property P refers to the
// object, and the stream holds the holder with P as a collection value:
//
//   "TPF0" 0E "TKelPersHolder" 00        class name, empty component name
//     01 "P" 0E  01 <item properties> 00  ...  00
//   00 00                                end of properties, end of children
//
//   WriteCollection(stream, obj)      a component writes itself; anything else travels in a
//                                     temporary holder (freed on every path).
//   ReadCollection(stream, obj)       the reverse, inside a global-loading bracket; the
//                                     collection is refilled in place: the streamed items
//                                     replace the old ones; when the stream turns out damaged,
//                                     the old items are put back before the error is raised.
//                                     References to components by name are looked up among the
//                                     collection's owning component and its owners.
//   WriteCollectionText / ReadCollectionText
//                                     the same in the readable text form of component streams.
// Errors: EReadError for a damaged or unsuitable stream (the property at fault is named),
// EWriteError when the stream refuses bytes.

#include <QPointer>

#include "Component.h"
#include "KelExport.h"
#include "Persistent.h"

namespace Kel {

class TStream;

class KEL_EXPORT TKelPersHolder : public TComponent {
  Q_OBJECT
  Q_PROPERTY(Kel::TPersistent* P READ P WRITE SetP)

 public:
  Q_INVOKABLE explicit TKelPersHolder(TComponent* owner = nullptr);

  // A plain reference: the holder never owns or frees the object.
  TPersistent* P() const { return p_; }
  void SetP(TPersistent* value) { p_ = value; }

 private:
  QPointer<TPersistent> p_;
};

KEL_EXPORT void WriteCollection(TStream& stream, TPersistent* obj);
KEL_EXPORT void ReadCollection(TStream& stream, TPersistent* obj);
KEL_EXPORT void WriteCollectionText(TStream& stream, TPersistent* obj);
KEL_EXPORT void ReadCollectionText(TStream& stream, TPersistent* obj);

}  // namespace Kel
