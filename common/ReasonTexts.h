#pragma once

#include <cstdint>
#include <string>

namespace vorlix {

// The text of a disconnection reason of the remote desktop control: string 10000 + reason for
// the reasons the table lists, else "Unknown RDP Error=" and the reason in signed decimal.
std::string DisconnectReasonText(int32_t reason);

// The text of a fatal-error code of the control: string 9000 + code for the codes the table
// lists, else "An unknown error has occurred.Code=" and the code in signed decimal.
std::string FatalErrorText(int32_t code);

}  // namespace vorlix
