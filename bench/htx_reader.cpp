// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/htxreader.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A content page of about 4 KB: headings, links, a box, a picture, conditions.
std::string typicalPage() {
  std::string s =
      "<html><title>Vokabeltrainer</title><body bgcolor=#ffffff text=#000000 link=#008000>"
      "<colors flashcol=#ff0000 richtig=#008000><alias #weiter=\"vok2.htx\">"
      "<box coords=40,30,-40 align=m><h1>Der Vokabeltrainer</h1><p>";
  while (s.size() < 3500) {
    s += "Mit dem <b>Vokabeltrainer</b> lernen Sie neue W\xF6rter in kleinen Schritten. "
         "<a href=\"#weiter\" flash=flashcol>Weiter</a> oder <a href=\"\xA7[vocaus]@Auswertung\">Auswertung</a>.\r\n"
         "<IF cdrom>Die Ausgabe auf CD-ROM enth\xE4lt alle Aufnahmen.<ELSE>Installierte Fassung.</IF><br>\r\n"
         "<font size=4 color=richtig face=\"Verdana, Arial\">Tipp:</font> &quot;house&quot; hei\xDFt Haus.<p>\r\n";
  }
  return s + "<img src=\"e_gfx/logo.gif\" align=center></html>\r";
}

// A generated quiz page: a question with many gaps, as the trainers write it.
std::string quizPage(int gaps) {
  std::string s = "<body gap=#ff0000><box coords=100,80,600 align=m><font size=5 id=H><font size=3 id=D><+H>";
  for (int i = 0; i < gaps; ++i) {
    s += "<+D>The word <a gap lsg=\"house; home\" help=\"h____\" tip=\"Haus\" reaction=\"vokabel\">house</a> "
         "means Haus.<br>\r\n";
  }
  return s;
}

void read(benchmark::State& state, const std::string& text) {
  TSimpleHtxHost host;
  host.m_conditions.add("cdrom");
  TPageModel page;
  for (auto _ : state) {
    readHtxPage(page, host, text);
    benchmark::DoNotOptimize(page.items.data());
  }
  state.counters["items"] = double(page.items.size());
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void BM_TypicalPage(benchmark::State& state) { read(state, typicalPage()); }
void BM_QuizPage(benchmark::State& state) { read(state, quizPage(int(state.range(0)))); }

BENCHMARK(BM_TypicalPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QuizPage)->Arg(100)->Arg(500)->Unit(benchmark::kMicrosecond);

}  // namespace
