#include "platform/rdp/WindowClass.h"

#include <QVariant>
#include <QWidget>

namespace vorlix::platform {

namespace {

bool HasClass(const QWidget& window, const char* className) {
  const QByteArray own = window.property(kWindowClassProperty).toByteArray();
  return own.compare(className, Qt::CaseInsensitive) == 0;
}

}  // namespace

void SetWindowClass(QWidget& window, const char* className) {
  window.setObjectName(QString::fromLatin1(className));
  window.setProperty(kWindowClassProperty, QByteArray(className));
}

QWidget* FindChildWindow(QWidget* parent, const char* className) {
  if (parent == nullptr) return nullptr;
  for (QObject* child : parent->children()) {
    auto* window = qobject_cast<QWidget*>(child);
    if (window != nullptr && HasClass(*window, className)) return window;
  }
  return nullptr;
}

}  // namespace vorlix::platform
