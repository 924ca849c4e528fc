#include "lab/labtabelle.h"

#include <cstdio>

std::string labSoundDatei(int n) {
  char name[40];
  std::snprintf(name, sizeof name, "%d\\lab_%04d.wav", n / 100, n);
  return name;
}
