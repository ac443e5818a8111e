#include "platform/registry/RegistryKey.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <functional>

#include "common/ResultCodes.h"
#include "platform/registry/RegistryNames.h"
#include "platform/registry/RegistryWatcher.h"
#include "platform/system/MachinePaths.h"
#include "platform/system/SystemError.h"

namespace vorlix::platform {

namespace names = registry_names;

namespace {

// Larger value files are not ours; refusing them bounds what a read allocates.
constexpr off_t kMaxValueFile = 1 << 20;
constexpr size_t kTypeSize = 4;

struct Entry {
  std::string fileName;
  bool folder;
};

uint32_t ListFolder(int dirFd, std::vector<Entry>& out) {
  const int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return LastError();
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) {
    const uint32_t error = LastError();
    ::close(fd);
    return error;
  }
  while (const dirent* e = ::readdir(dir)) {
    bool folder = e->d_type == DT_DIR;
    if (e->d_type == DT_UNKNOWN) {
      struct stat st {};
      folder = ::fstatat(dirFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
    }
    out.push_back({e->d_name, folder});
  }
  ::closedir(dir);
  return 0;
}

bool IsKind(int dirFd, const std::string& fileName, bool folder) {
  struct stat st {};
  if (::fstatat(dirFd, fileName.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
  return folder ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode);
}

// Finds the entry whose name matches `wanted` case-insensitively.
uint32_t FindIn(int dirFd, std::string_view wanted, bool folder, std::string& fileName) {
  const std::string exact = folder ? names::Escape(wanted) : names::ValueFileName(wanted);
  if (IsKind(dirFd, exact, folder)) {
    fileName = exact;
    return 0;
  }
  std::vector<Entry> entries;
  if (const uint32_t error = ListFolder(dirFd, entries)) return error;
  for (const Entry& e : entries) {
    if (e.folder != folder) continue;
    const auto name = folder ? names::KeyNameOf(e.fileName) : names::ValueNameOf(e.fileName);
    if (name && names::SameName(*name, wanted)) {
      fileName = e.fileName;
      return 0;
    }
  }
  return ERROR_FILE_NOT_FOUND;
}

uint32_t OpenFolder(int parentFd, const std::string& fileName, Handle& out) {
  out.Reset(::openat(parentFd, fileName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return out ? 0 : LastError();
}

uint32_t MakeFolders(const std::string& folder) {
  std::string partial;
  for (size_t pos = 0; pos != std::string::npos;) {
    pos = folder.find('/', pos + 1);
    partial = folder.substr(0, pos);
    if (::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) return LastError();
  }
  return 0;
}

// Opens (or creates) one subkey folder below parentFd; `stored` gets its key name as stored.
uint32_t Descend(int parentFd, const std::string& component, bool create, Handle& child,
                 std::string& fileName) {
  uint32_t error = FindIn(parentFd, component, true, fileName);
  if (error == ERROR_FILE_NOT_FOUND && create) {
    fileName = names::Escape(component);
    if (::mkdirat(parentFd, fileName.c_str(), 0755) != 0 && errno != EEXIST) return LastError();
    ::fsync(parentFd);
    error = FindIn(parentFd, component, true, fileName);
  }
  return error ? error : OpenFolder(parentFd, fileName, child);
}

std::string UniqueName(const char* prefix) {
  static std::atomic<uint32_t> counter{0};
  return std::string(prefix) + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

uint32_t WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return LastError();
    data += n;
    size -= static_cast<size_t>(n);
  }
  return 0;
}

uint32_t RemoveFolder(int parentFd, const std::string& fileName) {
  Handle dir;
  if (const uint32_t error = OpenFolder(parentFd, fileName, dir)) return error;
  std::vector<Entry> entries;
  if (const uint32_t error = ListFolder(dir.Get(), entries)) return error;
  for (const Entry& e : entries) {
    if (e.fileName == "." || e.fileName == "..") continue;
    const uint32_t error = e.folder
                               ? RemoveFolder(dir.Get(), e.fileName)
                               : (::unlinkat(dir.Get(), e.fileName.c_str(), 0) ? LastError() : 0);
    if (error) return error;
  }
  return ::unlinkat(parentFd, fileName.c_str(), AT_REMOVEDIR) == 0 ? 0 : LastError();
}

std::string JoinKeyPath(const std::string& parent, const std::string& name) {
  return parent.empty() ? name : parent + "\\" + name;
}

}  // namespace

RegistryKey::RegistryKey(RegistryKey&& other) noexcept { *this = std::move(other); }

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
  if (this != &other) {
    Close();
    dir_ = std::move(other.dir_);
    path_ = std::move(other.path_);
    folder_ = std::move(other.folder_);
    access_ = other.access_;
    watches_ = std::move(other.watches_);
    other.watches_.clear();
  }
  return *this;
}

RegistryKey::~RegistryKey() { Close(); }

uint32_t RegistryKey::Open(std::string_view path, KeyAccess access, bool create, RegistryKey& out) {
  out.Close();
  const std::string root = RegistryRoot();
  if (create) {
    if (const uint32_t error = MakeFolders(root)) return error;
  }
  RegistryKey key;
  key.folder_ = root;
  key.access_ = create ? KeyAccess::Full : access;
  key.dir_.Reset(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!key.dir_) return LastError();
  for (const std::string& component : names::SplitKeyPath(path)) {
    Handle child;
    std::string fileName;
    if (const uint32_t error = Descend(key.dir_.Get(), component, create, child, fileName)) {
      return error;
    }
    key.dir_ = std::move(child);
    key.folder_ += "/" + fileName;
    key.path_ = JoinKeyPath(key.path_, *names::KeyNameOf(fileName));
  }
  if (const uint32_t error = key.CheckAccess(key.access_)) return error;
  out = std::move(key);
  return 0;
}

uint32_t RegistryKey::DeleteTree(std::string_view path) {
  auto parts = names::SplitKeyPath(path);
  if (parts.empty()) return ERROR_ACCESS_DENIED;
  const std::string last = parts.back();
  parts.pop_back();
  std::string parentPath;
  for (const auto& p : parts) parentPath = JoinKeyPath(parentPath, p);
  RegistryKey parent;
  if (const uint32_t error = Open(parentPath, KeyAccess::Full, false, parent)) return error;
  std::string fileName;
  if (const uint32_t error = parent.FindEntry(last, true, fileName)) return error;
  // Out of sight in one step, then removed at leisure.
  const std::string doomed = UniqueName(".del-");
  const int parentFd = parent.dir_.Get();
  if (::renameat(parentFd, fileName.c_str(), parentFd, doomed.c_str()) != 0) return LastError();
  ::fsync(parentFd);
  return RemoveFolder(parentFd, doomed);
}

uint32_t RegistryKey::FindEntry(std::string_view wanted, bool folder, std::string& fileName) const {
  if (!IsOpen()) return ERROR_INVALID_HANDLE;
  return FindIn(dir_.Get(), wanted, folder, fileName);
}

uint32_t RegistryKey::CheckAccess(KeyAccess needed) const {
  if (!IsOpen()) return ERROR_INVALID_HANDLE;
  if (needed == KeyAccess::Full && access_ != KeyAccess::Full) return ERROR_ACCESS_DENIED;
  const int mode = needed == KeyAccess::Full ? (R_OK | W_OK | X_OK) : (R_OK | X_OK);
  return ::faccessat(dir_.Get(), ".", mode, AT_EACCESS) == 0 ? 0 : LastError();
}

uint32_t RegistryKey::QueryValue(std::string_view name, RegType& type, std::string& data) const {
  std::string fileName;
  if (const uint32_t error = FindEntry(name, false, fileName)) return error;
  Handle file(::openat(dir_.Get(), fileName.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st {};
  if (!file || ::fstat(file.Get(), &st) != 0) return LastError();
  if (st.st_size < static_cast<off_t>(kTypeSize) || st.st_size > kMaxValueFile) {
    return ERROR_INVALID_DATA;
  }
  std::string raw(static_cast<size_t>(st.st_size), '\0');
  if (::pread(file.Get(), raw.data(), raw.size(), 0) != st.st_size) return ERROR_INVALID_DATA;
  uint32_t stored = 0;
  for (size_t i = 0; i < kTypeSize; ++i) {
    stored |= static_cast<uint32_t>(static_cast<unsigned char>(raw[i])) << (8 * i);
  }
  if (stored != REG_SZ && stored != REG_BINARY && stored != REG_DWORD) return ERROR_INVALID_DATA;
  type = static_cast<RegType>(stored);
  data = raw.substr(kTypeSize);
  return 0;
}

uint32_t RegistryKey::ReadString(std::string_view name, std::string& out) const {
  RegType type = REG_NONE;
  std::string data;
  if (const uint32_t error = QueryValue(name, type, data)) return error;
  if (type != REG_SZ) return ERROR_UNSUPPORTED_TYPE;
  out = data.substr(0, data.find('\0'));
  return 0;
}

uint32_t RegistryKey::ReadInteger(std::string_view name, uint32_t& out) const {
  RegType type = REG_NONE;
  std::string data;
  if (const uint32_t error = QueryValue(name, type, data)) return error;
  if (type != REG_DWORD) return ERROR_UNSUPPORTED_TYPE;
  if (data.size() != 4) return ERROR_INVALID_DATA;
  out = 0;
  for (size_t i = 0; i < 4; ++i) {
    out |= static_cast<uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
  }
  return 0;
}

uint32_t RegistryKey::SetValue(std::string_view name, RegType type, std::string_view data) const {
  if (const uint32_t error = CheckAccess(KeyAccess::Full)) return error;
  std::string fileName;
  const uint32_t found = FindEntry(name, false, fileName);
  if (found == ERROR_FILE_NOT_FOUND) {
    fileName = names::ValueFileName(name);
  } else if (found) {
    return found;
  }
  std::string content(kTypeSize, '\0');
  for (size_t i = 0; i < kTypeSize; ++i) content[i] = static_cast<char>((type >> (8 * i)) & 0xFF);
  content += data;

  const int dirFd = dir_.Get();
  const std::string temp = UniqueName(".tmp-");
  Handle file(::openat(dirFd, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (!file) return LastError();
  uint32_t error = WriteAll(file.Get(), content.data(), content.size());
  if (!error && ::fsync(file.Get()) != 0) error = LastError();
  file.Reset();
  if (!error && ::renameat(dirFd, temp.c_str(), dirFd, fileName.c_str()) != 0) error = LastError();
  if (error) {
    ::unlinkat(dirFd, temp.c_str(), 0);
    return error;
  }
  ::fsync(dirFd);
  return 0;
}

uint32_t RegistryKey::WriteString(std::string_view name, std::string_view value) const {
  return SetValue(name, REG_SZ, value);
}

uint32_t RegistryKey::WriteInteger(std::string_view name, uint32_t value) const {
  char bytes[4];
  for (size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return SetValue(name, REG_DWORD, std::string_view(bytes, 4));
}

uint32_t RegistryKey::DeleteValue(std::string_view name) const {
  if (const uint32_t error = CheckAccess(KeyAccess::Full)) return error;
  std::string fileName;
  const uint32_t found = FindEntry(name, false, fileName);
  if (found == ERROR_FILE_NOT_FOUND) return 0;
  if (found) return found;
  if (::unlinkat(dir_.Get(), fileName.c_str(), 0) != 0 && errno != ENOENT) return LastError();
  ::fsync(dir_.Get());
  return 0;
}

uint32_t RegistryKey::ListNames(bool folders, std::vector<std::string>& out) const {
  if (!IsOpen()) return ERROR_INVALID_HANDLE;
  std::vector<Entry> entries;
  if (const uint32_t error = ListFolder(dir_.Get(), entries)) return error;
  out.clear();
  for (const Entry& e : entries) {
    if (e.folder != folders || e.fileName == "." || e.fileName == "..") continue;
    auto name = folders ? names::KeyNameOf(e.fileName) : names::ValueNameOf(e.fileName);
    if (name) out.push_back(std::move(*name));
  }
  return 0;
}

uint32_t RegistryKey::ValueNames(std::vector<std::string>& out) const {
  return ListNames(false, out);
}

uint32_t RegistryKey::SubkeyNames(std::vector<std::string>& out) const {
  return ListNames(true, out);
}

uint32_t RegistryKey::NotifyChange(bool subtree, const Event& event) {
  if (!IsOpen()) return ERROR_INVALID_HANDLE;
  uint64_t id = 0;
  if (const uint32_t error = RegistryWatcher::Instance().Arm(folder_, subtree, event, id)) {
    return error;
  }
  watches_.push_back(id);
  return 0;
}

void RegistryKey::Close() {
  for (const uint64_t id : watches_) RegistryWatcher::Instance().Cancel(id);
  watches_.clear();
  dir_.Reset();
  path_.clear();
  folder_.clear();
}

}  // namespace vorlix::platform
