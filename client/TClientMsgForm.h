#pragma once

#include <QPlainTextEdit>
#include <QWidget>

namespace vorlix {

// The workplace's message window: a borderless 445 x 158 window with the read-only text Msg,
// centred over the terminal window when shown. Hidden until there is something to say.
class TClientMsgForm : public QWidget {
 public:
  TClientMsgForm();

  QPlainTextEdit* Msg() { return &msg_; }

 private:
  QPlainTextEdit msg_;
};

}  // namespace vorlix
