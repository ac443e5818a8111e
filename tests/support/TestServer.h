#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/ReadLines.h"
#include "tests/support/ToolProcess.h"

namespace vorlix::test {

// vorlix-testserver on a free loopback port (or the one given), recording what it receives in
// `folder`/record.txt and keeping its certificate in `folder`/cert.
class TestServer {
 public:
  TestServer(const std::filesystem::path& folder, const std::string& options = "", int port = 0)
      : record_(folder / "record.txt"),
        process_(std::string(VORLIX_TESTSERVER) + " --port " + std::to_string(port) + " --record " +
                 record_.string() + " --cert-dir " + (folder / "cert").string() + " " + options) {
    const auto line = process_.ReadLine(std::chrono::seconds(20));
    const std::string prefix = "listening on 127.0.0.1:";
    if (line && line->starts_with(prefix)) port_ = std::stoi(line->substr(prefix.size()));
  }

  bool Ok() const { return port_ > 0; }
  int Port() const { return port_; }
  std::u16string Address() const {
    const std::string address = "127.0.0.1:" + std::to_string(port_);
    return {address.begin(), address.end()};
  }
  // The messages it has received so far, one "type=T len=L HEX" line each.
  std::vector<std::string> Recorded() const { return ReadLines(record_.string()); }
  void Stop() { process_.Stop(); }

 private:
  std::filesystem::path record_;
  ToolProcess process_;
  int port_ = 0;
};

// A mouse chInput the agent answers: sequence 1, the position unit at (100, 50).
inline constexpr const char* kMouseInputHex =
    "240006000100000000000000640000003200000000000000008000000000000000000000";

// A loopback port nothing listens on: one the system just handed out and took back.
inline int UnusedLoopbackPort() {
  const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ::bind(probe, reinterpret_cast<sockaddr*>(&address), size);
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(probe);
  return ntohs(address.sin_port);
}

}  // namespace vorlix::test
