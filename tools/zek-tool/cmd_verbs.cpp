// SPDX-License-Identifier: GPL-3.0-or-later
// verb-page: the verb quiz's generated page for a selection, computed by the trainer itself.
#include "tools/zek-tool/command.h"

#include "page/thtmlstream.h"
#include "platform/codec.h"
#include "platform/settingsstore.h"
#include "verbs/tverben.h"
#include "verbs/tverbseite.h"

#include <filesystem>
#include <iostream>
#include <sstream>

namespace {

const char* const kUsage = "verb-page --verbs INF[,INF...] --forms MASK [--seed N] [--answer T]...";

// Keeps the last page the trainer showed.
class TCapture : public TVerbSeite {
 public:
  std::string last;
  bool vorhanden() const override { return true; }
  int breite() const override { return 800; }
  void zeigen(THTMLStream& stream) override { last = stream.data(); }
  void laden(const std::string& datei) override { last = "(" + datei + ")"; }
};

int verbPage(const std::vector<std::string>& args) {
  std::string verbs, forms;
  std::uint32_t seed = 1;
  std::vector<std::string> answers;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--verbs" && hasValue) {
      verbs = zek::utf8ToCp1252(args[++i]);
    } else if (args[i] == "--forms" && hasValue) {
      forms = args[++i];
    } else if (args[i] == "--answer" && hasValue) {
      answers.push_back(zek::utf8ToCp1252(args[++i]));
    } else if (args[i] == "--seed" && hasValue) {
      try {
        seed = static_cast<std::uint32_t>(std::stoul(args[++i]));
      } catch (...) {
        std::cerr << "--seed needs a number\n";
        return 2;
      }
    } else {
      std::cerr << "usage: " << kUsage << "\n";
      return 2;
    }
  }
  if (verbs.empty() || forms.empty()) {
    std::cerr << "usage: " << kUsage << "\n";
    return 2;
  }
  // A store that is never written: the selection is the tool's own.
  TSettingsStore store(std::filesystem::temp_directory_path() / "zek-tool-verb-page-unused.ini");
  TVerben verben(store);
  std::string maske(verben.Liste().size(), '-');
  std::stringstream list(verbs);
  for (std::string inf; std::getline(list, inf, ',');) {
    const int i = verben.Liste().indexOf(inf);
    if (i < 0) {
      std::cerr << "unknown verb: " << zek::cp1252ToUtf8(inf) << "\n";
      return 1;
    }
    maske[static_cast<std::size_t>(i)] = '+';
  }
  verben.setVerbAuswahl(maske);
  verben.setFormAuswahl(forms);
  verben.setZufall(seed);
  auto capture = std::make_unique<TCapture>();
  TCapture* page = capture.get();
  verben.setSeite(std::move(capture));
  if (!verben.vorbereiten()) {
    std::cerr << "no quiz possible with this selection\n";
    return 1;
  }
  verben.startRunde();
  for (const std::string& a : answers) {
    if (a == "weiter") {
      verben.weiter();
    } else {
      verben.antwort(a);
    }
  }
  printText(page->last);
  std::cout << "\n";
  return 0;
}

TToolCommandRegistrar reg({"verb-page", kUsage,
                           "prints the verb quiz's question page for the first pick of the selection; each "
                           "--answer (e.g. 2#1+, 4-, weiter) is then given and the last page printed",
                           verbPage});

}  // namespace
