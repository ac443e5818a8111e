// vorlixinputd: the input service, in the foreground until SIGTERM or SIGINT.
#include <sys/signalfd.h>

#include <csignal>

#include "drivers/InputService.h"
#include "platform/system/Handle.h"

int main() {
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTERM);
  sigaddset(&stop, SIGINT);
  sigprocmask(SIG_BLOCK, &stop, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  const vorlix::platform::Handle stopFd(::signalfd(-1, &stop, SFD_CLOEXEC));
  vorlix::drivers::InputService service;
  if (!stopFd || service.Start() != 0) return 1;
  service.Run(stopFd.Get());
  return 0;
}
