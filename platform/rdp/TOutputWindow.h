#pragma once

#include <QWidget>
#include <functional>

namespace vorlix::platform {

// The control's display window ("OPWindowClass"): a native X window that Qt never paints. The
// session's image is put on it by the engine; what an expose uncovers is handed to `repaint`.
class TOutputWindow : public QWidget {
 public:
  using RepaintHandler = std::function<void(const QRect& area)>;

  explicit TOutputWindow(RepaintHandler repaint);

  QPaintEngine* paintEngine() const override { return nullptr; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  RepaintHandler repaint_;
};

}  // namespace vorlix::platform
