#include "KelPersHolder.h"

#include <memory>

#include "ClassRegistry.h"
#include "ComponentStreams.h"
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
  auto holder = std::make_unique<TKelPersHolder>();
  holder->SetP(obj);
  TReader reader(stream);
  reader.SetReferenceContext(OwningComponent(obj));
  reader.ReadRootComponent(holder.get());
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
