#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How key and value names map onto file names in the on-disk registry. A key is a folder named
// after the escaped key name; a value is a file named "=" followed by the escaped value name, so
// a key and a value of the same name can live side by side. Names compare case-insensitively
// (ASCII letters) and keep the case they were created with.
namespace vorlix::platform::registry_names {

// Bytes that cannot stand in a file name (or would be taken for ours) become %XX.
std::string Escape(std::string_view name);
// Inverse of Escape; nullopt for a file name that Escape cannot have produced.
std::optional<std::string> Unescape(std::string_view fileName);

std::string ValueFileName(std::string_view valueName);
// The value name of a value file, or nullopt when the entry is not a value file.
std::optional<std::string> ValueNameOf(std::string_view fileName);
// The key name of a subkey folder entry, or nullopt for our own temporary entries.
std::optional<std::string> KeyNameOf(std::string_view fileName);

bool SameName(std::string_view a, std::string_view b);

// Splits "Software\Brackenholt\Vorlix" into its components; empty components (doubled or
// leading/trailing backslashes) are dropped, as the original platform does for a leading one.
std::vector<std::string> SplitKeyPath(std::string_view path);

}  // namespace vorlix::platform::registry_names
