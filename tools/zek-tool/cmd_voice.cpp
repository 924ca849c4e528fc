// SPDX-License-Identifier: GPL-3.0-or-later
// voice and speak-files: the voice the learner chose, and the set-up's speech synthesis into
// compressed files (several files per call, so the voice is loaded once per process).
#include "tools/zek-tool/command.h"

#include "platform/codec.h"
#include "voice/tstimme.h"

#include <QCoreApplication>

#include <filesystem>
#include <iostream>
#include <stdexcept>

namespace {

int voice(const std::vector<std::string>&) {
  std::cout << stimmeInfo(gewaehlteStimme()).kennung << "\n";
  return 0;
}

int speakFiles(const std::vector<std::string>& args) {
  auto app = toolApplication<QCoreApplication>();
  std::vector<std::string> rest;
  TStimmeArt art = TStimmeArt::Rms;
  bool trim = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--voice" && i + 1 < args.size()) art = stimmeNamens(args[++i]);
    else if (args[i] == "--trim") trim = true;
    else rest.push_back(args[i]);
  }
  if (rest.empty() || rest.size() % 2 == 0) throw std::runtime_error("usage: speak-files OUTDIR [--voice V] [--trim] FILE TEXT...");
  const std::filesystem::path out = rest.front();
  std::unique_ptr<TSprecher> sprecher = TSprecher::fuer(art);
  if (!sprecher) throw std::runtime_error(std::string("voice not installed: ") + stimmeInfo(art).kennung);
  int failed = 0;
  for (std::size_t i = 1; i + 1 < rest.size(); i += 2) {
    TSprache s = sprecher->sprich(zek::utf8ToCp1252(rest[i + 1]));
    if (trim && !s.samples.empty()) randStilleKuerzen(s);
    if (!schreibeSprachDatei(out / rest[i], s)) {
      std::cerr << "speak-files: " << rest[i] << " could not be spoken\n";
      ++failed;
    }
  }
  return failed == 0 ? 0 : 1;
}

TToolCommandRegistrar regVoice({"voice", "voice", "the voice chosen in the recording settings (its set-up name)", voice});
TToolCommandRegistrar regSpeakFiles({"speak-files", "speak-files OUTDIR [--voice V] [--trim] FILE TEXT...",
                                     "speaks each TEXT into OUTDIR/FILE (Ogg Vorbis, whatever the name says)",
                                     speakFiles});

}  // namespace
