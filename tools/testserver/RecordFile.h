#pragma once

#include <string>
#include <string_view>

namespace vorlix::testserver {

// The file of --record: one line per channel message a client sent, appended and on disk at once
// so that tests can read it while the server runs. Shared by all connections.
class RecordFile {
 public:
  RecordFile() = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile();

  // Opens `path` for appending, creating it when missing.
  bool Open(const std::string& path);
  // Appends FormatChannelMessage(message); nothing when no file is open.
  void Append(std::string_view message);

 private:
  int fd_ = -1;
};

}  // namespace vorlix::testserver
