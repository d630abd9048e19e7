#include "ComponentStreams.h"

#include "Filer.h"

namespace Kel {

void WriteComponent(TStream& stream, TComponent* component) {
  TWriter writer(stream);
  writer.WriteDescendent(component, nullptr);
}

TComponent* ReadComponent(TStream& stream, TComponent* instance) {
  TReader reader(stream);
  return reader.ReadRootComponent(instance);
}

}  // namespace Kel
