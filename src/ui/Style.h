// The look shared by the windows: bold navy group captions over plain contents.
#pragma once

class QGroupBox;
class QLabel;

namespace kalmera {

void styleGroupBox(QGroupBox* group);
// A red bold "?" that marks an error beside its control.
void styleErrorLabel(QLabel* label);

}  // namespace kalmera
