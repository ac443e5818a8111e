#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/Event.h"
#include "platform/system/Handle.h"

namespace vorlix::platform {

enum RegType : uint32_t { REG_NONE = 0, REG_SZ = 1, REG_BINARY = 3, REG_DWORD = 4 };

enum class KeyAccess { Read, Full };

// An open key of HKEY_LOCAL_MACHINE. The registry lives in RegistryRoot(): a key is a folder,
// a value a file holding its type and data. Key paths are written with backslashes
// ("Software\Brackenholt\Vorlix"); names are case-insensitive and case-preserving.
//
// Every operation returns 0 or a platform error number: 2 for a missing key or value, 5 for
// missing rights (the folder's file permissions), 1630 for a value read as the wrong type,
// 13 for a value file that is not ours. Writes replace a value atomically and durably, so a crash
// leaves the old or the new value. A key object may be used from one thread at a time; any number
// of processes may use the registry at once.
class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(RegistryKey&&) noexcept;
  RegistryKey& operator=(RegistryKey&&) noexcept;
  ~RegistryKey();

  // Opens an existing key; with `create`, creates it and the keys above it first (full access).
  static uint32_t Open(std::string_view path, KeyAccess access, bool create, RegistryKey& out);
  // Deletes a key with everything below it. The root cannot be deleted.
  static uint32_t DeleteTree(std::string_view path);

  bool IsOpen() const { return dir_.IsValid(); }
  // The key's full path as stored (the case it was created with).
  const std::string& Path() const { return path_; }

  uint32_t QueryValue(std::string_view name, RegType& type, std::string& data) const;
  uint32_t ReadString(std::string_view name, std::string& out) const;
  uint32_t ReadInteger(std::string_view name, uint32_t& out) const;
  uint32_t SetValue(std::string_view name, RegType type, std::string_view data) const;
  uint32_t WriteString(std::string_view name, std::string_view value) const;
  uint32_t WriteInteger(std::string_view name, uint32_t value) const;
  // A missing value is no error.
  uint32_t DeleteValue(std::string_view name) const;
  uint32_t ValueNames(std::vector<std::string>& out) const;
  uint32_t SubkeyNames(std::vector<std::string>& out) const;

  // Arms a one-shot watch: `event` is set at the first change of a value or subkey of this key
  // (with `subtree`, of any key below it too), made by any process. The watch ends when it fires
  // or when the key is closed. The event's descriptor is duplicated, so the caller's Event may
  // go away before the watch does.
  uint32_t NotifyChange(bool subtree, const Event& event);

  void Close();

 private:
  uint32_t FindEntry(std::string_view wanted, bool folder, std::string& fileName) const;
  uint32_t CheckAccess(KeyAccess needed) const;
  uint32_t ListNames(bool folders, std::vector<std::string>& out) const;

  Handle dir_;
  std::string path_;
  std::string folder_;
  KeyAccess access_ = KeyAccess::Read;
  std::vector<uint64_t> watches_;
};

}  // namespace vorlix::platform
