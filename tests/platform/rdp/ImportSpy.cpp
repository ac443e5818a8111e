// Preloaded into a program to see the control module's calls through its import table: it
// defines BitBlt and SetCursor under the same library version nodes as the platform library,
// so the module's imports bind here first. Each notes its first call in $VORLIX_IMPORT_SPY and
// passes every call on.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/surface/Cursor.h"
#include "platform/surface/Surface.h"

namespace {

void NoteFirstCall(std::once_flag& once, const char* name) {
  std::call_once(once, [name] {
    if (FILE* file = std::fopen(std::getenv("VORLIX_IMPORT_SPY"), "a")) {
      std::fprintf(file, "%s\n", name);
      std::fclose(file);
    }
  });
}

// The platform library came in with the control module, outside the global scope.
template <class Function>
Function Next(const char* name, const char* library) {
  void* platform = ::dlopen("libvorlixsurface.so", RTLD_NOW | RTLD_NOLOAD);
  return reinterpret_cast<Function>(::dlvsym(platform, name, library));
}

}  // namespace

namespace vorlix::platform {
extern "C" {

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
            uint32_t rop) {
  static std::once_flag once;
  NoteFirstCall(once, "BitBlt");
  static const auto next = Next<decltype(&BitBlt)>("BitBlt", "gdi32.dll");
  return next(dst, x, y, width, height, src, xSrc, ySrc, rop);
}

HCURSOR SetCursor(HCURSOR cursor) {
  static std::once_flag once;
  NoteFirstCall(once, "SetCursor");
  static const auto next = Next<decltype(&SetCursor)>("SetCursor", "user32.dll");
  return next(cursor);
}
}
}  // namespace vorlix::platform
