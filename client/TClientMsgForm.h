#pragma once

#include <QFrame>
#include <QPlainTextEdit>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

namespace vorlix {

// Message kinds of ShowMsg: 0 hides, -1 is an error, anything else information.
inline constexpr int32_t kMsgHide = 0;
inline constexpr int32_t kMsgError = -1;
inline constexpr int32_t kMsgInformation = 1;

// The workplace's message window (ClientMsgForm): borderless, 445 x 158, in the colour of button
// faces, holding the raised panel Panel1 and in it the read-only, word-wrapping text Msg.
// Hidden until there is something to say; TTermWindow::ShowMsg fills and shows it.
class TClientMsgForm : public QWidget {
 public:
  TClientMsgForm();

  void ClearLines();
  void AddLine(const std::string& line);
  std::vector<std::string> Lines() const;
  // Msg's colours for a kind: yellow on red for errors, blue on the tooltip colour otherwise.
  void SetKindColours(int32_t kind);
  QColor MsgBackground() const;
  QColor MsgText() const;
  // Places the window in the middle of `mainForm`, the terminal window's rectangle.
  void CentreOver(const QRect& mainForm);

  QFrame Panel1;
  QPlainTextEdit Msg;

 private:
  void SetMsgColours(const QColor& background, const QColor& text);

  int lineCount_ = 0;
};

}  // namespace vorlix
