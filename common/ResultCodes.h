#pragma once

#include <cstdint>

// Result codes shared by the manager and its clients. 0 is success everywhere.
namespace vorlix {

inline constexpr uint32_t S_OK = 0;
inline constexpr uint32_t E_FAIL = 0x80004005;

// Manager-client pipe layer.
inline constexpr uint32_t E_PIPE_UNKNOWN_COMMAND = 0xE000001C;
inline constexpr uint32_t E_PIPE_EXCHANGE_FAILED = 0xE000001D;
inline constexpr uint32_t E_PIPE_END_MISSING = 0xE000001E;
inline constexpr uint32_t E_PIPE_BAD_WORKPLACE = 0xE000001F;
inline constexpr uint32_t E_PIPE_NO_PROCESS = 0xE0000020;
inline constexpr uint32_t E_PIPE_CREATE_PROCESS = 0xE0000029;

// Platform error numbers, as the original platform numbers them. The platform layer reports
// every failure with one of these; 1460 means a time-out with the device still good.
inline constexpr uint32_t ERROR_SUCCESS = 0;
inline constexpr uint32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr uint32_t ERROR_PATH_NOT_FOUND = 3;
inline constexpr uint32_t ERROR_TOO_MANY_OPEN_FILES = 4;
inline constexpr uint32_t ERROR_ACCESS_DENIED = 5;
inline constexpr uint32_t ERROR_INVALID_HANDLE = 6;
inline constexpr uint32_t ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr uint32_t ERROR_INVALID_DATA = 13;
inline constexpr uint32_t ERROR_READ_FAULT = 30;
inline constexpr uint32_t ERROR_GEN_FAILURE = 31;
inline constexpr uint32_t ERROR_SHARING_VIOLATION = 32;
inline constexpr uint32_t ERROR_NOT_SUPPORTED = 50;
inline constexpr uint32_t ERROR_FILE_EXISTS = 80;
inline constexpr uint32_t ERROR_INVALID_PARAMETER = 87;
inline constexpr uint32_t ERROR_BROKEN_PIPE = 109;
inline constexpr uint32_t ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr uint32_t ERROR_INVALID_NAME = 123;
inline constexpr uint32_t ERROR_DIR_NOT_EMPTY = 145;
inline constexpr uint32_t ERROR_ALREADY_EXISTS = 183;
inline constexpr uint32_t ERROR_MORE_DATA = 234;
inline constexpr uint32_t ERROR_WAIT_TIMEOUT = 258;
inline constexpr uint32_t ERROR_NO_MORE_ITEMS = 259;
inline constexpr uint32_t ERROR_DEVICE_NOT_CONNECTED = 1167;
inline constexpr uint32_t ERROR_BADKEY = 1010;
inline constexpr uint32_t ERROR_KEY_DELETED = 1018;
inline constexpr uint32_t ERROR_TIMEOUT = 1460;
inline constexpr uint32_t ERROR_UNSUPPORTED_TYPE = 1630;

}  // namespace vorlix
