#pragma once

#include <freerdp/freerdp.h>

namespace vorlix::testserver {

// Sends the session's mouse pointer: a 32x32 arrow with alpha, hot spot at its tip.
bool SendArrowPointer(rdpContext* context);

}  // namespace vorlix::testserver
