#include "platform/rdp/TOutputWindow.h"

#include <QPaintEvent>

namespace vorlix::platform {

TOutputWindow::TOutputWindow(RepaintHandler repaint) : repaint_(std::move(repaint)) {
  setAttribute(Qt::WA_NativeWindow);
  setAttribute(Qt::WA_PaintOnScreen);
  setAttribute(Qt::WA_NoSystemBackground);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TOutputWindow::paintEvent(QPaintEvent* event) { repaint_(event->rect()); }

}  // namespace vorlix::platform
