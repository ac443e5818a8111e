#include "manager/ToolImages.h"

#include <QPainter>
#include <QPixmap>
#include <functional>

namespace vorlix {

namespace {

QIcon Draw(int size, const std::function<void(QPainter&)>& paint) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  paint(p);
  return QIcon(pixmap);
}

void Gear(QPainter& p) {
  p.setPen(QPen(QColor(60, 60, 70), 4));
  p.translate(16, 16);
  for (int i = 0; i < 8; ++i) {
    p.drawLine(0, -9, 0, -14);
    p.rotate(45);
  }
  p.setBrush(QColor(150, 150, 165));
  p.drawEllipse(QPoint(0, 0), 9, 9);
  p.setBrush(Qt::white);
  p.drawEllipse(QPoint(0, 0), 3, 3);
}

// A keyboard and a mouse joined by a cord: binding devices to a workplace.
void Bind(QPainter& p) {
  p.setPen(QPen(QColor(30, 70, 140), 2));
  p.setBrush(QColor(200, 215, 240));
  p.drawRoundedRect(2, 14, 18, 11, 2, 2);
  p.drawRoundedRect(22, 10, 8, 14, 4, 4);
  p.setPen(QPen(QColor(30, 140, 60), 2));
  p.drawLine(20, 19, 22, 17);
  p.drawLine(26, 10, 26, 4);
}

void Cancel(QPainter& p) {
  p.setPen(QPen(QColor(190, 30, 30), 5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(7, 7, 25, 25);
  p.drawLine(25, 7, 7, 25);
}

}  // namespace

QList<QIcon> MakeToolsImages() { return {Draw(32, Gear), Draw(32, Bind), Draw(32, Cancel)}; }

QList<QIcon> MakeTrayImages() {
  QList<QIcon> frames;
  for (int frame = 0; frame < 4; ++frame) {
    frames.push_back(Draw(16, [frame](QPainter& p) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(40, 90, 170));
      p.drawRoundedRect(1, 2, 14, 10, 2, 2);
      p.setBrush(QColor(250, 200, 40));
      p.drawEllipse(QPoint(3 + frame * 3, 7), 2, 2);
      p.setBrush(QColor(40, 90, 170));
      p.drawRect(6, 12, 4, 3);
    }));
  }
  return frames;
}

}  // namespace vorlix
