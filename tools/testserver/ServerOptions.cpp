#include "tools/testserver/ServerOptions.h"

#include <charconv>
#include <cstdlib>
#include <limits>
#include <string_view>

namespace vorlix::testserver {

namespace {

// Longer waits than a day are typos.
constexpr uint32_t kMaxMilliseconds = 86'400'000;

// Decimal, or hexadecimal after "0x"; nothing for other text or values above max.
std::optional<uint32_t> ParseNumber(std::string_view text, uint32_t max) {
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value, base);
  if (text.empty() || error != std::errc() || stop != end || value > max) return std::nullopt;
  return value;
}

bool SetNumber(uint32_t& field, std::string_view text,
               uint32_t max = std::numeric_limits<uint32_t>::max()) {
  const auto value = ParseNumber(text, max);
  if (value) field = *value;
  return value.has_value();
}

bool SetMilliseconds(Milliseconds& field, std::string_view text) {
  const auto value = ParseNumber(text, kMaxMilliseconds);
  if (value) field = Milliseconds(*value);
  return value.has_value();
}

struct ValueOption {
  std::string_view name;
  bool (*set)(ServerOptions& options, std::string_view text);
};

const ValueOption kValueOptions[] = {
    {"--port",
     [](ServerOptions& o, std::string_view v) {
       uint32_t port = 0;
       if (!SetNumber(port, v, std::numeric_limits<uint16_t>::max())) return false;
       o.port = static_cast<uint16_t>(port);
       return true;
     }},
    {"--record",
     [](ServerOptions& o, std::string_view v) {
       o.recordFile = v;
       return !v.empty();
     }},
    {"--cert-dir",
     [](ServerOptions& o, std::string_view v) {
       o.certDir = v;
       return !v.empty();
     }},
    {"--logon-delay",
     [](ServerOptions& o, std::string_view v) { return SetMilliseconds(o.logonDelay, v); }},
    {"--session",
     [](ServerOptions& o, std::string_view v) { return SetNumber(o.agent.session, v); }},
    {"--status", [](ServerOptions& o, std::string_view v) { return SetNumber(o.agent.status, v); }},
    {"--keepalive",
     [](ServerOptions& o, std::string_view v) { return SetMilliseconds(o.agent.keepAlive, v); }},
    {"--query",
     [](ServerOptions& o, std::string_view v) { return SetMilliseconds(o.agent.query, v); }},
    {"--disconnect-after",
     [](ServerOptions& o, std::string_view v) {
       Milliseconds after{};
       if (!SetMilliseconds(after, v)) return false;
       o.disconnectAfter = after;
       return true;
     }},
    {"--reason",
     [](ServerOptions& o, std::string_view v) {
       uint32_t code = 0;
       if (!SetNumber(code, v)) return false;
       o.reason = code;
       return true;
     }},
    {"--malformed",
     [](ServerOptions& o, std::string_view v) {
       if (v != "short" && v != "long") return false;
       o.agent.malformed = v == "short" ? Malformed::kShort : Malformed::kLong;
       return true;
     }},
    {"--split",
     [](ServerOptions& o, std::string_view v) {
       return SetNumber(o.agent.split, v, std::numeric_limits<uint16_t>::max()) &&
              o.agent.split > 0;
     }},
};

struct FlagOption {
  std::string_view name;
  void (*set)(ServerOptions& options);
};

const FlagOption kFlagOptions[] = {
    {"--new-cert", [](ServerOptions& o) { o.newCert = true; }},
    {"--no-hello", [](ServerOptions& o) { o.agent.hello = false; }},
    {"--silent", [](ServerOptions& o) { o.agent.silent = true; }},
};

template <typename Option, size_t N>
const Option* Find(const Option (&table)[N], std::string_view name) {
  for (const Option& option : table) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

std::string DefaultCertDir() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache && *cache) return std::string(cache) + "/vorlix-testserver";
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + "/.cache/vorlix-testserver";
  return {};
}

// Applies one option (and its value, advancing i); false with `error` set when it is wrong.
bool ApplyOption(int argc, char** argv, int& i, ServerOptions& options, std::string& error) {
  const std::string_view name = argv[i];
  if (const FlagOption* flag = Find(kFlagOptions, name)) {
    flag->set(options);
    return true;
  }
  const ValueOption* valued = Find(kValueOptions, name);
  if (!valued) {
    error = "unknown option '" + std::string(name) + "'";
    return false;
  }
  if (i + 1 >= argc) {
    error = std::string(name) + " needs a value";
    return false;
  }
  const std::string_view value = argv[++i];
  if (valued->set(options, value)) return true;
  error = "bad value '" + std::string(value) + "' for " + std::string(name);
  return false;
}

}  // namespace

std::optional<ServerOptions> ParseServerOptions(int argc, char** argv, std::string& error) {
  ServerOptions options;
  for (int i = 1; i < argc; ++i) {
    if (!ApplyOption(argc, argv, i, options, error)) return std::nullopt;
  }
  if (options.certDir.empty()) options.certDir = DefaultCertDir();
  if (!options.port) {
    error = "--port is required";
  } else if (options.reason && !options.disconnectAfter) {
    error = "--reason needs --disconnect-after";
  } else if (options.certDir.empty()) {
    error = "--cert-dir is required when neither XDG_CACHE_HOME nor HOME is set";
  } else {
    return options;
  }
  return std::nullopt;
}

}  // namespace vorlix::testserver
