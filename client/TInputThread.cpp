#include "client/TInputThread.h"

namespace vorlix {

TInputThread::TInputThread(const platform::Event& kbdEvent, const platform::Event& mouEvent)
    : kbdEvent_(kbdEvent), mouEvent_(mouEvent), thread_([this] { Execute(); }) {}

TInputThread::~TInputThread() { TerminateAndWait(); }

void TInputThread::TerminateAndWait() {
  terminate_.Set();
  if (thread_.joinable()) thread_.join();
}

void TInputThread::Execute() {
  const platform::Event* events[] = {&terminate_, &kbdEvent_, &mouEvent_};
  for (;;) {
    const int signalled = platform::WaitAny(events, platform::kInfinite);
    if (signalled <= 0) return;  // terminate, or a wait that cannot work
    events[signalled]->ResetEvent();
  }
}

}  // namespace vorlix
