#include "manager/ClientSupervision.h"

#include <chrono>
#include <thread>

#include "common/PipeProtocol.h"
#include "common/ResultCodes.h"
#include "platform/system/Pipe.h"

namespace vorlix {

namespace {

using platform::Handle;

constexpr uint32_t kReadyWaitMs = 1000;
constexpr uint32_t kQuitWaitMs = 1000;

// Reads one whole message; a reply that never comes ends the workplace's pipes.
bool ReadReply(TMonitorInfo& m, PipeMsg& reply) {
  if (!m.ReplyPipe) return false;
  size_t read = 0;
  const uint32_t error =
      platform::ReadWholeWithin(m.ReplyPipe.Get(), &reply, sizeof reply, read, kReplyTimeoutMs);
  if (error == ERROR_TIMEOUT) {
    m.ReplyPipe.Reset();
    m.CommandPipe.Reset();
  }
  return error == 0;
}

// One pipe for the client: `ours` is the manager's end, not inheritable; `theirs` the client's.
bool MakePipe(bool clientReads, Handle& ours, Handle& theirs) {
  Handle readEnd, writeEnd;
  if (platform::CreatePipe(true, readEnd, writeEnd) != 0) return false;
  Handle& mine = clientReads ? writeEnd : readEnd;
  if (platform::DuplicateHandle(mine, false, ours) != 0) return false;
  theirs = std::move(clientReads ? readEnd : writeEnd);
  return true;
}

}  // namespace

std::string BuildClientCommandLine(const std::string& program, uint32_t workplace,
                                   const platform::Rect& rect, int commandRead, int replyWrite) {
  std::string line = "\"" + program + "\"";
  for (const int64_t n :
       {int64_t{workplace}, int64_t{rect.top}, int64_t{rect.left}, int64_t{rect.Height()},
        int64_t{rect.Width()}, int64_t{commandRead}, int64_t{replyWrite}}) {
    line += " " + std::to_string(n);
  }
  return line;
}

uint32_t ClientRequest(std::vector<TMonitorInfo>& monitors, uint32_t workplace, uint32_t command,
                       bool wait, uint32_t value) {
  if (workplace >= monitors.size()) return E_PIPE_BAD_WORKPLACE;
  TMonitorInfo& m = monitors[workplace];
  if (!m.Process.IsValid()) return E_PIPE_NO_PROCESS;
  if (!m.ReplyPipe || !m.CommandPipe) return E_PIPE_END_MISSING;
  const PipeMsg request{command, value};
  size_t written = 0;
  if (platform::WriteWhole(m.CommandPipe.Get(), &request, sizeof request, written) != 0) {
    return E_PIPE_EXCHANGE_FAILED;
  }
  if (!wait) return 0;
  PipeMsg reply;
  if (!ReadReply(m, reply) || reply.Command != command) return E_PIPE_EXCHANGE_FAILED;
  return reply.Value;
}

uint32_t LaunchClient(std::vector<TMonitorInfo>& monitors, const std::string& homeDir,
                      uint32_t workplace) {
  if (workplace >= monitors.size()) return E_PIPE_BAD_WORKPLACE;
  TMonitorInfo& m = monitors[workplace];
  // The client's ends close when this function returns: after the spawn they live on in the
  // client only, so a client that ends breaks both of its pipes.
  Handle commandRead, replyWrite;
  if (!MakePipe(false, m.ReplyPipe, replyWrite) || !MakePipe(true, m.CommandPipe, commandRead)) {
    m.ReplyPipe.Reset();
    m.CommandPipe.Reset();
    return E_PIPE_END_MISSING;
  }
  const std::string program = homeDir + kClientProgram;
  const std::string line = BuildClientCommandLine(program, workplace, m.MonitorRect,
                                                  commandRead.Get(), replyWrite.Get());
  if (platform::Process::Spawn(program, line, platform::PriorityClass::High, m.Process) != 0) {
    m.ReplyPipe.Reset();
    m.CommandPipe.Reset();
    return E_PIPE_CREATE_PROCESS;
  }
  return 0;
}

bool StartClients(std::vector<TMonitorInfo>& monitors, const std::string& homeDir) {
  for (uint32_t w = 0; w < monitors.size(); ++w) {
    if (LaunchClient(monitors, homeDir, w) != 0) return false;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(kReadyWaitMs));
  bool allReady = true;
  for (TMonitorInfo& m : monitors) {
    PipeMsg ready;
    const bool ok = ReadReply(m, ready) && ready.Command == CMD_READY && ready.Value == 0;
    allReady = allReady && ok;
  }
  return allReady;
}

void StopClients(std::vector<TMonitorInfo>& monitors) {
  for (uint32_t w = 0; w < monitors.size(); ++w) {
    TMonitorInfo& m = monitors[w];
    if (!m.Process.IsValid()) continue;
    ClientRequest(monitors, w, CMD_QUIT, true, 0);
    m.Process.Wait(kQuitWaitMs);
    m.Process = platform::Process();
  }
}

}  // namespace vorlix
