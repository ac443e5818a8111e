#pragma once

#include <utility>

namespace vorlix::platform {

// Owns one file descriptor; -1 is the null handle. Whoever holds a Handle closes it.
class Handle {
 public:
  Handle() = default;
  explicit Handle(int fd) : fd_(fd) {}
  Handle(Handle&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Handle& operator=(Handle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.fd_, -1));
    return *this;
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Reset(); }

  int Get() const { return fd_; }
  bool IsValid() const { return fd_ >= 0; }
  explicit operator bool() const { return IsValid(); }
  // Gives up ownership without closing.
  int Release() { return std::exchange(fd_, -1); }
  // Closes the descriptor held, then holds fd.
  void Reset(int fd = -1);

 private:
  int fd_ = -1;
};

}  // namespace vorlix::platform
