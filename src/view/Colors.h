// Colour values as the settings file keeps them: 0x00BBGGRR, red lowest.
#pragma once

#include <QColor>

namespace kalmera {

inline QColor toQColor(int bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

inline int fromQColor(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

}  // namespace kalmera
