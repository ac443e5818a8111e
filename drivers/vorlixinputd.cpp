// vorlixinputd: the input service, in the foreground until SIGTERM or SIGINT.
//   vorlixinputd [--input-dir DIR] [--no-evdev]
// serves the virtual devices of vorlixinput and the keyboards and mice among the event nodes of
// DIR (/dev/input), unless --no-evdev.
#include <sys/signalfd.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "drivers/EvdevBackend.h"
#include "drivers/InputService.h"
#include "platform/system/Handle.h"

namespace {

struct Options {
  std::string inputDir = "/dev/input";
  bool evdev = true;
};

bool Parse(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--no-evdev") {
      options.evdev = false;
    } else if (argument == "--input-dir" && i + 1 < argc) {
      options.inputDir = argv[++i];
    } else {
      std::fprintf(stderr, "usage: vorlixinputd [--input-dir DIR] [--no-evdev]\n");
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!Parse(argc, argv, options)) return 2;
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTERM);
  sigaddset(&stop, SIGINT);
  sigprocmask(SIG_BLOCK, &stop, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  const vorlix::platform::Handle stopFd(::signalfd(-1, &stop, SFD_CLOEXEC));
  vorlix::drivers::InputService service;
  if (!stopFd || service.Start() != 0) return 1;
  vorlix::drivers::EvdevBackend evdev(service.Hub());
  if (options.evdev) {
    if (evdev.Start(options.inputDir) != 0) return 1;
    service.Watch(evdev.Fd(), [&evdev] { evdev.OnReadable(); });
  }
  service.Run(stopFd.Get());
  return 0;
}
