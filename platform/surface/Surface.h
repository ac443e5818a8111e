#pragma once

#include <cstdint>

// Device contexts of this platform: the surfaces a program draws on. A window surface draws on
// an X window through a display connection of its own; a pixel surface is a block of 32-bit
// pixels (blue, green, red, unused; rows `stride` bytes apart) owned by its creator.
//
// These are C functions of the shared platform library: a module that calls them binds each
// name to the library version node of the original platform ("gdi32.dll", "user32.dll"), so
// that a program can find and divert those imports in the module's import table.
//
// Threads: a surface may be used from any thread, one thread at a time.
namespace vorlix::platform {

struct VorlixSurface;
using HDC = VorlixSurface*;
// An X window.
using HWND = unsigned long;
using BOOL = int;

struct RECT {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

inline constexpr uint32_t SRCCOPY = 0x00CC0020;

// GetClipBox results (ERROR, NULLREGION, SIMPLEREGION).
inline constexpr int kRegionError = 0;
inline constexpr int kNullRegion = 1;
inline constexpr int kSimpleRegion = 2;

extern "C" {

// user32.dll

// A surface of `window`; null when the window does not exist or is not a 24/32-bit true-colour
// window on the display of $DISPLAY.
HDC GetDC(HWND window);
// Frees a surface got from GetDC; 1, or 0 when `dc` is not `window`'s.
int ReleaseDC(HWND window, HDC dc);
// The window of a window surface; 0 for a pixel surface or null.
HWND WindowFromDC(HDC dc);

// gdi32.dll

// A surface over `pixels` (width x height, rows `stride` bytes apart, at least width * 4);
// the pixels stay the caller's and must outlive the surface. Null for bad sizes.
HDC CreatePixelSurface(int width, int height, int stride, void* pixels);
// Frees a surface made by CreatePixelSurface.
BOOL DeleteDC(HDC dc);
// Copies a width x height block from `src` at (xSrc, ySrc) to `dst` at (x, y), clipped to both
// surfaces. Only SRCCOPY; pixel to window and pixel to pixel. Non-zero on success.
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
            uint32_t rop);
// The bounding box of what can be drawn on `dc`: the window's or the pixels' area.
int GetClipBox(HDC dc, RECT* rect);
}

}  // namespace vorlix::platform
