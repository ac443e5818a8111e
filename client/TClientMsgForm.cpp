#include "client/TClientMsgForm.h"

#include <QVBoxLayout>

namespace vorlix {

namespace {

constexpr int kWidth = 445;
constexpr int kHeight = 158;
constexpr int kFontPixels = 13;

void FillWith(QWidget& parent, QWidget& child) {
  auto* layout = new QVBoxLayout(&parent);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(&child);
}

}  // namespace

TClientMsgForm::TClientMsgForm() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool) {
  setObjectName("ClientMsgForm");
  setFixedSize(kWidth, kHeight);
  QPalette face = palette();
  face.setColor(QPalette::Window, face.color(QPalette::Button));
  setPalette(face);
  setAutoFillBackground(true);
  Panel1.setObjectName("Panel1");
  Panel1.setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1.setLineWidth(1);
  Msg.setObjectName("Msg");
  Msg.setReadOnly(true);
  Msg.setLineWrapMode(QPlainTextEdit::WidgetWidth);
  QFont font("MS Sans Serif");
  font.setPixelSize(kFontPixels);
  Msg.setFont(font);
  SetMsgColours(Qt::lightGray, Qt::black);
  FillWith(*this, Panel1);
  FillWith(Panel1, Msg);
}

void TClientMsgForm::ClearLines() {
  Msg.clear();
  lineCount_ = 0;
}

void TClientMsgForm::AddLine(const std::string& line) {
  Msg.appendPlainText(QString::fromStdString(line));
  ++lineCount_;
}

std::vector<std::string> TClientMsgForm::Lines() const {
  std::vector<std::string> lines;
  if (lineCount_ == 0) return lines;
  for (const QString& line : Msg.toPlainText().split('\n')) lines.push_back(line.toStdString());
  return lines;
}

void TClientMsgForm::SetKindColours(int32_t kind) {
  if (kind == kMsgError) {
    SetMsgColours(Qt::red, Qt::yellow);
  } else {
    SetMsgColours(palette().color(QPalette::ToolTipBase), Qt::blue);
  }
}

void TClientMsgForm::SetMsgColours(const QColor& background, const QColor& text) {
  QPalette colours = Msg.palette();
  colours.setColor(QPalette::Base, background);
  colours.setColor(QPalette::Text, text);
  Msg.setPalette(colours);
}

QColor TClientMsgForm::MsgBackground() const { return Msg.palette().color(QPalette::Base); }
QColor TClientMsgForm::MsgText() const { return Msg.palette().color(QPalette::Text); }

void TClientMsgForm::CentreOver(const QRect& mainForm) {
  move(mainForm.center() - QPoint(width() / 2, height() / 2));
}

}  // namespace vorlix
