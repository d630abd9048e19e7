#pragma once
// Lifetime of the program's top-level windows.

#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

namespace Kel {

// Owns top-level forms for the life of the application: every window the program creates through
// it lives until the owner goes, and the owner frees them newest first while the GUI still
// exists. Closing a window only hides it, so the next request shows the same instance again.
// A form that something else deleted first is simply skipped.
class TFormOwner {
 public:
  TFormOwner() = default;
  TFormOwner(const TFormOwner&) = delete;
  TFormOwner& operator=(const TFormOwner&) = delete;
  ~TFormOwner();

  // Takes over `form` and returns it. A null form is refused with EInvalidOperation.
  QWidget* Adopt(std::unique_ptr<QWidget> form);

  // Creates a TForm (passing `args` to its constructor), takes it over and stores it in
  // `reference`, which becomes empty again when the form is freed.
  template <class TForm, class... TArgs>
  TForm* CreateForm(QPointer<TForm>& reference, TArgs&&... args) {
    auto form = std::make_unique<TForm>(std::forward<TArgs>(args)...);
    TForm* raw = form.get();
    Adopt(std::move(form));
    reference = raw;
    return raw;
  }

  // Number of owned forms that still exist.
  int Count() const;

 private:
  std::vector<QPointer<QWidget>> forms_;
};

}  // namespace Kel
