#include "common/ReasonTexts.h"

#include <gtest/gtest.h>

#include <climits>

namespace vorlix {
namespace {

TEST(ReasonTextsTest, ListedNumbersHaveTheirTextOthersTheNumber) {
  const struct {
    int32_t number;
    const char* reason;
    const char* fatal;
  } cases[] = {
      {1, "Local disconnection", "Internal error code 1"},
      {2, "Remote disconnection by user", "Out of memory"},
      {100, "Unknown RDP Error=100", "Winsock initialization error"},
      {264, "Connection timed out", "An unknown error has occurred.Code=264"},
      {3078, "Decryption error", "An unknown error has occurred.Code=3078"},
      {4, "Unknown RDP Error=4", "Internal error code 2"},
      {0, "Unknown RDP Error=0", "An unknown error has occurred.Code=0"},
      {-9000, "Unknown RDP Error=-9000", "An unknown error has occurred.Code=-9000"},
      {INT_MAX, "Unknown RDP Error=2147483647", "An unknown error has occurred.Code=2147483647"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DisconnectReasonText(c.number), c.reason) << c.number;
    EXPECT_EQ(FatalErrorText(c.number), c.fatal) << c.number;
  }
}

}  // namespace
}  // namespace vorlix
