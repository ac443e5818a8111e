#pragma once

class QWidget;

// Window classes, as the original platform names its windows: the control's display window is
// found by the classes of the windows around it. A widget's class is its dynamic property
// "windowClass"; its object name is set to the same text.
namespace vorlix::platform {

inline constexpr const char* kWindowClassProperty = "windowClass";

void SetWindowClass(QWidget& window, const char* className);

// The first direct child of `parent` whose class is `className` (compared without regard to
// case), or null; grandchildren are not searched. GUI thread.
QWidget* FindChildWindow(QWidget* parent, const char* className);

}  // namespace vorlix::platform
