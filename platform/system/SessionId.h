#pragma once

#include <optional>
#include <string>

namespace vorlix::platform {

// A session as the session manager names it ("3", "c2"), or "0" on a machine without one.
// An unknown session (a process outside any session, a seat with no active session) equals no
// session, not even another unknown one, so two unknowns never pass for the console session.
class SessionId {
 public:
  SessionId() = default;
  explicit SessionId(std::string id) : id_(std::move(id)) {}

  bool IsKnown() const { return id_.has_value(); }
  // The name; empty when unknown.
  std::string Name() const { return id_.value_or(""); }

  friend bool operator==(const SessionId& a, const SessionId& b) {
    return a.IsKnown() && b.IsKnown() && *a.id_ == *b.id_;
  }

 private:
  std::optional<std::string> id_;
};

}  // namespace vorlix::platform
