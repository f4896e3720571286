// The blinking of the six red "?" labels: while any of them shows, all of them
// flip between red and white every 250 ms; the timer runs exactly while one
// shows.
#pragma once

#include <QObject>
#include <array>

class QLabel;
class QTimer;

namespace kalmera {

class ErrorBlinker : public QObject {
 public:
  ErrorBlinker(const std::array<QLabel*, 6>& labels, QObject* parent);

  // One step: starts or stops the timer, then flips the colour while a label shows.
  void blinkStep();

 private:
  std::array<QLabel*, 6> labels_;
  QTimer* timer_;
  bool white_ = false;  // the labels' colour: white, or red
};

}  // namespace kalmera
