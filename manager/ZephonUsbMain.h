#pragma once

#include <QIcon>
#include <QList>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "manager/TMonitorInfo.h"
#include "platform/display/HookTypes.h"
#include "platform/display/Rect.h"
#include "platform/ui/TTimer.h"

namespace Ui {
class ZephUsbMain;
}

namespace vorlix {

class TTrayIconMy;

// The manager's main window: the status grid of the workplaces, the setup toolbar and the
// notification-area icon. Creating it runs FormCreate: clip and hooks, the control test, the
// settings, the workplace table and the clients. A fatal start-up error shows its box and leaves
// the window Terminated(); the program then ends without showing it. GUI thread only.
class TZephUsbMain : public QWidget {
 public:
  TZephUsbMain();
  ~TZephUsbMain() override;

  bool Terminated() const { return terminated_; }
  const std::vector<TMonitorInfo>& Workplaces() const { return Monitors; }

  void FormCreate();
  void FormShow();
  bool FormCloseQuery();
  void FormDestroy();
  void TrayIconRestore();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Fatal(int textId, const std::string& argument = {});
  bool ControlCanBeCreated();
  void ReadSettings();
  void InstallHooks();
  void RemoveHooks();
  // Cell (col, row) of the grid; row 0 is the header row, workplace w is row w + 1.
  void SetCell(int col, int row, const std::string& text);
  void WriteGridFile() const;

  std::unique_ptr<Ui::ZephUsbMain> ui_;
  QList<QIcon> ToolsImages;
  QList<QIcon> ImageList;
  platform::TTimer BindTimer{100};
  platform::TTimer GridTimer{1000};
  std::unique_ptr<TTrayIconMy> TrayIcon;

  platform::Rect ClipRect;
  platform::HHOOK CbtHook = nullptr;
  platform::HHOOK MouseHook = nullptr;
  platform::HHOOK KbdHook = nullptr;
  platform::HOOKPROC CbtProc = nullptr;
  platform::HOOKPROC MouseProc = nullptr;
  platform::HOOKPROC KbdProc = nullptr;
  std::string HomeDir;
  std::vector<TMonitorInfo> Monitors;
  bool DebugMonitors = false;
  bool FirstShow = true;
  bool Binding = false;
  bool NoHostName = false;
  bool NoPS2Kbd = true;
  bool NoPS2Mouse = true;

  bool terminated_ = false;
  bool destroyed_ = false;
};

}  // namespace vorlix
