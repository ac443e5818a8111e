#include "platform/system/NamedMutex.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "common/ResultCodes.h"
#include "platform/system/MachinePaths.h"
#include "platform/system/SystemError.h"

namespace vorlix::platform {

namespace {

bool IsPlain(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_';
}

// One name, one file: everything but letters, digits, '-' and '_' becomes %XX, so "\" and "/"
// cannot clash and no name reaches outside the folder.
std::string LockFileName(std::string_view name) {
  std::string file;
  for (const char c : name) {
    if (IsPlain(c)) {
      file += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
      file += escaped;
    }
  }
  return file + ".lock";
}

}  // namespace

NamedMutex NamedMutex::Create(std::string_view name) {
  const std::filesystem::path folder = RuntimeDir();
  std::error_code made;
  std::filesystem::create_directories(folder, made);
  if (made) return NamedMutex(Handle(), ErrorFromErrno(made.value()));

  // Read-only is enough for flock and lets other users test a lock file root created.
  const std::string path = (folder / LockFileName(name)).string();
  Handle lock(::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644));
  if (!lock) return NamedMutex(Handle(), LastError());

  int locked;
  do {
    locked = ::flock(lock.Get(), LOCK_EX | LOCK_NB);
  } while (locked != 0 && errno == EINTR);
  if (locked == 0) return NamedMutex(std::move(lock), ERROR_SUCCESS);
  if (errno == EWOULDBLOCK) return NamedMutex(Handle(), ERROR_ALREADY_EXISTS);
  return NamedMutex(Handle(), LastError());
}

}  // namespace vorlix::platform
