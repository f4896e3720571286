// An up-down bound to an edit line: two arrows that step a position inside a
// range (no wrap-around) and write it into the edit line. The position is what
// counts; the edit line only shows it. A press on the arrows gives the edit
// line the focus.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

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

 signals:
  // Around the steps of one press of an arrow (mouse or arrow key).
  void arrowPressed();
  void arrowReleased();

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

// One counter as the user edits it: an edit line and its up-down. While the
// user types, a text that is already a number in range is taken at once; any
// other (empty, "0" in the move number, leading zeros) waits. When the edit is
// done (Return, the focus leaving the line, an arrow pressed) the text is
// checked: a whole number is clamped to the range and written back; anything
// else is answered with the range message in the interface's language, and
// the last number comes back, selected.
class CounterField : public QObject {
  Q_OBJECT

 public:
  CounterField(UpDown& upDown, Platform& platform, QWidget* messageParent,
               std::function<bool()> english);

  // The check at the end of an edit.
  void finishEdit();

  // The number a text stands for while it is typed: plain digits without a
  // leading zero, inside the range; nothing while it is not yet one.
  static std::optional<int> typedNumber(const QString& text, int minimum, int maximum);

 signals:
  void valueTaken(int value);  // typed, checked or stepped into the up-down
  void editEnded();            // what is typed next is a new edit

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void textChanged();
  void finish(bool leaving);

  UpDown& upDown_;
  Platform& platform_;
  QWidget* messageParent_;
  std::function<bool()> english_;
  bool checking_ = false;
};

}  // namespace kalmera
