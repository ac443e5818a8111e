#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "manager/TMonitorInfo.h"

// Starting, asking and stopping the workplaces' clients over their two pipes. Everything runs
// on the manager's GUI thread, one request at a time.
namespace vorlix {

inline constexpr const char* kClientProgram = "vorlixcln";

// The client's command line: the quoted program, the workplace number, top, left, height and
// width of its monitor, then the client's ends of the command and reply pipes.
std::string BuildClientCommandLine(const std::string& program, uint32_t workplace,
                                   const platform::Rect& rect, int commandRead, int replyWrite);

// Sends {command, value} and, when asked to wait, returns the reply's result, else 0; or
// 0xE000001F (no such workplace), 0xE0000020 (no client), 0xE000001E (a pipe end missing),
// 0xE000001D (write or read failed or fell short, or another command was echoed). A reply that
// does not come within kReplyTimeoutMs closes the workplace's pipes, so later requests fail at
// once.
uint32_t ClientRequest(std::vector<TMonitorInfo>& monitors, uint32_t workplace, uint32_t command,
                       bool wait, uint32_t value);

// Starts one client at high priority: 0, 0xE000001F, 0xE000001E (pipes) or 0xE0000029 (process).
// On failure the workplace holds no pipe and no process.
uint32_t LaunchClient(std::vector<TMonitorInfo>& monitors, const std::string& homeDir,
                      uint32_t workplace);

// Launches every client in order (stopping at the first failure), waits a second, then reads
// every client's ready message {CMD_READY, 0}. True only when every client is up and ready.
bool StartClients(std::vector<TMonitorInfo>& monitors, const std::string& homeDir);

// Asks every client to quit, gives each up to a second to end, and lets go of it.
void StopClients(std::vector<TMonitorInfo>& monitors);

}  // namespace vorlix
