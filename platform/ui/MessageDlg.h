#pragma once

#include <cstdint>
#include <string>

// Message boxes as the programs use them: the kind picks the icon, the buttons are a set.
// GUI thread only. With VORLIX_DIALOG_LOG set to a file, no box is shown: each is appended to
// that file as one line "KIND<TAB>BUTTONS<TAB>TEXT" (line feeds in TEXT written as \n) and
// answered with its first button; tests and the demo read the file.
namespace vorlix::platform {

enum class MsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

enum MsgDlgButtons : uint32_t { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16 };

enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrYes = 6, mrNo = 7 };

// Shows the box modally and returns the button pressed (mrNone when closed otherwise).
int MessageDlg(const std::string& text, MsgDlgType type, uint32_t buttons);

// The application's standard error display: a stop icon, the text and OK.
void ShowException(const std::string& text);

}  // namespace vorlix::platform
