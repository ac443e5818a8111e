#include "client/Background.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace vorlix {

QPixmap MakeBackground() {
  QPixmap pixmap(680, 340);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, 340);
  sky.setColorAt(0, QColor(8, 12, 28));
  sky.setColorAt(1, QColor(20, 34, 60));
  p.fillRect(pixmap.rect(), sky);
  QRadialGradient glow(500, 90, 160);
  glow.setColorAt(0, QColor(60, 90, 150, 120));
  glow.setColorAt(1, QColor(0, 0, 0, 0));
  p.fillRect(pixmap.rect(), glow);
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 5; ++i) {
    p.setBrush(QColor(30 + 8 * i, 44 + 10 * i, 70 + 12 * i, 90));
    p.drawEllipse(QPoint(120 + 110 * i, 300 - 18 * i), 160 - 20 * i, 60 + 6 * i);
  }
  return pixmap;
}

}  // namespace vorlix
