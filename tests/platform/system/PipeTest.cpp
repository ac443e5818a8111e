#include <pthread.h>
#include <signal.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <numeric>
#include <thread>
#include <vector>

#include "common/ResultCodes.h"
#include "platform/system/Pipe.h"

namespace vorlix::platform {
namespace {

struct PipeEnds {
  Handle read, write;
};

PipeEnds NewPipe() {
  PipeEnds ends;
  EXPECT_EQ(CreatePipe(false, ends.read, ends.write), 0u);
  return ends;
}

bool SigpipeBlocked() {
  sigset_t mask;
  ::pthread_sigmask(SIG_SETMASK, nullptr, &mask);
  return ::sigismember(&mask, SIGPIPE) == 1;
}

bool SigpipePending() {
  sigset_t pending;
  ::sigpending(&pending);
  return ::sigismember(&pending, SIGPIPE) == 1;
}

bool SigpipeDefault() {
  struct sigaction action {};
  ::sigaction(SIGPIPE, nullptr, &action);
  return action.sa_handler == SIG_DFL;
}

void SetSigpipeBlocked(bool blocked) {
  sigset_t sigpipe;
  ::sigemptyset(&sigpipe);
  ::sigaddset(&sigpipe, SIGPIPE);
  ::pthread_sigmask(blocked ? SIG_BLOCK : SIG_UNBLOCK, &sigpipe, nullptr);
}

TEST(PipeTest, LargeTransferArrivesWhole) {
  // Far beyond the pipe's buffer, so both sides see partial transfers.
  std::vector<uint8_t> sent(1 << 20);
  std::iota(sent.begin(), sent.end(), uint8_t{0});
  PipeEnds pipe = NewPipe();
  size_t written = 0;
  uint32_t writeResult = ~0u;
  std::thread writer(
      [&] { writeResult = WriteWhole(pipe.write.Get(), sent.data(), sent.size(), written); });

  std::vector<uint8_t> received(sent.size());
  size_t read = 0;
  EXPECT_EQ(ReadWhole(pipe.read.Get(), received.data(), sent.size(), read), 0u);
  writer.join();
  EXPECT_EQ(writeResult, 0u);
  EXPECT_EQ(written, sent.size());
  EXPECT_EQ(read, sent.size());
  EXPECT_EQ(received, sent);
}

TEST(PipeTest, ReadCutShortByClosedWriterIsBrokenPipe) {
  for (const size_t before : {size_t{0}, size_t{3}}) {
    SCOPED_TRACE(before);
    PipeEnds pipe = NewPipe();
    const char bytes[3] = {1, 2, 3};
    size_t written = 0;
    ASSERT_EQ(WriteWhole(pipe.write.Get(), bytes, before, written), 0u);
    pipe.write.Reset();

    char message[8];
    size_t read = 99;
    EXPECT_EQ(ReadWhole(pipe.read.Get(), message, sizeof message, read), ERROR_BROKEN_PIPE);
    EXPECT_EQ(read, before);
  }
}

TEST(PipeTest, WriteWithoutReaderIsBrokenPipeAndRaisesNoSignal) {
  // With the default disposition a SIGPIPE would end this test program.
  ASSERT_TRUE(SigpipeDefault());
  ASSERT_FALSE(SigpipeBlocked());
  PipeEnds pipe = NewPipe();
  pipe.read.Reset();

  const char message[8] = {};
  size_t written = 99;
  EXPECT_EQ(WriteWhole(pipe.write.Get(), message, sizeof message, written), ERROR_BROKEN_PIPE);
  EXPECT_EQ(written, 0u);
  EXPECT_FALSE(SigpipePending());
  EXPECT_FALSE(SigpipeBlocked());
  EXPECT_TRUE(SigpipeDefault());
}

TEST(PipeTest, SigpipePendingBeforeStaysPending) {
  SetSigpipeBlocked(true);
  ::pthread_kill(::pthread_self(), SIGPIPE);
  PipeEnds pipe = NewPipe();
  pipe.read.Reset();

  const char message[8] = {};
  size_t written = 0;
  EXPECT_EQ(WriteWhole(pipe.write.Get(), message, sizeof message, written), ERROR_BROKEN_PIPE);
  EXPECT_TRUE(SigpipeBlocked());
  EXPECT_TRUE(SigpipePending());

  sigset_t sigpipe;
  ::sigemptyset(&sigpipe);
  ::sigaddset(&sigpipe, SIGPIPE);
  const timespec noWait{};
  ::sigtimedwait(&sigpipe, nullptr, &noWait);
  SetSigpipeBlocked(false);
}

}  // namespace
}  // namespace vorlix::platform
