#include "platform/registry/TRegistry.h"

#include "common/ResultCodes.h"
#include "platform/registry/ERegistryException.h"

namespace vorlix::platform {

bool TRegistry::OpenKey(std::string_view key, bool canCreate) {
  return RegistryKey::Open(key, access_, canCreate, current_) == 0;
}

bool TRegistry::OpenKeyReadOnly(std::string_view key) {
  return RegistryKey::Open(key, KeyAccess::Read, false, current_) == 0;
}

bool TRegistry::KeyExists(std::string_view key) const {
  RegistryKey probe;
  return RegistryKey::Open(key, KeyAccess::Read, false, probe) == 0;
}

bool TRegistry::DeleteKey(std::string_view key) { return RegistryKey::DeleteTree(key) == 0; }

void TRegistry::Check(uint32_t error, std::string_view what, std::string_view name) const {
  if (error == 0) return;
  std::string message(what);
  message += " '";
  message += name;
  message += "'";
  if (error == ERROR_UNSUPPORTED_TYPE || error == ERROR_INVALID_DATA) {
    message = "Invalid data type for '" + std::string(name) + "'";
  }
  throw ERegistryException(message, error);
}

std::string TRegistry::ReadString(std::string_view name) const {
  std::string value;
  const uint32_t error = current_.ReadString(name, value);
  if (error == ERROR_FILE_NOT_FOUND) return {};
  Check(error, "Failed to get data for", name);
  return value;
}

int32_t TRegistry::ReadInteger(std::string_view name) const {
  uint32_t value = 0;
  Check(current_.ReadInteger(name, value), "Failed to get data for", name);
  return static_cast<int32_t>(value);
}

void TRegistry::WriteString(std::string_view name, std::string_view value) const {
  Check(current_.WriteString(name, value), "Failed to set data for", name);
}

void TRegistry::WriteInteger(std::string_view name, int32_t value) const {
  Check(current_.WriteInteger(name, static_cast<uint32_t>(value)), "Failed to set data for", name);
}

bool TRegistry::DeleteValue(std::string_view name) const { return current_.DeleteValue(name) == 0; }

bool TRegistry::ValueExists(std::string_view name) const {
  RegType type = REG_NONE;
  std::string data;
  return current_.QueryValue(name, type, data) == 0;
}

std::vector<std::string> TRegistry::GetValueNames() const {
  std::vector<std::string> names;
  current_.ValueNames(names);
  return names;
}

std::vector<std::string> TRegistry::GetKeyNames() const {
  std::vector<std::string> names;
  current_.SubkeyNames(names);
  return names;
}

}  // namespace vorlix::platform
