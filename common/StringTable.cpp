#include "common/StringTable.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string_view>
#include <vector>

namespace vorlix {
namespace {

struct Entry {
  int id;
  std::string_view text;
};

// Texts are kept exactly as the users have always seen them, slips of spelling included. A
// trailing line feed ends the text's last line; the composed messages rely on it.
constexpr Entry kTexts[] = {
    // Messages.
    {10, "Quillory have to be started in console session"},
    {15, "Can't create mutex for Quillory"},
    {20, "Quillory already started"},
    {25, "Can't register terminal services client ActiveX control"},
    {30, "Client application %s is absent"},
    {40,
     "No monitors for client windows.\nYour PC has %d secondary monitors\nYou have to add them "
     "to desktop \nto use with this application"},
    {45, "Your don't have secondary monitors attached to desktop"},
    {50, "Can't start clients"},
    {55, "Can't bind monitor with keyboard and mouse"},
    {60,
     "Some client windows are connected to terminal server.\nClosing application will "
     "disconnect them.\nDo you really want to exit?"},
    {65, "Can't find display window to set hook"},
    {75, "Bad command line for client process"},
    {90, "No associated keyboard device"},
    {95, "No associated mouse device"},
    {100, "Bad state for connection"},
    {105, "Can't open keyboard device\n"},
    {110, "Can't open mouse device\n"},
    {115, "Can't set session hook\n"},
    {120, "Can't map session section\n"},
    {125, "Can't Open/Create Session Section\n"},
    {130, "Can't load library with Mouse hook\n"},
    {135, "Internal error at the session side="},
    {140, "Connection has broken by timeout\n"},
    {145, "Can't reset keyboard and mouse for undisconnected session"},
    {150, "Can't activate keyboard device\n"},
    {155, "Can't open registry key "},
    {160, "Errors have been detected during registry update"},

    // Captions, hints, state names and status lines.
    {1000, "Monitor"},
    {1001, "Keyboard"},
    {1002, "Mouse"},
    {1003, "State"},
    {1010, "Setup Keyboard and Mouse"},
    {1011, "Cancel Keyboard and Mouse setup"},
    {1012, "Program Settings"},
    {1020, "UNKNOWN"},
    // 1021 + connection state.
    {1021, "DISCONNECTED_BY_TIMEOUT"},
    {1022, "DISCONNECTED_BY_ERROR"},
    {1023, "DISCONNECTED"},
    {1024, "START_CONNECT"},
    {1025, "CONNECTING"},
    {1026, "CONNECTED"},
    {1027, "LOGGEDON"},
    {1028, "DISCONNECTING"},
    {1040, "Connecting..."},
    {1045, "Disconnecting..."},
    {1050, "Session Completed\n"},
    {1060, "Fatal error is\n"},
    {1065, "Call Connect..."},
    {1070, "Press Ctrl-Alt-Del to login"},

    // 9000 + fatal-error code of the remote desktop control; 9000 itself prefixes unknown codes.
    {9000, "An unknown error has occurred.Code="},
    {9001, "Internal error code 1"},
    {9002, "Out of memory"},
    {9003, "Window creation error"},
    {9004, "Internal error code 2"},
    {9005, "Internal error code 3. This is an invalid state"},
    {9100, "Winsock initialization error"},

    // 10000 + disconnection reason; 10000 itself prefixes unknown reasons.
    {10000, "Unknown RDP Error="},
    {10001, "Local disconnection"},
    {10002, "Remote disconnection by user"},
    {10003, "Remote disconnection by server"},
    {10260, "DNS name lookup failure"},
    {10262, "Out of memory"},
    {10264, "Connection timed out"},
    {10516, "WinSock socket connect failure"},
    {10518, "Out of memory"},
    {10520, "Host not found error"},
    {10772, "WinSock send call failure"},
    {10774, "Out of memory"},
    {10776, "Invalid IP address specified"},
    {11028, "WinSock recv call failure"},
    {11030, "Invalid Security Data"},
    {11032, "Internal error"},
    {11286, "Invalid encryption method specified"},
    {11288, "DNS lookup failed"},
    {11540, "GetHostByName call failed"},
    {11542, "Invalid server security data"},
    {11544, "Internal timer error"},
    {11796, "Timeout occurred"},
    {11798, "Failed to unpack server certificate"},
    {12052, "Bad IP address specified"},
    {12054, "Internal security error"},
    {12308, "Socket closed"},
    {12310, "Internal security error"},
    {12566, "Internal security error"},
    {12822, "Encryption error"},
    {13078, "Decryption error"},
};

constexpr bool IdsStrictlyAscending() {
  for (std::size_t i = 1; i < std::size(kTexts); ++i) {
    if (kTexts[i - 1].id >= kTexts[i].id) return false;
  }
  return true;
}

// LoadStr searches by halves, and a repeated id would hide one of its texts.
static_assert(IdsStrictlyAscending(), "string ids must be ascending and unique");

}  // namespace

const std::string& LoadStr(int id) {
  // Callers keep references, so the texts live in strings built once, in table order.
  static const std::vector<std::string> strings = [] {
    std::vector<std::string> result;
    result.reserve(std::size(kTexts));
    for (const Entry& entry : kTexts) result.emplace_back(entry.text);
    return result;
  }();
  static const std::string empty;

  const Entry* found = std::lower_bound(std::begin(kTexts), std::end(kTexts), id,
                                        [](const Entry& entry, int key) { return entry.id < key; });
  if (found == std::end(kTexts) || found->id != id) return empty;
  return strings[static_cast<std::size_t>(found - std::begin(kTexts))];
}

}  // namespace vorlix
