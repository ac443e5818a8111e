// Child process for the process and pipe tests. Modes:
//   listfds <out>      writes the numbers of its open descriptors to out, separated by spaces
//   echo <in> <out>    answers one 8-byte message: the same first word, the second word + 1
//   drain <in> <code>  reads in until its writer is gone, then exits with code
//   args <out> ...     writes all its arguments to out, each followed by a newline
// Exit codes: 0 done (drain: code), 2 bad use, 3 a read or write failed.

#include <dirent.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/system/Pipe.h"

namespace {

using vorlix::platform::ReadWhole;
using vorlix::platform::WriteWhole;

int Fd(const char* arg) { return std::atoi(arg); }

int Send(int fd, const std::string& text) {
  size_t written = 0;
  return WriteWhole(fd, text.data(), text.size(), written) == 0 ? 0 : 3;
}

int ListFds(int out) {
  DIR* dir = ::opendir("/proc/self/fd");
  if (dir == nullptr) return 3;
  std::string list;
  while (const dirent* entry = ::readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    const int fd = std::atoi(entry->d_name);
    if (fd != ::dirfd(dir)) list += std::string(list.empty() ? "" : " ") + entry->d_name;
  }
  ::closedir(dir);
  return Send(out, list);
}

int Echo(int in, int out) {
  uint32_t message[2];
  size_t got = 0;
  if (ReadWhole(in, message, sizeof message, got) != 0) return 3;
  ++message[1];
  size_t written = 0;
  return WriteWhole(out, message, sizeof message, written) == 0 ? 0 : 3;
}

int Drain(int in, int code) {
  char byte;
  size_t got = 0;
  while (ReadWhole(in, &byte, 1, got) == 0) {
  }
  return code;
}

int Args(int out, int argc, char** argv) {
  std::string lines;
  for (int i = 0; i < argc; ++i) lines += std::string(argv[i]) + "\n";
  return Send(out, lines);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view mode = argc > 2 ? argv[1] : "";
  if (mode == "listfds") return ListFds(Fd(argv[2]));
  if (mode == "echo" && argc == 4) return Echo(Fd(argv[2]), Fd(argv[3]));
  if (mode == "drain" && argc == 4) return Drain(Fd(argv[2]), std::atoi(argv[3]));
  if (mode == "args") return Args(Fd(argv[2]), argc, argv);
  return 2;
}
