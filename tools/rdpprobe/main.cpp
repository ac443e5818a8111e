// rdpprobe: connects the remote desktop control to a server and prints what happens, one line
// per event and per channel message. The operator's first check that this PC reaches its
// terminal server.
#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "common/ChannelMessageText.h"
#include "platform/rdp/ControlFactory.h"
#include "platform/rdp/EOleSysError.h"
#include "tools/rdpprobe/RdpProbe.h"

namespace {

constexpr int kUsageExit = 2;
constexpr int kDesktopWidth = 1024;
constexpr int kDesktopHeight = 768;

[[noreturn]] void Usage(const char* problem) {
  std::fprintf(stderr,
               "rdpprobe: %s\nusage: rdpprobe --server HOST[:PORT] [--channel NAME] "
               "[--send-hex HEX] [--seconds N]\n",
               problem);
  std::exit(kUsageExit);
}

std::u16string Widen(std::string_view text) { return {text.begin(), text.end()}; }

vorlix::tools::ProbeOptions ParseOptions(int argc, char** argv) {
  vorlix::tools::ProbeOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view name = argv[i];
    if (i + 1 >= argc) Usage("missing value");
    const std::string_view value = argv[++i];
    if (name == "--server") {
      options.server = Widen(value);
    } else if (name == "--channel") {
      options.channel = Widen(value);
    } else if (name == "--send-hex") {
      options.send = vorlix::ParseHex(value);
      if (!options.send || options.send->empty()) Usage("--send-hex needs pairs of hex digits");
    } else if (name == "--seconds") {
      options.seconds = std::atoi(std::string(value).c_str());
      if (options.seconds <= 0) Usage("--seconds needs a positive number");
    } else {
      Usage("unknown option");
    }
  }
  if (options.server.empty()) Usage("--server is required");
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const vorlix::tools::ProbeOptions options = ParseOptions(argc, argv);
  // FreeRDP speaks on stderr only when asked to (WLOG_LEVEL=INFO).
  setenv("WLOG_LEVEL", "OFF", 0);
  // Without a display the control still connects; its picture just goes nowhere.
  if (std::getenv("DISPLAY") == nullptr) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // A plain window the window manager leaves alone, so the display window is mapped.
  QWidget host(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
  host.setGeometry(0, 0, kDesktopWidth, kDesktopHeight);
  std::unique_ptr<vorlix::platform::TMsTscAx> control;
  try {
    control.reset(vorlix::platform::CreateRemoteDesktopControlRegistering(&host));
  } catch (const vorlix::platform::EOleSysError& error) {
    std::fprintf(stderr, "rdpprobe: cannot create the control: %s\n", error.what());
    return 1;
  }
  control->Widget()->setGeometry(0, 0, kDesktopWidth, kDesktopHeight);
  control->SetDesktopWidth(kDesktopWidth);
  control->SetDesktopHeight(kDesktopHeight);
  host.show();
  vorlix::tools::RdpProbe probe(*control, options);
  probe.Start();
  app.exec();
  return probe.ExitCode();
}
