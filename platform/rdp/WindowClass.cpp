#include "platform/rdp/WindowClass.h"

#include <QVariant>
#include <QWidget>

namespace vorlix::platform {

void SetWindowClass(QWidget& window, const char* className) {
  window.setObjectName(QString::fromLatin1(className));
  window.setProperty(kWindowClassProperty, QByteArray(className));
}

QWidget* FindChildWindow(QWidget* parent, const char* className) {
  if (parent == nullptr) return nullptr;
  for (QObject* child : parent->children()) {
    auto* window = qobject_cast<QWidget*>(child);
    if (window != nullptr &&
        window->property(kWindowClassProperty).toByteArray().compare(className,
                                                                     Qt::CaseInsensitive) == 0) {
      return window;
    }
  }
  return nullptr;
}

}  // namespace vorlix::platform
