#include "client/TClientPipeThread.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <future>
#include <thread>

#include "common/ResultCodes.h"
#include "platform/system/Pipe.h"

namespace vorlix {
namespace {

using platform::Handle;

// Records what the command thread asked of the window.
class FakeWindow : public PipeCommandTarget {
 public:
  int8_t State() const override { return state; }
  void AppendSymbols(uint32_t packed) override {
    appended.push_back(packed);
    appendedOn = std::this_thread::get_id();
  }
  uint32_t RunOnMain(uint32_t command, uint32_t value) override {
    onMain.push_back({command, value});
    return 0x1234;
  }
  void PipeEnded() override { ended.set_value(); }

  int8_t state = 2;
  std::vector<uint32_t> appended;
  std::thread::id appendedOn;
  std::vector<PipeMsg> onMain;
  std::promise<void> ended;
};

TEST(ClientPipeThread, EachCommandIsAnsweredWhereItBelongs) {
  const struct {
    uint32_t command, value, result;
    bool main;
  } cases[] = {
      {CMD_GET_STATE, 0, 2, false},           {CMD_MOUSE_SYMBOLS, 0x00414243, 0, false},
      {CMD_MOUSE_SYMBOLS, 0, 0x1234, true},   {CMD_SET_DEVICES, 0x00030002, 0x1234, true},
      {CMD_PROMPT_LOGIN, 0, 0x1234, true},    {CMD_QUIT, 0, 0, false},
      {0, 0, E_PIPE_UNKNOWN_COMMAND, false},  {5, 0, E_PIPE_UNKNOWN_COMMAND, false},
      {9, 0, E_PIPE_UNKNOWN_COMMAND, false},  {CMD_READY, 0, E_PIPE_UNKNOWN_COMMAND, false},
      {15, 0, E_PIPE_UNKNOWN_COMMAND, false},
  };
  for (const auto& c : cases) {
    FakeWindow window;
    bool quit = false;
    const PipeMsg reply = TClientPipeThread::Serve({c.command, c.value}, window, quit);
    EXPECT_EQ(reply.Command, c.command);
    EXPECT_EQ(reply.Value, c.result) << c.command;
    EXPECT_EQ(window.onMain.size(), c.main ? 1u : 0u) << c.command;
    EXPECT_EQ(quit, c.command == CMD_QUIT);
  }
}

TEST(ClientPipeThread, StateIsSignExtended) {
  FakeWindow window;
  window.state = -1;
  bool quit = false;
  EXPECT_EQ(TClientPipeThread::Serve({CMD_GET_STATE, 0}, window, quit).Value, 0xFFFFFFFFu);
}

// The manager's side of a running command thread.
class ClientPipeThreadRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(platform::CreatePipe(false, commandRead_, commandWrite_), 0u);
    ASSERT_EQ(platform::CreatePipe(false, replyRead_, replyWrite_), 0u);
    TClientPipeThread::Start(commandRead_.Get(), replyWrite_.Get(), window_);
  }
  PipeMsg Reply() {
    PipeMsg reply;
    size_t read = 0;
    EXPECT_EQ(platform::ReadWholeWithin(replyRead_.Get(), &reply, sizeof reply, read, 10000), 0u);
    return reply;
  }
  void WaitEnded() {
    ASSERT_EQ(window_.ended.get_future().wait_for(std::chrono::seconds(10)),
              std::future_status::ready);
  }

  Handle commandRead_, commandWrite_, replyRead_, replyWrite_;
  FakeWindow window_;
};

TEST_F(ClientPipeThreadRun, RequestInTwoPiecesIsServedOnce) {
  const PipeMsg request{CMD_MOUSE_SYMBOLS, 0x00414243};
  const char* bytes = reinterpret_cast<const char*>(&request);
  ASSERT_EQ(::write(commandWrite_.Get(), bytes, 3), 3);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_EQ(::write(commandWrite_.Get(), bytes + 3, 5), 5);
  const PipeMsg reply = Reply();
  EXPECT_EQ(reply.Command, CMD_MOUSE_SYMBOLS);
  EXPECT_EQ(reply.Value, 0u);
  commandWrite_.Reset();
  WaitEnded();
  EXPECT_EQ(window_.appended, std::vector<uint32_t>{0x00414243});
  EXPECT_NE(window_.appendedOn, std::this_thread::get_id());
}

TEST_F(ClientPipeThreadRun, QuitIsAnsweredBeforeTheThreadEnds) {
  const PipeMsg request{CMD_QUIT, 0};
  size_t written = 0;
  ASSERT_EQ(platform::WriteWhole(commandWrite_.Get(), &request, sizeof request, written), 0u);
  const PipeMsg reply = Reply();
  EXPECT_EQ(reply.Command, CMD_QUIT);
  EXPECT_EQ(reply.Value, 0u);
  WaitEnded();
}

TEST(ClientPipeThread, NoCommandPipeEndsAtOnce) {
  FakeWindow window;
  TClientPipeThread::Start(-1, -1, window);
  EXPECT_EQ(window.ended.get_future().wait_for(std::chrono::seconds(10)),
            std::future_status::ready);
}

}  // namespace
}  // namespace vorlix
