#include "client/MouseSelectForm.h"

namespace vorlix {

TMouseSelect::TMouseSelect() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool) {
  setObjectName("MouseSelect");
}

}  // namespace vorlix
