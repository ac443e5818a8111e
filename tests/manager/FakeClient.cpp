// Stands in for vorlixcln in the supervision tests. It reads its behaviour from the file
// "mode.<workplace>" beside it ("ready V", "silent", "short", "mismatch", "linger"; default
// "ready 0"), writes its arguments to "args.<workplace>" and its open descriptors to
// "fds.<workplace>", sends {11, V} and then answers requests with {command, value + 1}.
#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string Folder() {
  return std::filesystem::canonical("/proc/self/exe").parent_path().string() + "/";
}

void Send(int fd, uint32_t command, uint32_t value) {
  const uint32_t msg[2] = {command, value};
  [[maybe_unused]] auto n = ::write(fd, msg, sizeof msg);
}

// Lists the descriptors first, so that the list file itself is not among them.
void WriteFds(const std::string& path) {
  std::vector<int> fds;
  DIR* dir = ::opendir("/proc/self/fd");
  const int own = ::dirfd(dir);
  while (const dirent* e = ::readdir(dir)) {
    if (e->d_name[0] != '.' && std::atoi(e->d_name) != own) fds.push_back(std::atoi(e->d_name));
  }
  ::closedir(dir);
  std::ofstream out(path);
  for (const int fd : fds) out << fd << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 8) return 2;
  const std::string folder = Folder();
  const std::string workplace = argv[1];
  {
    std::ofstream args(folder + "args." + workplace);
    for (int i = 1; i < argc; ++i) args << (i > 1 ? " " : "") << argv[i];
  }
  WriteFds(folder + "fds." + workplace);
  std::string mode = "ready";
  uint32_t readyValue = 0;
  std::ifstream(folder + "mode." + workplace) >> mode >> readyValue;
  const int in = std::atoi(argv[6]);
  const int out = std::atoi(argv[7]);

  Send(out, 11, mode == "ready" ? readyValue : 0);
  uint32_t request[2];
  while (::read(in, request, sizeof request) == sizeof request) {
    if (mode == "silent") continue;
    if (mode == "short") {
      [[maybe_unused]] auto n = ::write(out, request, 3);
      return 0;
    }
    Send(out, mode == "mismatch" ? request[0] + 1 : request[0], request[1] + 1);
    if (request[0] == 10 && mode != "linger") return 0;
  }
  return 0;
}
