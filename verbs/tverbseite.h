// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class THTMLStream;

// What the verb trainer needs of the page view it writes to: its width, showing a
// generated page (from the top, redrawn) and loading a page file.
class TVerbSeite {
 public:
  virtual ~TVerbSeite() = default;
  // False once the view has gone (its window was released); the trainer then ignores answers.
  virtual bool vorhanden() const = 0;
  virtual int breite() const = 0;
  virtual void zeigen(THTMLStream& stream) = 0;
  // A page file relative to the page directory, e.g. "verben.htx".
  virtual void laden(const std::string& datei) = 0;
};
