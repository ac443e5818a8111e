#pragma once

#include <QIcon>
#include <QList>

namespace vorlix {

// The toolbar's 32 x 32 images: 0 settings, 1 start binding, 2 cancel binding.
QList<QIcon> MakeToolsImages();

// The notification-area icon's four 16 x 16 animation frames.
QList<QIcon> MakeTrayImages();

}  // namespace vorlix
