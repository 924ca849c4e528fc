// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QWidget;

// The windows that take the main window's place. Each trainer's window class registers a
// maker here when the shell starts (the trainers cannot see the shell); a trainer with no
// maker is not built yet and its command says so.
enum class TTrainerKind { Editor, VocEin, VerbEinstellungen, Sprachlabor, Presentation };

using TTrainerWindowMaker = std::function<QWidget*()>;

// nullptr removes the maker.
void registerTrainerWindow(TTrainerKind kind, TTrainerWindowMaker make);
// A new, not yet shown window of that trainer, or nullptr when there is none.
QWidget* makeTrainerWindow(TTrainerKind kind);
