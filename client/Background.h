#pragma once

#include <QPixmap>

namespace vorlix {

// The terminal window's 680 x 340 background: dark artwork without text, stretched to fit.
QPixmap MakeBackground();

}  // namespace vorlix
