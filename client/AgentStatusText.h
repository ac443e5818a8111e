#pragma once

#include <cstdint>
#include <string>

namespace vorlix {

// The failure text for the failure flags in the low 16 bits of the session agent's status word:
// the text of each set flag in the table's order, then string 135 and the value of any other
// set bits. Empty when no flag is set.
std::string AgentFailureText(uint32_t status);

}  // namespace vorlix
