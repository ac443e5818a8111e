#include "tools/testserver/ServerCertificate.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include <winpr/tools/makecert.h>

namespace vorlix::testserver {

namespace {

namespace fs = std::filesystem;

// A certificate and its key take a few kilobytes.
constexpr size_t kMaxPemSize = 64 * 1024;

// PEM text; it ends at a NUL, which makecert writes after it.
std::optional<std::string> ReadPemFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(kMaxPemSize + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(in.gcount()));
  if (text.size() > kMaxPemSize) return std::nullopt;
  text.erase(std::find(text.begin(), text.end(), '\0'), text.end());
  return text;
}

bool IsServerPem(const std::string& text) {
  return text.find("-----BEGIN CERTIFICATE-----") != std::string::npos &&
         text.find("PRIVATE KEY-----") != std::string::npos;
}

// This process's own name for files on their way into `dir`, so that servers starting together
// do not write over each other.
std::string ScratchName(const char* stem) { return stem + std::to_string(::getpid()); }

// Runs winpr's makecert into `dir`; returns the certificate followed by its key.
std::optional<std::string> MakeCertificate(const fs::path& dir) {
  std::string name = ScratchName(".makecert-");
  std::string path = dir.string();
  std::string args[] = {"makecert", "-rdp", "-live", "-silent", "-y", "5"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  MAKECERT_CONTEXT* context = makecert_context_new();
  if (!context) return std::nullopt;
  const bool made =
      makecert_context_process(context, static_cast<int>(argv.size()), argv.data()) >= 0 &&
      makecert_context_set_output_file_name(context, name.data()) == 1 &&
      makecert_context_output_certificate_file(context, path.data()) == 1 &&
      makecert_context_output_private_key_file(context, path.data()) == 1;
  makecert_context_free(context);
  const fs::path certificateFile = dir / (name + ".crt");
  const fs::path keyFile = dir / (name + ".key");
  const auto certificate = ReadPemFile(certificateFile);
  const auto key = ReadPemFile(keyFile);
  std::error_code ignored;
  fs::remove(certificateFile, ignored);
  fs::remove(keyFile, ignored);
  if (!made || !certificate || !key) return std::nullopt;
  return *certificate + *key;
}

// Stores `text` as `target` in one step, so no reader sees half a file: replacing what is there
// when `replace`, else keeping what another server stored first.
bool Publish(const std::string& text, const fs::path& target, bool replace) {
  const fs::path scratch = target.parent_path() / ScratchName(".server-");
  {
    std::ofstream out(scratch, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) return false;
  }
  std::error_code ignored;
  fs::permissions(scratch, fs::perms::owner_read | fs::perms::owner_write, ignored);
  const bool stored = replace ? ::rename(scratch.c_str(), target.c_str()) == 0
                              : ::link(scratch.c_str(), target.c_str()) == 0 || errno == EEXIST;
  fs::remove(scratch, ignored);
  return stored;
}

}  // namespace

std::optional<std::string> LoadServerCertificate(const std::string& dir, bool fresh,
                                                 std::string& error) {
  std::error_code code;
  fs::create_directories(dir, code);
  if (code) {
    error = "cannot create " + dir + ": " + code.message();
    return std::nullopt;
  }
  const fs::path target = fs::path(dir) / "server.pem";
  // Checked before making one: a file stored meanwhile by another server is kept, a file that is
  // no certificate is replaced like an old one.
  const bool replace = fresh || fs::exists(target, code);
  if (!fresh) {
    const auto stored = ReadPemFile(target);
    if (stored && IsServerPem(*stored)) return stored;
  }
  const auto made = MakeCertificate(dir);
  if (!made) {
    error = "cannot make a certificate in " + dir;
    return std::nullopt;
  }
  if (!Publish(*made, target, replace)) {
    error = "cannot store " + target.string();
    return std::nullopt;
  }
  auto stored = ReadPemFile(target);
  if (stored && IsServerPem(*stored)) return stored;
  error = "cannot read " + target.string();
  return std::nullopt;
}

}  // namespace vorlix::testserver
