#pragma once

#include <cstdint>

// COM-style results of the remote desktop control, its module and its factory: 0 is success,
// a negative value a failure. The shared codes of common/ResultCodes.h (E_FAIL) are uint32_t;
// HResult() gives them this type.
namespace vorlix::platform {

using HRESULT = int32_t;

constexpr HRESULT HResult(uint32_t code) { return static_cast<HRESULT>(code); }

// HRESULT_FROM_WIN32: a non-zero platform error number as a failure result.
constexpr HRESULT HResultFromWin32(uint32_t error) {
  return HResult(0x80070000 | (error & 0xFFFF));
}

inline constexpr uint32_t ERROR_MOD_NOT_FOUND = 126;
inline constexpr uint32_t ERROR_PROC_NOT_FOUND = 127;

inline constexpr HRESULT E_INVALIDARG = HResult(0x80070057);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = HResult(0x80040154);
inline constexpr HRESULT SELFREG_E_CLASS = HResult(0x80040201);

}  // namespace vorlix::platform
