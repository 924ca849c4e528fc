// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// A rectangle whose corners are quarters of an ellipse with the semi-axes ax and ay, in
// sub-pixels (four to a target pixel); with semi-axes of half the sides it is an ellipse.
// A sub-pixel belongs to the shape when its centre lies inside.
struct TRoundShape {
  int64_t left = 0;
  int64_t top = 0;
  int64_t right = 0;  // exclusive
  int64_t bottom = 0;  // exclusive
  int64_t ax = 0;
  int64_t ay = 0;

  static TRoundShape ellipse(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return {left, top, right, bottom, (right - left) / 2, (bottom - top) / 2};
  }
  // The same shape with every side moved inwards by d and the corners shrunk alike.
  TRoundShape inset(int64_t d) const;
  bool isEmpty() const { return right <= left || bottom <= top; }

  // The sub-pixel columns [x0, x1) of sub-pixel row y inside the shape; false when there are none.
  bool span(int64_t y, int64_t& x0, int64_t& x1) const;
};
