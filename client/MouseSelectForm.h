#pragma once

#include <QWidget>

namespace vorlix {

// The device selection screen shown during a binding run; hidden otherwise.
class TMouseSelect : public QWidget {
 public:
  TMouseSelect();
};

}  // namespace vorlix
