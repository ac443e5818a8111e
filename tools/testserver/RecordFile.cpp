#include "tools/testserver/RecordFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "common/ChannelMessageText.h"

namespace vorlix::testserver {

RecordFile::~RecordFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool RecordFile::Open(const std::string& path) {
  fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  return fd_ >= 0;
}

void RecordFile::Append(std::string_view message) {
  if (fd_ < 0) return;
  // One write per line: O_APPEND keeps the lines of several connections whole.
  const std::string line = FormatChannelMessage(message) + "\n";
  std::string_view rest = line;
  while (!rest.empty()) {
    const ssize_t written = ::write(fd_, rest.data(), rest.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    rest.remove_prefix(static_cast<size_t>(written));
  }
}

}  // namespace vorlix::testserver
