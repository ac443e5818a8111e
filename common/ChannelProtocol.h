#pragma once

#include <cstddef>
#include <cstdint>

// Messages on the "Vorlix" virtual channel between a client and the agent in its session: a
// 4-byte header {MsgLength, MsgType}, little-endian, MsgLength counting the header.
namespace vorlix {

inline constexpr const char* kChannelName = "Vorlix";

inline constexpr size_t kChannelHeaderSize = 4;
// The client sends at most this much payload (1600 bytes in all).
inline constexpr size_t kMaxSendPayload = 1596;
// The longest message a receiver reassembles.
inline constexpr size_t kReassemblySize = 1608;
// One input unit as the device layer delivers it; a chInput carries 1 to 56 of them.
inline constexpr size_t kInputUnitSize = 28;
inline constexpr size_t kMaxInputUnits = 56;

inline constexpr uint16_t chQueryReply = 1;
inline constexpr uint16_t chInput = 6;
inline constexpr uint16_t chAgentHello = 100;
inline constexpr uint16_t chSessionStatus = 101;
inline constexpr uint16_t chKeyboardWord = 102;
inline constexpr uint16_t chQuery = 103;
inline constexpr uint16_t chKeepAlive = 104;
inline constexpr uint16_t chPointerSettings = 105;
inline constexpr uint16_t chCursorState = 203;

// Status word of chSessionStatus: failure flags in the low 16 bits, ready at bit 16.
inline constexpr uint32_t ssMouseFailed = 0x2;
inline constexpr uint32_t ssKeyboardFailed = 0x4;
inline constexpr uint32_t ssHookFailed = 0x8;
inline constexpr uint32_t ssSectionFailed = 0x10;
inline constexpr uint32_t ssMapFailed = 0x20;
inline constexpr uint32_t ssHookLibraryFailed = 0x40;
inline constexpr uint32_t ssReady = 0x10000;
inline constexpr uint32_t ssFailureBits = 0xFFFF;

// CursorWord of chCursorState.
inline constexpr uint32_t kCursorXMask = 0x7FFF;
inline constexpr uint32_t kCursorRedraw = 0x8000;
inline constexpr uint32_t kCursorYShift = 16;
inline constexpr uint32_t kCursorVisible = 0x80000000;

// Flags of the position unit that leads a mouse chInput: dx, dy are absolute window pixels.
inline constexpr uint16_t kPositionUnitFlags = 0x8000;

}  // namespace vorlix
