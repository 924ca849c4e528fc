#pragma once

#include <functional>
#include <string>
#include <string_view>

// The letter-pattern hint of a sentence: letters become "_", blanks and - , . ! ? ' stay,
// the first and (from four characters on) the last character stay, and from the fifth
// character on about one letter in five stays visible. `drawZeroToFour` returns a random
// number from 0 to 4; a letter stays when it returns 3.
std::string hinweisMuster(std::string_view satz, const std::function<int()>& drawZeroToFour);
// The same with the process's random generator.
std::string hinweisMuster(std::string_view satz);
