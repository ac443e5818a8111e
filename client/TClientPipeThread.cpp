#include "client/TClientPipeThread.h"

#include <memory>
#include <thread>

#include "common/ResultCodes.h"
#include "platform/system/Pipe.h"

namespace vorlix {

void TClientPipeThread::Start(int pipeIn, int pipeOut, PipeCommandTarget& target) {
  auto* thread = new TClientPipeThread(pipeIn, pipeOut, target);
  std::thread([thread] {
    std::unique_ptr<TClientPipeThread> owned(thread);
    owned->Execute();
  }).detach();
}

void TClientPipeThread::Execute() {
  bool quit = false;
  while (!quit && pipeIn_ != -1) {
    size_t read = 0;
    if (platform::ReadWhole(pipeIn_, &FPipeMsg, sizeof FPipeMsg, read) != 0) break;
    FPipeMsg = Serve(FPipeMsg, target_, quit);
    size_t written = 0;
    if (pipeOut_ != -1) platform::WriteWhole(pipeOut_, &FPipeMsg, sizeof FPipeMsg, written);
  }
  target_.PipeEnded();
}

PipeMsg TClientPipeThread::Serve(const PipeMsg& request, PipeCommandTarget& target, bool& quit) {
  PipeMsg reply{request.Command, 0};
  switch (request.Command) {
    case CMD_GET_STATE:
      reply.Value = static_cast<uint32_t>(static_cast<int32_t>(target.State()));
      break;
    case CMD_QUIT:
      quit = true;
      break;
    case CMD_MOUSE_SYMBOLS:
      if (request.Value != 0) {
        target.AppendSymbols(request.Value);
      } else {
        reply.Value = target.RunOnMain(request.Command, request.Value);
      }
      break;
    case CMD_SET_DEVICES:
    case CMD_CONNECT:
    case CMD_DISCONNECT:
    case CMD_SHOW_SELECTION:
    case CMD_HIDE_SELECTION:
    case CMD_PROMPT_LOGIN:
    case CMD_MOUSE_BUTTONS:
    case CMD_REMOVE_MOUSE:
      reply.Value = target.RunOnMain(request.Command, request.Value);
      break;
    default:
      reply.Value = E_PIPE_UNKNOWN_COMMAND;
  }
  return reply;
}

}  // namespace vorlix
