// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/zek-tool/command.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/tprintservice.h"
#include "vocab/abfragetext.h"
#include "vocab/tkarteikarten.h"
#include "vocab/tvocliste.h"
#include "vocab/vokabeldatei.h"

#include <QGuiApplication>

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

namespace {

int quizVariants(const std::vector<std::string>& args) {
  constexpr const char* kUsage = "usage: zek-tool quiz-variants [--prefix TEXT] TEXT\n";
  std::string prefix, text;
  bool haveText = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--prefix" && i + 1 < args.size()) {
      prefix = zek::utf8ToCp1252(args[++i]);
    } else if (!haveText) {
      text = zek::utf8ToCp1252(args[i]);
      haveText = true;
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  if (!haveText) {
    std::cerr << kUsage;
    return 2;
  }
  for (const std::string& v : erweitern(prefix, text)) printText(v + "\n");
  return 0;
}

// Fonts need a GUI application.
std::unique_ptr<QGuiApplication> guiApp() { return toolApplication<QGuiApplication>(); }

std::optional<std::vector<TVokabel>> library(const std::string& file, const char* command) {
  const auto data = zek::readFile(file, 256u << 20);
  if (!data) {
    std::cerr << "zek-tool " << command << ": cannot read " << file << "\n";
    return std::nullopt;
  }
  TLeseErgebnis r = liesVokabeln(*data, TLeseOptionen{});
  for (const TLeseFehler& f : r.fehler)
    std::cerr << file << ":" << f.zeile << ": warning: broken record, the rest is not printed\n";
  return std::move(r.eintraege);
}

bool finished(TPrintStart& job, const char* command) {
  if (!job.surface->finish()) {
    std::cerr << "zek-tool " << command << ": " << zek::cp1252ToUtf8(job.surface->error()) << "\n";
    return false;
  }
  return true;
}

int printCards(const std::vector<std::string>& args) {
  constexpr const char* kUsage =
      "usage: zek-tool print-cards LIB.asc -o DIR [--topic T] [--sheets A-B] [--offset N]\n";
  std::string lib, dir;
  TKartenWahl wahl;
  bool topic = false, sheets = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool more = i + 1 < args.size();
    if (a == "-o" && more) {
      dir = args[++i];
    } else if (a == "--topic" && more) {
      wahl.thema = zek::utf8ToCp1252(args[++i]);
      topic = true;
    } else if (a == "--sheets" && more) {
      const std::string s = args[++i];
      const std::size_t dash = s.find('-');
      try {
        wahl.von = std::stoi(s.substr(0, dash)) - 1;
        wahl.bis = dash == std::string::npos ? wahl.von : std::stoi(s.substr(dash + 1)) - 1;
      } catch (const std::exception&) {
        std::cerr << kUsage;
        return 2;
      }
      sheets = true;
    } else if (a == "--offset" && more) {
      try {
        wahl.versatz = std::clamp(std::stoi(args[++i]), -40, 40);
      } catch (const std::exception&) {
        std::cerr << kUsage;
        return 2;
      }
    } else if (lib.empty() && !a.empty() && a[0] != '-') {
      lib = a;
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  if (lib.empty() || dir.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  auto eintraege = library(lib, "print-cards");
  if (!eintraege) return 1;
  std::vector<TVokabel> karten;
  for (const TVokabel& v : *eintraege)
    if (!v.istLeer()) karten.push_back(v);
  if (karten.empty()) {
    std::cerr << "zek-tool print-cards: " << lib << " has no entries\n";
    return 1;
  }
  if (!topic) wahl.thema = zek::fromPath(std::filesystem::path(lib).stem());
  const int blaetter = kartenBlaetter(int(karten.size()));
  if (!sheets) wahl.bis = blaetter - 1;
  if (std::min(wahl.von, wahl.bis) < 0 || std::max(wahl.von, wahl.bis) >= blaetter) {
    std::cerr << "zek-tool print-cards: the library has " << blaetter << " sheet(s)\n";
    return 2;
  }
  const auto app = guiApp();
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  const std::filesystem::path out(dir);
  TPrintStart vorn = pdfPrintJob(zek::fromPath(out / "karten-vorn.pdf"), "zek englisch - Karteikarten (Vorderseiten)");
  if (!vorn.surface) {
    std::cerr << "zek-tool print-cards: " << zek::cp1252ToUtf8(vorn.error) << "\n";
    return 1;
  }
  const int gedruckt = KartenVorderseiten(*vorn.surface, karten, wahl);
  if (!finished(vorn, "print-cards")) return 1;
  TPrintStart hinten = pdfPrintJob(zek::fromPath(out / "karten-hinten.pdf"), "zek englisch - Karteikarten (R\xFC" "ckseiten)");
  if (!hinten.surface) {
    std::cerr << "zek-tool print-cards: " << zek::cp1252ToUtf8(hinten.error) << "\n";
    return 1;
  }
  KartenRueckseiten(*hinten.surface, karten, wahl);
  if (!finished(hinten, "print-cards")) return 1;
  std::cout << "sheets: " << std::abs(wahl.bis - wahl.von) + 1 << ", cards: " << gedruckt << "\n";
  return 0;
}

int printList(const std::vector<std::string>& args) {
  constexpr const char* kUsage = "usage: zek-tool print-list LIB.asc -o OUT.pdf [--dpi 300|600]\n";
  std::string lib, out;
  int dpi = 600;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-o" && i + 1 < args.size()) {
      out = args[++i];
    } else if (a == "--dpi" && i + 1 < args.size()) {
      dpi = args[++i] == "300" ? 300 : 600;
    } else if (lib.empty() && !a.empty() && a[0] != '-') {
      lib = a;
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  if (lib.empty() || out.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  auto eintraege = library(lib, "print-list");
  if (!eintraege) return 1;
  const auto app = guiApp();
  TPrintStart job = pdfPrintJob(out, "zek englisch - Liste", dpi);
  if (!job.surface) {
    std::cerr << "zek-tool print-list: " << zek::cp1252ToUtf8(job.error) << "\n";
    return 1;
  }
  const TListenDruck r = ListeSetzen(*job.surface, *eintraege, zek::fromPath(std::filesystem::path(lib).filename()));
  if (!finished(job, "print-list")) return 1;
  std::cout << "pages: " << r.seiten << ", entries: " << r.eintraege << "\n";
  return 0;
}

TToolCommandRegistrar regVariants({"quiz-variants", "quiz-variants [--prefix TEXT] TEXT",
                                   "the spellings the quiz accepts for a meaning, one a line, in its order",
                                   quizVariants});
TToolCommandRegistrar regCards({"print-cards", "print-cards LIB.asc -o DIR [--topic T] [--sheets A-B] [--offset N]",
                                "flash cards of a library as DIR/karten-vorn.pdf and DIR/karten-hinten.pdf "
                                "(A4, 600 dpi; sheets counted from 1, offset in 0.1 mm)",
                                printCards});
TToolCommandRegistrar regList({"print-list", "print-list LIB.asc -o OUT.pdf [--dpi 300|600]",
                               "a library as the printed list, into a PDF", printList});

}  // namespace
