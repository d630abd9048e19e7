#pragma once
// Whole components to and from streams: what the classic TStream.WriteComponent and
// TStream.ReadComponent do.
//
//   WriteComponent(stream, component)  the signature "TPF0" and the component with its published
//                                      properties and child components (TWriter).
//   ReadComponent(stream, instance)    reads such a stream into instance, or, with nullptr, into
//                                      a new component of the class the stream names (created
//                                      through the class registry, owned by nobody: the caller
//                                      owns it). The component is marked loading and reading
//                                      meanwhile; Loaded() follows, or, inside a global-loading
//                                      bracket (Component.h), waits for NotifyGlobalLoading.
// Errors: EReadError for anything wrong in the stream (see Filer.h), EWriteError when the
// stream refuses bytes.

#include "PlatformExport.h"

namespace Kel {

class TComponent;
class TStream;

KEL_PLATFORM_EXPORT void WriteComponent(TStream& stream, TComponent* component);
KEL_PLATFORM_EXPORT TComponent* ReadComponent(TStream& stream, TComponent* instance);

}  // namespace Kel
