#pragma once
// RestoreOnExit: puts a variable back to the value it had when the guard was made, when the
// scope ends on any path, exceptions included.

#include <utility>

namespace Kel {

template <typename T>
class RestoreOnExit {
 public:
  explicit RestoreOnExit(T& target) : target_(target), saved_(target) {}
  // Sets the variable to value for the scope.
  RestoreOnExit(T& target, T value) : RestoreOnExit(target) { target_ = std::move(value); }
  ~RestoreOnExit() { target_ = saved_; }
  RestoreOnExit(const RestoreOnExit&) = delete;
  RestoreOnExit& operator=(const RestoreOnExit&) = delete;

 private:
  T& target_;
  T saved_;
};

}  // namespace Kel
