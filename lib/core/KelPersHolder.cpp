#include "KelPersHolder.h"

#include <memory>

#include "ClassRegistry.h"
#include "ComponentStreams.h"
#include "Exceptions.h"
#include "Filer.h"
#include "ObjectText.h"
#include "Streams.h"

namespace Kel {

namespace {

// Streams that name the holder can create it.
const bool holderRegistered = [] {
  RegisterClass(TKelPersHolder::staticMetaObject);
  return true;
}();

// The component that owns obj, following GetOwner(): where references by name are looked up.
TComponent* OwningComponent(TPersistent* obj) {
  QObject* owner = obj ? obj->GetOwner() : nullptr;
  for (int guard = 0; owner && guard < 64; ++guard) {
    if (auto* component = qobject_cast<TComponent*>(owner)) return component;
    auto* persistent = qobject_cast<TPersistent*>(owner);
    owner = persistent ? persistent->GetOwner() : nullptr;
  }
  return nullptr;
}

// Reads the stream into obj through a holder: the holder's P is obj, so the collection value of
// the stream refills obj in place.
void ReadThroughHolder(TStream& stream, TPersistent* obj) {
  auto holder = std::make_unique<TKelPersHolder>();
  holder->SetP(obj);
  TReader reader(stream);
  reader.SetReferenceContext(OwningComponent(obj));
  reader.ReadRootComponent(holder.get());
}

// obj in its stream form, to be read back if a refill fails; false when it cannot be written.
bool SaveForRestore(TMemoryStream& saved, TPersistent* obj) {
  try {
    WriteCollection(saved, obj);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

}  // namespace

TKelPersHolder::TKelPersHolder(TComponent* owner) : TComponent(owner) {}

void WriteCollection(TStream& stream, TPersistent* obj) {
  if (auto* component = qobject_cast<TComponent*>(obj)) {
    WriteComponent(stream, component);
    return;
  }
  auto holder = std::make_unique<TKelPersHolder>();
  holder->SetP(obj);
  WriteComponent(stream, holder.get());
}

void ReadCollection(TStream& stream, TPersistent* obj) {
  TGlobalLoadingScope loading;
  if (auto* component = qobject_cast<TComponent*>(obj)) {
    ReadComponent(stream, component);
    NotifyGlobalLoading();
    return;
  }
  // A damaged stream is found only after the old items are gone: they are kept aside and read
  // back, so a failed refill leaves the collection as it was instead of half filled.
  TMemoryStream saved;
  const bool restorable = obj && SaveForRestore(saved, obj);
  try {
    ReadThroughHolder(stream, obj);
  } catch (const Exception&) {
    if (restorable) {
      saved.SetPosition(0);
      try {
        ReadThroughHolder(saved, obj);
      } catch (const Exception&) {
        // The error that reaches the caller is the stream's, not this one.
      }
    }
    throw;
  }
}

void WriteCollectionText(TStream& stream, TPersistent* obj) {
  TMemoryStream binary;
  WriteCollection(binary, obj);
  binary.SetPosition(0);
  ObjectBinaryToText(binary, stream);
}

void ReadCollectionText(TStream& stream, TPersistent* obj) {
  TMemoryStream binary;
  ObjectTextToBinary(stream, binary);
  binary.SetPosition(0);
  ReadCollection(binary, obj);
}

}  // namespace Kel
