#include "manager/ZephonUsbMain.h"

#include <dlfcn.h>
#include <unistd.h>

#include <QCloseEvent>
#include <QHeaderView>
#include <QShowEvent>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "common/PipeProtocol.h"
#include "common/StringTable.h"
#include "hooks/VorlixHooks.h"
#include "manager/ClientSupervision.h"
#include "manager/MonitorTable.h"
#include "manager/ToolImages.h"
#include "manager/Trayiconmy.h"
#include "platform/display/ClipCursor.h"
#include "platform/display/HookHost.h"
#include "platform/display/Monitors.h"
#include "platform/rdp/ControlFactory.h"
#include "platform/rdp/EOleSysError.h"
#include "platform/registry/ERegistryException.h"
#include "platform/registry/TRegistry.h"
#include "platform/system/Privilege.h"
#include "platform/ui/MessageDlg.h"
#include "ui_ZephonUsbMain.h"

namespace vorlix {

namespace {

using platform::MessageDlg;
using platform::MsgDlgType;

constexpr const char* kSettingsKey = "Software\\Brackenholt\\Vorlix";
constexpr const char* kHooksLibrary = "libvorlixhooks.so";
constexpr int kColumnWidths[] = {100, 172, 180, 167};

struct HookSpec {
  const char* name;
  int kind;
};
// Installed in this order and removed in the same order.
constexpr HookSpec kHooks[] = {
    {"_TSCBTProc@12", platform::WH_CBT},
    {"_TSLowLevelMouseProc@12", platform::WH_MOUSE_LL},
    {"_TSLowLevelKbdProc@12", platform::WH_KEYBOARD_LL},
};

std::string OwnFolder() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string("./") : exe.parent_path().string() + "/";
}

// Replaces the first %s or %d of a text with `argument`.
std::string Format(const std::string& text, const std::string& argument) {
  std::string out = text;
  for (const char* mark : {"%s", "%d"}) {
    if (const auto pos = out.find(mark); pos != std::string::npos) {
      return out.replace(pos, 2, argument);
    }
  }
  return out;
}

// Reads one integer setting; `missing` when the value is absent or unreadable.
bool FlagSetting(const platform::TRegistry& reg, const char* name, bool missing) {
  try {
    return reg.ReadInteger(name) != 0;
  } catch (const platform::ERegistryException&) {
    return missing;
  }
}

}  // namespace

TZephUsbMain::TZephUsbMain() : ui_(std::make_unique<Ui::ZephUsbMain>()) {
  ui_->setupUi(this);
  ToolsImages = MakeToolsImages();
  ImageList = MakeTrayImages();
  TrayIcon = std::make_unique<TTrayIconMy>(this);
  TrayIcon->SetIcons(ImageList);
  TrayIcon->OnRestore = [this] { TrayIconRestore(); };
  ui_->SetupBtn->setIcon(ToolsImages[0]);
  for (int col = 0; col < 4; ++col) ui_->DevGrid->setColumnWidth(col, kColumnWidths[col]);
  FormCreate();
}

TZephUsbMain::~TZephUsbMain() { FormDestroy(); }

void TZephUsbMain::Fatal(int textId, const std::string& argument) {
  MessageDlg(Format(LoadStr(textId), argument), MsgDlgType::mtError, platform::mbAbort);
  terminated_ = true;
}

void TZephUsbMain::FormCreate() {
  platform::GetClipCursor(ClipRect);
  TSSetClipCur(0, &ClipRect);
  ui_->SetupBar->setVisible(platform::IsAdministrator());
  if (!ControlCanBeCreated()) return Fatal(25);
  HomeDir = OwnFolder();
  if (!std::filesystem::exists(HomeDir + kClientProgram)) return Fatal(30, kClientProgram);
  ReadSettings();

  SetCell(0, 0, LoadStr(1000));
  SetCell(1, 0, LoadStr(1003));
  SetCell(2, 0, LoadStr(1001));
  SetCell(3, 0, LoadStr(1002));
  ui_->BindInpBtn->setToolTip(QString::fromStdString(LoadStr(1010)));
  ui_->BindInpBtn->setIcon(ToolsImages[1]);
  ui_->SetupBtn->setToolTip(QString::fromStdString(LoadStr(1012)));

  const MonitorScan scan =
      EnumerateMonitors(platform::EnumerateDisplayMonitors(), DebugMonitors, Monitors);
  TSSetClipCur(scan.Sides, &scan.PrimaryRect);
  if (Monitors.empty()) {
    return scan.DetachedCount ? Fatal(40, std::to_string(scan.DetachedCount)) : Fatal(45);
  }
  ui_->DevGrid->setRowCount(static_cast<int>(Monitors.size()));
  for (size_t i = 0; i < Monitors.size(); ++i) {
    SetCell(0, static_cast<int>(i) + 1, Monitors[i].DeviceName);
  }
  InstallHooks();
  if (!StartClients(Monitors, HomeDir)) return Fatal(50);
}

