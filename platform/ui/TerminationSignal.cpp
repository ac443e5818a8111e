#include "platform/ui/TerminationSignal.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

namespace vorlix::platform {

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] auto n = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

void QuitOnTerminationSignal(std::function<bool()> mayQuit) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
  auto* notifier =
      new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [mayQuit] {
    char byte;
    [[maybe_unused]] auto n = ::read(signalPipe[0], &byte, 1);
    if (mayQuit()) QCoreApplication::quit();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  ::sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGINT, &action, nullptr);
}

}  // namespace vorlix::platform
