#include "common/StringTable.h"

#include <climits>
#include <string>

#include <gtest/gtest.h>

namespace vorlix {
namespace {

struct TextCase {
  int id;
  const char* text;
};

class StringTableText : public testing::TestWithParam<TextCase> {};

TEST_P(StringTableText, IsStoredExactly) {
  EXPECT_EQ(LoadStr(GetParam().id), std::string(GetParam().text));
}

// Texts whose shape matters to the code that shows or composes them: trailing line feeds end a
// line of a composed message, trailing blanks and '=' come before a number or a path, the
// placeholders are filled in, and the old slips of spelling stay as users know them.
INSTANTIATE_TEST_SUITE_P(
    Tricky, StringTableText,
    testing::Values(
        TextCase{10, "Quillory have to be started in console session"},
        TextCase{30, "Client application %s is absent"},
        TextCase{40,
                 "No monitors for client windows.\nYour PC has %d secondary monitors\nYou have "
                 "to add them to desktop \nto use with this application"},
        TextCase{45, "Your don't have secondary monitors attached to desktop"},
        TextCase{60,
                 "Some client windows are connected to terminal server.\nClosing application "
                 "will disconnect them.\nDo you really want to exit?"},
        TextCase{105, "Can't open keyboard device\n"},
        TextCase{125, "Can't Open/Create Session Section\n"},
        TextCase{135, "Internal error at the session side="},
        TextCase{140, "Connection has broken by timeout\n"},
        TextCase{145, "Can't reset keyboard and mouse for undisconnected session"},
        TextCase{155, "Can't open registry key "},
        TextCase{1011, "Cancel Keyboard and Mouse setup"}, TextCase{1012, "Program Settings"},
        TextCase{1020, "UNKNOWN"}, TextCase{1050, "Session Completed\n"},
        TextCase{1060, "Fatal error is\n"}, TextCase{1070, "Press Ctrl-Alt-Del to login"},
        TextCase{9000, "An unknown error has occurred.Code="},
        TextCase{9005, "Internal error code 3. This is an invalid state"},
        TextCase{9100, "Winsock initialization error"}, TextCase{10000, "Unknown RDP Error="},
        TextCase{10003, "Remote disconnection by server"}, TextCase{10262, "Out of memory"},
        TextCase{10518, "Out of memory"}, TextCase{10774, "Out of memory"},
        TextCase{12566, "Internal security error"}, TextCase{13078, "Decryption error"}));

TEST(StringTable, StateNamesFollowStateValues) {
  // The manager shows a workplace's state as text 1021 + state.
  const char* const names[] = {"DISCONNECTED_BY_TIMEOUT",
                               "DISCONNECTED_BY_ERROR",
                               "DISCONNECTED",
                               "START_CONNECT",
                               "CONNECTING",
                               "CONNECTED",
                               "LOGGEDON",
                               "DISCONNECTING"};
  for (int state = 0; state < 8; ++state) {
    EXPECT_EQ(LoadStr(1021 + state), names[state]) << "state " << state;
  }
}

TEST(StringTable, NumbersWithoutTextGiveEmptyText) {
  // Neighbours of real ids catch an off-by-one search; the disconnection and fatal-error
  // lookups add unchecked reasons and codes to their base.
  for (int id : {INT_MIN, -1, 0, 9, 11, 161, 999, 1004, 1029, 8999, 9006, 9099, 9101, 10004, 10261,
                 13077, 13079, INT_MAX}) {
    EXPECT_EQ(LoadStr(id), "") << "id " << id;
  }
}

}  // namespace
}  // namespace vorlix
