#pragma once
// RestoreOnExit: puts a variable back to the value it had when the guard was made, when the
// scope ends on any path, exceptions included.

namespace Kel {

template <typename T>
class RestoreOnExit {
 public:
  explicit RestoreOnExit(T& target) : target_(target), saved_(target) {}
  ~RestoreOnExit() { target_ = saved_; }
  RestoreOnExit(const RestoreOnExit&) = delete;
  RestoreOnExit& operator=(const RestoreOnExit&) = delete;

 private:
  T& target_;
  T saved_;
};

}  // namespace Kel
