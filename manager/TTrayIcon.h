#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>

class QWidget;

namespace vorlix {

// The notification-area icon: shows Icons[IconIndex()], steps through them once a second while
// Animate is on, hides the main window on Minimize and brings it back on a double click.
// GUI thread only. Where the desktop has no notification area the icon simply is not seen.
class TTrayIcon : public QObject {
 public:
  explicit TTrayIcon(QWidget* mainWindow);
  ~TTrayIcon() override = default;

  void SetIcons(QList<QIcon> icons);
  const QList<QIcon>& Icons() const { return icons_; }
  int IconIndex() const { return index_; }
  void SetIconIndex(int index);
  bool Animate() const { return animation_.isActive(); }
  void SetAnimate(bool on);
  // Hides the main window so that only the icon remains.
  void Minimize();

  std::function<void()> OnRestore;

 protected:
  // One animation step: the next image, staying on the last one.
  virtual void Step();
  void RefreshIcon();

 private:
  QWidget* main_;
  QSystemTrayIcon icon_;
  QTimer animation_;
  QList<QIcon> icons_;
  int index_ = 0;
};

}  // namespace vorlix
