// vorlixreg: the administrator's registry tool.
//   vorlixreg query KEY [/v NAME]
//   vorlixreg add KEY [/v NAME /t REG_SZ|REG_DWORD|REG_BINARY /d DATA] [/f]
//   vorlixreg delete KEY [/v NAME] [/f]
// KEY is written like HKLM\Software\Brackenholt\Vorlix. Exit 0 on success, 1 with a one-line
// message on error. Without /f, overwriting or deleting asks on standard input.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "common/ResultCodes.h"
#include "platform/registry/RegistryKey.h"
#include "platform/registry/RegistryNames.h"

namespace {

using vorlix::platform::KeyAccess;
using vorlix::platform::RegistryKey;
using vorlix::platform::RegType;
namespace names = vorlix::platform::registry_names;

constexpr const char* kRootName = "HKEY_LOCAL_MACHINE";

struct Args {
  std::string command;
  std::string key;  // below the root
  std::optional<std::string> value;
  std::optional<std::string> type;
  std::optional<std::string> data;
  bool force = false;
};

struct Failure {
  std::string message;
};

[[noreturn]] void Fail(const std::string& message) { throw Failure{message}; }

std::string Describe(uint32_t error) {
  switch (error) {
    case vorlix::ERROR_FILE_NOT_FOUND:
      return "the system was unable to find the specified registry key or value";
    case vorlix::ERROR_ACCESS_DENIED:
      return "access is denied";
    case vorlix::ERROR_UNSUPPORTED_TYPE:
      return "the value has another type";
    case vorlix::ERROR_INVALID_DATA:
      return "the value's stored data is damaged";
    default:
      return "registry error " + std::to_string(error);
  }
}

void Check(uint32_t error) {
  if (error) Fail(Describe(error));
}

// "HKLM\a\b" -> "a\b"; only the local machine's root exists here.
std::string KeyBelowRoot(const std::string& key) {
  const auto parts = names::SplitKeyPath(key);
  if (parts.empty() ||
      !(names::SameName(parts[0], "HKLM") || names::SameName(parts[0], kRootName))) {
    Fail("invalid key name: only HKLM (HKEY_LOCAL_MACHINE) is supported");
  }
  std::string below;
  for (size_t i = 1; i < parts.size(); ++i) below += (i > 1 ? "\\" : "") + parts[i];
  return below;
}

Args Parse(int argc, char** argv) {
  if (argc < 3) Fail("usage: vorlixreg query|add|delete KEY [/v NAME] [/t TYPE] [/d DATA] [/f]");
  Args args;
  args.command = argv[1];
  args.key = KeyBelowRoot(argv[2]);
  for (int i = 3; i < argc; ++i) {
    const std::string option = argv[i];
    auto next = [&]() -> std::string {
      if (i + 1 >= argc) Fail("option " + option + " needs a value");
      return argv[++i];
    };
    if (names::SameName(option, "/v")) {
      args.value = next();
    } else if (names::SameName(option, "/t")) {
      args.type = next();
    } else if (names::SameName(option, "/d")) {
      args.data = next();
    } else if (names::SameName(option, "/f")) {
      args.force = true;
    } else {
      Fail("invalid option: " + option);
    }
  }
  return args;
}

bool Confirm(const Args& args, const std::string& question) {
  if (args.force) return true;
  std::cerr << question << " (Yes/No)? ";
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  return names::SameName(answer, "y") || names::SameName(answer, "yes");
}

std::string FullName(const std::string& key) {
  return key.empty() ? kRootName : std::string(kRootName) + "\\" + key;
}

const char* TypeName(RegType type) {
  switch (type) {
    case vorlix::platform::REG_SZ:
      return "REG_SZ";
    case vorlix::platform::REG_DWORD:
      return "REG_DWORD";
    case vorlix::platform::REG_BINARY:
      return "REG_BINARY";
    default:
      return "REG_NONE";
  }
}

std::string Show(RegType type, const std::string& data) {
  char buffer[16];
  if (type == vorlix::platform::REG_DWORD && data.size() == 4) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v |= uint32_t{static_cast<unsigned char>(data[i])} << (8 * i);
    std::snprintf(buffer, sizeof buffer, "0x%x", v);
    return buffer;
  }
  if (type == vorlix::platform::REG_SZ) return data;
  std::string hex;
  for (const char c : data) {
    std::snprintf(buffer, sizeof buffer, "%02X", static_cast<unsigned char>(c));
    hex += buffer;
  }
  return hex;
}

