#pragma once

#include <functional>
#include <string>
#include <vector>

// Each subcommand lives in its own file and registers itself here.
struct TToolCommand {
  std::string name;
  std::string usage;  // "pack SRC DEST"
  std::string help;   // one line
  std::function<int(const std::vector<std::string>& args)> run;
};

std::vector<TToolCommand>& toolCommands();

struct TToolCommandRegistrar {
  explicit TToolCommandRegistrar(TToolCommand command) { toolCommands().push_back(std::move(command)); }
};

// Prints a Windows-1252 text as UTF-8.
void printText(const std::string& cp1252);
