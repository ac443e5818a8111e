// Quillory, the seat manager: one instance, in the console session.
#include <QApplication>
#include <optional>
#include <stdexcept>
#include <string>

#include "common/ResultCodes.h"
#include "common/StringTable.h"
#include "manager/ZephonUsbMain.h"
#include "platform/system/NamedMutex.h"
#include "platform/system/Sessions.h"
#include "platform/ui/MessageDlg.h"
#include "platform/ui/TerminationSignal.h"

namespace {

constexpr const char* kMutexName = "Global\\VorlixMutex";

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool autostart = argc > 1 && std::string(argv[1]) == "autostart";
  std::optional<vorlix::platform::NamedMutex> mutex;
  try {
    if (!vorlix::platform::IsConsoleSession()) throw std::runtime_error(vorlix::LoadStr(10));
    mutex = vorlix::platform::NamedMutex::Create(kMutexName);
    if (mutex->Result() == vorlix::ERROR_ALREADY_EXISTS) {
      if (autostart) return 0;
      throw std::runtime_error(vorlix::LoadStr(20));
    }
    if (!mutex->IsHeld()) throw std::runtime_error(vorlix::LoadStr(15));
  } catch (const std::runtime_error& error) {
    vorlix::platform::ShowException(error.what());
    return 0;
  }
  QApplication::setApplicationName("Quillory");
  vorlix::TZephUsbMain* mainWindow = nullptr;
  vorlix::platform::QuitOnTerminationSignal(
      [&mainWindow] { return mainWindow == nullptr || mainWindow->close(); });
  vorlix::TZephUsbMain window;
  mainWindow = &window;
  if (window.Terminated()) return 0;
  window.show();
  QApplication::exec();
  return 0;
}
