#include "client/DisplaySurfaces.h"

#include "platform/surface/Cursor.h"

namespace vorlix {

DisplaySurfaces& DisplaySurfaces::Instance() {
  static DisplaySurfaces surfaces;
  return surfaces;
}

bool DisplaySurfaces::Attach(platform::HWND window) {
  if (Attached()) return true;
  displayWindow = window;
  if (window != 0) windowDC = platform::GetDC(window);
  if (windowDC != nullptr) {
    const int width = platform::GetSystemMetrics(platform::SM_CXCURSOR);
    const int height = platform::GetSystemMetrics(platform::SM_CYCURSOR);
    cursorBitmap.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    cursorDC = platform::CreatePixelSurface(width, height, width * 4, cursorBitmap.data());
  }
  return displayWindow != 0 && windowDC != nullptr && cursorDC != nullptr;
}

void DisplaySurfaces::Release() {
  if (cursorDC != nullptr) platform::DeleteDC(cursorDC);
  cursorDC = nullptr;
  cursorBitmap.clear();
  if (windowDC != nullptr) platform::ReleaseDC(displayWindow, windowDC);
  windowDC = nullptr;
  displayWindow = 0;
}

}  // namespace vorlix
