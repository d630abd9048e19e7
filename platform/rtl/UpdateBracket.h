#pragma once
// WithinUpdate: runs a batch of changes between target.BeginUpdate() and target.EndUpdate(), so
// that listeners hear of the batch once; EndUpdate also runs when the batch throws, and the
// exception goes on.
//
// Not a destructor-based guard on purpose: EndUpdate notifies listeners, and a listener that
// throws while another exception unwinds would end the program.

namespace Kel {

template <typename Target, typename Body>
void WithinUpdate(Target& target, Body&& body) {
  target.BeginUpdate();
  try {
    body();
  } catch (...) {
    target.EndUpdate();
    throw;
  }
  target.EndUpdate();
}

}  // namespace Kel
