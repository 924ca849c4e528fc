#pragma once

#include <QRect>

#include <string>
#include <vector>

// Self-drawn widgets whose parts a learner clicks or drags (grid cells, bars, drag blocks)
// name those parts here, so the script driver can find them by their text. A widget
// implements it as a second base class.
struct TDriveCell {
  std::string text;  // Windows-1252, as shown
  QRect rect;        // in the widget's own coordinates
};

class TDriveCells {
 public:
  virtual ~TDriveCells() = default;
  virtual std::vector<TDriveCell> driveCells() const = 0;
};
