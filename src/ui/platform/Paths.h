// The three places the user can change: the graphics folder (start folder of
// the picture saves), the HTML folder (of the preview page) and the web
// address of the diagram images. The folders end with "/", the address too
// unless it is empty.
#pragma once

#include <QString>

namespace kalmera {

struct Paths {
  QString bmp;
  QString html;
  QString web;
};

}  // namespace kalmera