bool TZephUsbMain::ControlCanBeCreated() {
  try {
    delete platform::CreateRemoteDesktopControl(this);
    return true;
  } catch (const platform::EOleSysError&) {
    return platform::RegisterControlModule("msrdp.ocx") == 0;
  }
}

void TZephUsbMain::ReadSettings() {
  platform::TRegistry reg(platform::KeyAccess::Read);
  if (!reg.OpenKeyReadOnly(kSettingsKey)) {
    NoHostName = true;
    return;
  }
  DebugMonitors = FlagSetting(reg, "DebugMonitors", false);
  try {
    NoHostName = reg.ReadString("TsHostName").empty();
  } catch (const platform::ERegistryException&) {
    NoHostName = true;
  }
  NoPS2Kbd = FlagSetting(reg, "DontUsePS2Kbd", true);
  NoPS2Mouse = FlagSetting(reg, "DontUsePS2Mouse", true);
}

void TZephUsbMain::InstallHooks() {
  void* library = ::dlopen(kHooksLibrary, RTLD_NOW);
  if (library == nullptr) return;
  platform::HOOKPROC* procs[] = {&CbtProc, &MouseProc, &KbdProc};
  platform::HHOOK* hooks[] = {&CbtHook, &MouseHook, &KbdHook};
  for (size_t i = 0; i < std::size(kHooks); ++i) {
    *procs[i] = reinterpret_cast<platform::HOOKPROC>(::dlsym(library, kHooks[i].name));
    if (*procs[i]) *hooks[i] = platform::SetWindowsHookEx(kHooks[i].kind, *procs[i], library, 0);
  }
}

void TZephUsbMain::RemoveHooks() {
  for (platform::HHOOK* hook : {&CbtHook, &MouseHook, &KbdHook}) {
    if (*hook) platform::UnhookWindowsHookEx(*hook);
    *hook = nullptr;
  }
}

void TZephUsbMain::FormShow() {
  if (!FirstShow) return;
  FirstShow = false;
}

bool TZephUsbMain::FormCloseQuery() {
  if (ui_->BindInpBtn->isEnabled()) return true;
  return MessageDlg(LoadStr(60), MsgDlgType::mtConfirmation, platform::mbYes | platform::mbNo) ==
         platform::mrYes;
}

void TZephUsbMain::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  StopClients(Monitors);
  RemoveHooks();
  platform::ClipCursor(&ClipRect);
}

void TZephUsbMain::TrayIconRestore() { showNormal(); }

void TZephUsbMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TZephUsbMain::closeEvent(QCloseEvent* event) {
  FormCloseQuery() ? event->accept() : event->ignore();
}

void TZephUsbMain::SetCell(int col, int row, const std::string& text) {
  auto* item = new QTableWidgetItem(QString::fromStdString(text));
  if (row == 0) {
    ui_->DevGrid->setHorizontalHeaderItem(col, item);
  } else {
    ui_->DevGrid->setItem(row - 1, col, item);
  }
  WriteGridFile();
}

// With VORLIX_GRID_FILE set, the grid is written there (a line per row, cells separated by
// tabs) whenever it changes, so that tests and the demo can read what the operator sees.
void TZephUsbMain::WriteGridFile() const {
  const char* path = std::getenv("VORLIX_GRID_FILE");
  if (path == nullptr || *path == '\0') return;
  const std::string temp = std::string(path) + ".new";
  {
    std::ofstream out(temp);
    const QTableWidget* grid = ui_->DevGrid;
    for (int row = -1; row < grid->rowCount(); ++row) {
      for (int col = 0; col < grid->columnCount(); ++col) {
        const QTableWidgetItem* item =
            row < 0 ? grid->horizontalHeaderItem(col) : grid->item(row, col);
        out << (col ? "\t" : "") << (item ? item->text().toStdString() : "");
      }
      out << '\n';
    }
  }
  std::rename(temp.c_str(), path);
}

}  // namespace vorlix
