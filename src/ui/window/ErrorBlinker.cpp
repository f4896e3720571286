#include "ui/window/ErrorBlinker.h"

#include <QLabel>
#include <QTimer>

#include "ui/widgets/Style.h"

namespace kalmera {

ErrorBlinker::ErrorBlinker(const std::array<QLabel*, 6>& labels, QObject* parent)
    : QObject(parent), labels_(labels), timer_(new QTimer(this)) {
  timer_->setObjectName("Timer1");
  timer_->setInterval(250);
  connect(timer_, &QTimer::timeout, this, &ErrorBlinker::blinkStep);
  timer_->start();
}

void ErrorBlinker::blinkStep() {
  bool any = false;
  for (QLabel* label : labels_) any = any || !label->isHidden();
  if (any != timer_->isActive()) any ? timer_->start() : timer_->stop();
  if (!any) return;
  white_ = !white_;
  const QColor color = white_ ? QColor(255, 255, 255) : QColor(255, 0, 0);
  for (QLabel* label : labels_) setPaletteColor(label, QPalette::WindowText, color);
}

}  // namespace kalmera
