// TTermWindow's side of the "Vorlix" channel: framing sends in the one send buffer, reassembling
// deliveries and acting on the agent's messages.
#include <cstring>

#include "client/ZephClntMain.h"
#include "common/ChannelProtocol.h"

namespace vorlix {

namespace {

// A field of a message's payload; false when the message is too short to hold it.
template <class T>
bool PayloadField(std::string_view message, size_t offset, T& value) {
  const size_t at = kChannelHeaderSize + offset;
  if (message.size() < at + sizeof value) return false;
  std::memcpy(&value, message.data() + at, sizeof value);
  return true;
}

}  // namespace

void TTermWindow::SendChannelMessage(uint16_t type, const void* payload, uint16_t length) {
  const std::lock_guard lock(*FChannelLock);
  if (length > kMaxSendPayload) return;
  if (payload != nullptr) std::memcpy(FSendBuffer.message + kChannelHeaderSize, payload, length);
  const uint16_t total = length + kChannelHeaderSize;
  FSendBuffer.byteCount = total;
  std::memcpy(FSendBuffer.message, &total, sizeof total);
  std::memcpy(FSendBuffer.message + sizeof total, &type, sizeof type);
  TSClient->SendOnVirtualChannel(FChannelName,
                                 reinterpret_cast<platform::BSTR>(FSendBuffer.message));
}

void TTermWindow::TSClientChannelReceivedData(const std::u16string&, const std::string& bytes) {
  // Every delivery is a sign of life, whatever it holds.
  FAlive = true;
  FReassembly.Deliver(bytes);
}

// Messages too short for their type's payload are ignored.
void TTermWindow::HandleChannelMessage(std::string_view message) {
  switch (MessageType(message)) {
    case chAgentHello: {
      int32_t session = 0;
      if (!PayloadField(message, 0, session) || session == FSessionId) return;
      FSessionId = session;
      AttachDisplayWindow();
      return;
    }
    case chSessionStatus:
      PayloadField(message, 0, FAgentStatus);
      return;
    case chKeyboardWord: {
      uint16_t word = 0;
      if (PayloadField(message, 0, word) && FKbd.IsOpen()) FKbd.SendKeyboardWord(word);
      return;
    }
    case chQuery: {
      const uint32_t zero = 0;
      SendChannelMessage(chQueryReply, &zero, sizeof zero);
      return;
    }
    case chKeepAlive:
      FAlive = true;
      return;
    default:
      // chPointerSettings and chCursorState belong to the software cursor.
      return;
  }
}

}  // namespace vorlix
