#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/RegistryKey.h"

namespace vorlix::platform {

// The forms' registry class, rooted at HKEY_LOCAL_MACHINE: opening a key answers true or false;
// reading and writing an open key raise ERegistryException when they fail. A missing string
// value reads as empty text; a missing integer, or a value of the wrong type, raises.
class TRegistry {
 public:
  explicit TRegistry(KeyAccess access = KeyAccess::Full) : access_(access) {}

  // Opens `key` (a path from the root) with this object's access, creating it when asked.
  bool OpenKey(std::string_view key, bool canCreate);
  bool OpenKeyReadOnly(std::string_view key);
  void CloseKey() { current_.Close(); }
  bool KeyExists(std::string_view key) const;
  // Deletes a key with everything below it.
  bool DeleteKey(std::string_view key);

  std::string ReadString(std::string_view name) const;
  int32_t ReadInteger(std::string_view name) const;
  void WriteString(std::string_view name, std::string_view value) const;
  void WriteInteger(std::string_view name, int32_t value) const;
  bool DeleteValue(std::string_view name) const;
  bool ValueExists(std::string_view name) const;
  std::vector<std::string> GetValueNames() const;
  std::vector<std::string> GetKeyNames() const;

  // The open key, for what the class itself does not offer (a change watch).
  RegistryKey& CurrentKey() { return current_; }

 private:
  void Check(uint32_t error, std::string_view what, std::string_view name) const;

  KeyAccess access_;
  RegistryKey current_;
};

}  // namespace vorlix::platform