std::string ValueLine(const RegistryKey& key, const std::string& name) {
  RegType type = vorlix::platform::REG_NONE;
  std::string data;
  Check(key.QueryValue(name, type, data));
  return "    " + (name.empty() ? std::string("(Default)") : name) + "    " + TypeName(type) +
         "    " + Show(type, data) + "\n";
}

// Everything is gathered first, so that an error prints its one line and nothing else.
int Query(const Args& args) {
  RegistryKey key;
  Check(RegistryKey::Open(args.key, KeyAccess::Read, false, key));
  std::vector<std::string> values, subkeys;
  Check(key.ValueNames(values));
  std::string out = FullName(key.Path()) + "\n";
  if (args.value) {
    // Shown with the name's stored spelling.
    const auto stored = std::find_if(values.begin(), values.end(), [&](const std::string& name) {
      return names::SameName(name, *args.value);
    });
    out += ValueLine(key, stored == values.end() ? *args.value : *stored);
  } else {
    Check(key.SubkeyNames(subkeys));
    for (const auto& name : values) out += ValueLine(key, name);
    if (!subkeys.empty()) out += "\n";
    for (const auto& name : subkeys) out += FullName(key.Path() + "\\" + name) + "\n";
  }
  std::cout << out;
  return 0;
}

std::string Encode(const std::string& type, const std::string& text, RegType& regType) {
  if (names::SameName(type, "REG_SZ")) {
    regType = vorlix::platform::REG_SZ;
    return text;
  }
  if (names::SameName(type, "REG_DWORD")) {
    regType = vorlix::platform::REG_DWORD;
    size_t used = 0;
    unsigned long long v = 0;
    try {
      v = std::stoull(text, &used, 0);
    } catch (const std::exception&) {
      used = 0;
    }
    if (used != text.size() || text.empty() || text[0] == '-' || v > 0xFFFFFFFFull) {
      Fail("invalid REG_DWORD data: " + text);
    }
    std::string bytes(4, '\0');
    for (size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return bytes;
  }
  if (names::SameName(type, "REG_BINARY")) {
    regType = vorlix::platform::REG_BINARY;
    if (text.size() % 2 != 0) Fail("invalid REG_BINARY data: " + text);
    std::string bytes;
    for (size_t i = 0; i < text.size(); i += 2) {
      size_t used = 0;
      int byte = -1;
      try {
        byte = std::stoi(text.substr(i, 2), &used, 16);
      } catch (const std::exception&) {
      }
      if (used != 2) Fail("invalid REG_BINARY data: " + text);
      bytes += static_cast<char>(byte);
    }
    return bytes;
  }
  Fail("unsupported type: " + type);
}

int Add(const Args& args) {
  RegistryKey key;
  Check(RegistryKey::Open(args.key, KeyAccess::Full, true, key));
  if (!args.value) return 0;
  RegType type = vorlix::platform::REG_SZ;
  const std::string data = Encode(args.type.value_or("REG_SZ"), args.data.value_or(""), type);
  RegType oldType = vorlix::platform::REG_NONE;
  std::string oldData;
  if (key.QueryValue(*args.value, oldType, oldData) == 0 &&
      !Confirm(args, "Value " + *args.value + " exists, overwrite")) {
    Fail("the operation was cancelled");
  }
  Check(key.SetValue(*args.value, type, data));
  return 0;
}

int Delete(const Args& args) {
  if (!args.value) {
    RegistryKey key;
    Check(RegistryKey::Open(args.key, KeyAccess::Full, false, key));
    if (!Confirm(args, "Permanently delete the registry key " + FullName(key.Path()))) {
      Fail("the operation was cancelled");
    }
    key.Close();
    Check(RegistryKey::DeleteTree(args.key));
    return 0;
  }
  RegistryKey key;
  Check(RegistryKey::Open(args.key, KeyAccess::Full, false, key));
  RegType type = vorlix::platform::REG_NONE;
  std::string data;
  Check(key.QueryValue(*args.value, type, data));
  if (!Confirm(args, "Delete the registry value " + *args.value)) {
    Fail("the operation was cancelled");
  }
  Check(key.DeleteValue(*args.value));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Args args = Parse(argc, argv);
    if (names::SameName(args.command, "query")) return Query(args);
    if (names::SameName(args.command, "add")) return Add(args);
    if (names::SameName(args.command, "delete")) return Delete(args);
    Fail("unknown operation: " + args.command);
  } catch (const Failure& failure) {
    std::cerr << "ERROR: " << failure.message << "\n";
    return 1;
  }
}
