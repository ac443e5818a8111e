#include "platform/registry/RegistryNames.h"

#include <algorithm>
#include <string_view>

namespace vorlix::platform::registry_names {

namespace {

constexpr char kValuePrefix = '=';
constexpr std::string_view kHex = "0123456789ABCDEF";

bool NeedsEscape(unsigned char c, bool first) {
  if (c < 0x20 || c == 0x7F) return true;
  if (first && c == '.') return true;  // keeps ".", ".." and our temporary files apart
  return std::string_view("%/=\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos;
}

int HexDigit(char c) {
  const auto pos = kHex.find(c);
  return pos == std::string_view::npos ? -1 : static_cast<int>(pos);
}

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string Escape(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (NeedsEscape(c, i == 0)) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::optional<std::string> Unescape(std::string_view fileName) {
  std::string out;
  out.reserve(fileName.size());
  for (size_t i = 0; i < fileName.size(); ++i) {
    if (fileName[i] != '%') {
      if (NeedsEscape(static_cast<unsigned char>(fileName[i]), i == 0)) return std::nullopt;
      out += fileName[i];
      continue;
    }
    if (i + 2 >= fileName.size()) return std::nullopt;
    const int hi = HexDigit(fileName[i + 1]);
    const int lo = HexDigit(fileName[i + 2]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return out;
}

std::string ValueFileName(std::string_view valueName) { return kValuePrefix + Escape(valueName); }

std::optional<std::string> ValueNameOf(std::string_view fileName) {
  if (fileName.empty() || fileName.front() != kValuePrefix) return std::nullopt;
  return Unescape(fileName.substr(1));
}

std::optional<std::string> KeyNameOf(std::string_view fileName) {
  if (fileName.empty() || fileName.front() == kValuePrefix) return std::nullopt;
  return Unescape(fileName);
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Fold(x) == Fold(y); });
}

std::vector<std::string> SplitKeyPath(std::string_view path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t end = std::min(path.find('\\', start), path.size());
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

}  // namespace vorlix::platform::registry_names
