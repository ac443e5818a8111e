// vorlixcln, the seat client: one per workplace, started by the manager (seven arguments) or
// standalone (nine arguments, -1 for both pipes).
#include <QApplication>
#include <exception>
#include <string>
#include <vector>

#include "client/MouseSelectForm.h"
#include "client/TClientMsgForm.h"
#include "client/ZephClntMain.h"
#include "common/StringTable.h"
#include "platform/system/Sessions.h"
#include "platform/ui/MessageDlg.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  QApplication app(argc, argv);
  if (!vorlix::platform::IsConsoleSession()) {
    vorlix::platform::ShowException(vorlix::LoadStr(10));
    return 0;
  }
  try {
    vorlix::TTermWindow window(args);
    vorlix::TClientMsgForm msgForm;
    vorlix::TMouseSelect mouseSelect;
    window.SetMessageForm(&msgForm);
    if (window.Terminated()) return 0;
    window.show();
    QApplication::exec();
  } catch (const std::exception& error) {
    vorlix::platform::ShowException(error.what());
  }
  return 0;
}
