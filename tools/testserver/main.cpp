// vorlix-testserver: a loopback RDP server that stands in for a terminal server and the agent in
// its sessions, for tests and the demo. It prints "listening on 127.0.0.1:PORT" once it listens
// and runs until SIGTERM or SIGINT.
#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

#include <freerdp/channels/channels.h>
#include <winpr/handle.h>
#include <winpr/ssl.h>
#include <winpr/synch.h>
#include <winpr/wlog.h>
#include <winpr/wtsapi.h>

#include "tools/testserver/RecordFile.h"
#include "tools/testserver/ServerCertificate.h"
#include "tools/testserver/ServerOptions.h"
#include "tools/testserver/TestServer.h"

namespace {

using namespace vorlix::testserver;

constexpr const char* kUsage =
    "usage: vorlix-testserver --port PORT [--record FILE] [--cert-dir DIR] [--new-cert]\n"
    "         [--logon-delay MS] [--session N] [--status WORD] [--keepalive MS] [--query MS]\n"
    "         [--no-hello] [--silent] [--disconnect-after MS [--reason CODE]]\n"
    "         [--malformed short|long] [--split N]\n";

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "vorlix-testserver: %s\n", message.c_str());
  return code;
}

// SIGTERM and SIGINT as an fd to wait on; blocked before any thread starts, so none takes them.
int StopSignals() {
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTERM);
  sigaddset(&stop, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  return ::signalfd(-1, &stop, SFD_CLOEXEC | SFD_NONBLOCK);
}

// Stdout carries only the listening line, so FreeRDP's log goes to stderr.
void LogToStderr() {
  char stream[] = "stderr";
  WLog_ConfigureAppender(WLog_GetLogAppender(WLog_GetRoot()), "outputstream", stream);
}

// Says why the server stops, for the logs of tests that did not expect it to.
void ReportStop(int stopFd) {
  signalfd_siginfo signal{};
  if (::read(stopFd, &signal, sizeof(signal)) == sizeof(signal)) {
    std::fprintf(stderr, "vorlix-testserver: stopped by signal %u from pid %u\n", signal.ssi_signo,
                 signal.ssi_pid);
  } else {
    std::fprintf(stderr, "vorlix-testserver: stopped, the listener failed\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = ParseServerOptions(argc, argv, error);
  if (!options) {
    Fail(2, error);
    std::fputs(kUsage, stderr);
    return 2;
  }
  const int stopFd = StopSignals();
  if (stopFd < 0) return Fail(1, "cannot watch for signals");
  LogToStderr();
  winpr_InitializeSSL(WINPR_SSL_INIT_DEFAULT);
  WTSRegisterWtsApiFunctionTable(FreeRDP_InitWtsApi());

  const auto certificate = LoadServerCertificate(options->certDir, options->newCert, error);
  if (!certificate) return Fail(1, error);
  RecordFile record;
  if (!options->recordFile.empty() && !record.Open(options->recordFile)) {
    return Fail(1, "cannot open " + options->recordFile);
  }
  TestServer server(*options, *certificate, record);
  const auto port = server.Listen(*options->port);
  if (!port) return Fail(1, "cannot listen on 127.0.0.1:" + std::to_string(*options->port));
  std::printf("listening on 127.0.0.1:%u\n", static_cast<unsigned>(*port));
  std::fflush(stdout);

  HANDLE stopSignal = CreateFileDescriptorEventA(nullptr, FALSE, FALSE, stopFd, WINPR_FD_READ);
  if (!stopSignal) return Fail(1, "cannot watch for signals");
  server.Run(stopSignal);
  ReportStop(stopFd);
  CloseHandle(stopSignal);
  ::close(stopFd);
  return 0;
}
