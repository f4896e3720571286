// An up-down bound to an edit line: two arrows that step a position inside a
// range (no wrap-around) and write it into the edit line. The position is what
// counts; the edit line only shows it. A press on the arrows gives the edit
// line the focus.
#pragma once

#include <QTimer>
#include <QWidget>

class QLineEdit;

namespace kalmera {

class Platform;

class UpDown : public QWidget {
  Q_OBJECT

 public:
  explicit UpDown(QWidget* parent = nullptr);

  void setBuddy(QLineEdit* edit);
  QLineEdit* buddy() const { return buddy_; }
  void setRange(int minimum, int maximum);
  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }
  int position() const { return position_; }
  // Keeps the position inside the range and writes it into the edit line
  // when the number given was out of range or when `always` is set.
  void setPosition(int value, bool always = false);
  void step(int delta);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* buddy_ = nullptr;
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
  int held_ = 0;  // +1 or -1 while an arrow is held
  QTimer repeat_;
};

// Takes the text of the up-down's edit line into the up-down (clamped to its
// range). A text that is not a whole number is answered with the German range
// message; the line then shows the up-down's position again, all selected.
void checkCounter(UpDown& upDown, Platform& platform, QWidget* messageParent);

}  // namespace kalmera
