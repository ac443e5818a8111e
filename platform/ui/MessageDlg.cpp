#include "platform/ui/MessageDlg.h"

#include <QMessageBox>
#include <cstdlib>
#include <fstream>
#include <utility>

namespace vorlix::platform {

namespace {

struct ButtonInfo {
  uint32_t flag;
  QMessageBox::StandardButton qt;
  int result;
  const char* name;
};

// In the order in which a box lists its buttons; the first present one is the default.
constexpr ButtonInfo kButtons[] = {
    {mbYes, QMessageBox::Yes, mrYes, "Yes"},
    {mbNo, QMessageBox::No, mrNo, "No"},
    {mbOK, QMessageBox::Ok, mrOk, "OK"},
    {mbCancel, QMessageBox::Cancel, mrCancel, "Cancel"},
    {mbAbort, QMessageBox::Abort, mrAbort, "Abort"},
};

const char* KindName(MsgDlgType type) {
  switch (type) {
    case MsgDlgType::mtWarning:
      return "Warning";
    case MsgDlgType::mtError:
      return "Error";
    case MsgDlgType::mtInformation:
      return "Information";
    case MsgDlgType::mtConfirmation:
      return "Confirmation";
  }
  return "";
}

QMessageBox::Icon IconOf(MsgDlgType type) {
  switch (type) {
    case MsgDlgType::mtWarning:
      return QMessageBox::Warning;
    case MsgDlgType::mtError:
      return QMessageBox::Critical;
    case MsgDlgType::mtInformation:
      return QMessageBox::Information;
    case MsgDlgType::mtConfirmation:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// Writes the box to the dialog log when one is set; returns its default answer then.
std::pair<bool, int> Logged(const std::string& text, MsgDlgType type, uint32_t buttons) {
  const char* path = std::getenv("VORLIX_DIALOG_LOG");
  if (path == nullptr || *path == '\0') return {false, mrNone};
  std::string names, flat;
  int first = mrNone;
  for (const ButtonInfo& b : kButtons) {
    if (!(buttons & b.flag)) continue;
    names += names.empty() ? b.name : std::string(",") + b.name;
    if (first == mrNone) first = b.result;
  }
  for (const char c : text) flat += c == '\n' ? std::string("\\n") : std::string(1, c);
  std::ofstream(path, std::ios::app) << KindName(type) << '\t' << names << '\t' << flat << '\n';
  return {true, first};
}

}  // namespace

int MessageDlg(const std::string& text, MsgDlgType type, uint32_t buttons) {
  if (const auto [logged, answer] = Logged(text, type, buttons); logged) return answer;
  QMessageBox box(IconOf(type), QString(), QString::fromStdString(text));
  for (const ButtonInfo& b : kButtons) {
    if (buttons & b.flag) box.addButton(b.qt);
  }
  const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
  for (const ButtonInfo& b : kButtons) {
    if (b.qt == pressed) return b.result;
  }
  return mrNone;
}

void ShowException(const std::string& text) { MessageDlg(text, MsgDlgType::mtError, mbOK); }

}  // namespace vorlix::platform
