#pragma once

#include <cstdint>

#include "platform/devices/InputProtocol.h"
#include "platform/system/Handle.h"

// Frames of the input service's socket (see InputProtocol.h), for both ends.
namespace vorlix::platform {

// Connects to the input service. 0, or 2 when no service listens.
uint32_t ConnectToInputService(Handle& out);

// Sends one frame, with passFd attached when it is not -1. 0, or 109 when the peer is gone.
uint32_t SendFrame(int socket, uint32_t code, const void* payload, uint32_t length,
                   int passFd = -1);

// Receives one whole frame whose payload fits `capacity`; a descriptor that came along lands in
// passedFd (any further ones are closed). 109 when the peer closed the connection, 13 for a cut
// or over-long frame.
uint32_t ReceiveFrame(int socket, input_protocol::FrameHeader& header, void* payload,
                      uint32_t capacity, Handle& passedFd);

// One request and its reply; the reply's code is the result.
uint32_t Transact(int socket, uint32_t op, const void* payload, uint32_t length, int passFd = -1);

}  // namespace vorlix::platform
