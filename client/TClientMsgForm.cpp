#include "client/TClientMsgForm.h"

#include <QVBoxLayout>

namespace vorlix {

namespace {
constexpr int kWidth = 445;
constexpr int kHeight = 158;
}  // namespace

TClientMsgForm::TClientMsgForm() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool) {
  setObjectName("ClientMsgForm");
  resize(kWidth, kHeight);
  msg_.setObjectName("Msg");
  msg_.setReadOnly(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(&msg_);
}

}  // namespace vorlix
