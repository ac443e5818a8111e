#include "manager/TTrayIcon.h"

#include <QWidget>

namespace vorlix {

namespace {
constexpr int kAnimationMs = 1000;
}

TTrayIcon::TTrayIcon(QWidget* mainWindow) : main_(mainWindow) {
  animation_.setInterval(kAnimationMs);
  connect(&animation_, &QTimer::timeout, this, [this] { Step(); });
  connect(&icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
    if (r != QSystemTrayIcon::DoubleClick) return;
    main_->showNormal();
    if (OnRestore) OnRestore();
  });
}

void TTrayIcon::SetIcons(QList<QIcon> icons) {
  icons_ = std::move(icons);
  RefreshIcon();
  icon_.show();
}

void TTrayIcon::SetIconIndex(int index) {
  index_ = index;
  RefreshIcon();
}

void TTrayIcon::SetAnimate(bool on) { on ? animation_.start() : animation_.stop(); }

void TTrayIcon::Minimize() { main_->hide(); }

void TTrayIcon::Step() {
  if (index_ + 1 < icons_.size()) ++index_;
  RefreshIcon();
}

void TTrayIcon::RefreshIcon() {
  if (index_ >= 0 && index_ < icons_.size()) icon_.setIcon(icons_[index_]);
}

}  // namespace vorlix
