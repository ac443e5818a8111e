#include "manager/Trayiconmy.h"

namespace vorlix {

void TTrayIconMy::Step() {
  const int next = IconIndex() + 1;
  SetIconIndex(next >= Icons().size() ? 0 : next);
}

}  // namespace vorlix
