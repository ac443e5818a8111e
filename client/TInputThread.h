#pragma once

#include <thread>

#include "platform/system/Event.h"

namespace vorlix {

// The client's input thread: sleeps on the keyboard's and the mouse's data events and on its
// own terminate event. It is started by FormCreate and stopped by FormDestroy before the events
// it waits on go away. Reading and forwarding the devices' input is built on this loop.
class TInputThread {
 public:
  TInputThread(const platform::Event& kbdEvent, const platform::Event& mouEvent);
  ~TInputThread();
  TInputThread(const TInputThread&) = delete;
  TInputThread& operator=(const TInputThread&) = delete;

  // Asks the thread to end and waits until it has.
  void TerminateAndWait();

 private:
  void Execute();

  const platform::Event& kbdEvent_;
  const platform::Event& mouEvent_;
  platform::Event terminate_{platform::Event::Reset::Manual};
  std::thread thread_;
};

}  // namespace vorlix
