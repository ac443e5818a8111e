#pragma once

#include <cstdint>

#include "common/PipeProtocol.h"

namespace vorlix {

// What the command thread needs of the client window. State and AppendSymbols are called on the
// command thread itself; RunOnMain runs a command's action on the main thread and returns only
// after it ran; PipeEnded is called once, from the command thread, after the loop has ended.
class PipeCommandTarget {
 public:
  virtual ~PipeCommandTarget() = default;
  virtual int8_t State() const = 0;
  virtual void AppendSymbols(uint32_t packed) = 0;
  virtual uint32_t RunOnMain(uint32_t command, uint32_t value) = 0;
  virtual void PipeEnded() = 0;
};

// Serves the manager's commands: reads 8-byte requests from the command pipe (however the
// bytes arrive), answers each on the reply pipe, until CMD_QUIT or a failed read. Runs on a
// thread of its own that frees itself when it ends.
class TClientPipeThread {
 public:
  // Starts the thread; pipeIn -1 ends it at once, pipeOut -1 drops the replies.
  static void Start(int pipeIn, int pipeOut, PipeCommandTarget& target);

  // The reply to one request (the command echoed, its result); `quit` is set by CMD_QUIT.
  static PipeMsg Serve(const PipeMsg& request, PipeCommandTarget& target, bool& quit);

 private:
  TClientPipeThread(int pipeIn, int pipeOut, PipeCommandTarget& target)
      : pipeIn_(pipeIn), pipeOut_(pipeOut), target_(target) {}
  void Execute();

  int pipeIn_;
  int pipeOut_;
  PipeCommandTarget& target_;
  PipeMsg FPipeMsg;
};

}  // namespace vorlix
