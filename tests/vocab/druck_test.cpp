// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/messages.h"
#include "platform/tprintservice.h"
#include "tests/common/testutil.h"
#include "tests/vocab/vocabfixtures.h"
#include "vocab/tbibliothek.h"
#include "vocab/tkarteikarten.h"
#include "vocab/tvocliste.h"
#include "vocab/umbrechen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

using vt::vok;

// A page surface that records what is drawn; every character is 10 units wide.
class TAufnahme : public TPrintSurface {
 public:
  struct Text {
    int seite, x, y;
    std::string text;
    TPrintFont font;
    std::uint32_t farbe;
  };
  struct Linie {
    int seite, x1, y1, x2, y2;
    bool gestrichelt;
  };

  TAufnahme(int breite = 2000, int hoehe = 2870, int dpi = 600) : m_breite(breite), m_hoehe(hoehe), m_dpi(dpi) {}
  int width() const override { return m_breite; }
  int height() const override { return m_hoehe; }
  int dpiX() const override { return m_dpi; }
  int dpiY() const override { return m_dpi; }
  void setFont(const TPrintFont& f) override { m_font = f; }
  int textWidth(std::string_view t) override { return 10 * int(t.size()); }
  void text(int x, int y, std::string_view t, std::uint32_t c) override {
    texte.push_back({seiten, x, y, std::string(t), m_font, c});
  }
  void line(int x1, int y1, int x2, int y2, bool d) override { linien.push_back({seiten, x1, y1, x2, y2, d}); }
  void frame(int, int, int, int) override { ++rahmen; }
  void fill(int x1, int y1, int x2, int, std::uint32_t c) override { flaechen.push_back({x1, y1, x2, int(c)}); }
  void newPage() override { ++seiten; }
  bool finish() override {
    fertig = true;
    if (ablage) ablage->push_back(*this);
    return !scheitern;
  }
  std::string error() const override { return scheitern ? "Papierstau" : ""; }

  const Text* finde(const std::string& t, int seite = -1) const {
    for (const Text& x : texte)
      if (x.text == t && (seite < 0 || x.seite == seite)) return &x;
    return nullptr;
  }
  int gestrichelt(int seite) const {
    return int(std::count_if(linien.begin(), linien.end(), [&](const Linie& l) { return l.gestrichelt && l.seite == seite; }));
  }

  std::vector<Text> texte;
  std::vector<Linie> linien;
  std::vector<std::array<int, 4>> flaechen;
  int seiten = 1, rahmen = 0;
  bool fertig = false, scheitern = false;
  std::vector<TAufnahme>* ablage = nullptr;  // keeps a copy of the finished job

 private:
  int m_breite, m_hoehe, m_dpi;
  TPrintFont m_font;
};

std::vector<TVokabel> karten(int n) {
  std::vector<TVokabel> k;
  for (int i = 0; i < n; ++i) k.push_back(vok("w" + std::to_string(i), "m" + std::to_string(i), i % 6, i % 5 == 0));
  return k;
}

TEST(Umbrechen, ZeilenNachBreite) {
  struct Fall {
    const char* text;
    int breite;
    std::vector<std::string> zeilen;
  };
  const Fall faelle[] = {
      {"", 100, {""}},
      {"kurz", 40, {"kurz"}},
      {"eins zwei drei", 140, {"eins zwei drei"}},
      {"eins zwei drei", 100, {"eins zwei ", "drei"}},
      {"eins zwei drei", 60, {"eins ", "zwei ", "drei"}},
      // Wider than a line: the word goes alone onto the next, the first stays empty.
      {"Donaudampfschifffahrt", 100, {"", "Donaudampfschifffahrt"}},
      {"ab Donaudampfschifffahrt cd", 100, {"ab ", "Donaudampfschifffahrt ", "cd"}},
  };
  TAufnahme f;
  for (const Fall& c : faelle) {
    std::vector<std::string> z{"alt"};
    Umbrechen(f, c.text, c.breite, z);
    EXPECT_EQ(z, c.zeilen) << c.text << " / " << c.breite;
  }
}

TEST(Karteikarten, VersatzBeschriftungMitVorzeichen) {
  const std::pair<int, const char*> faelle[] = {{15, "1,5 mm"}, {-15, "-1,5 mm"}, {-5, "-0,5 mm"}, {0, "0,0 mm"},
                                                {40, "4,0 mm"},  {-40, "-4,0 mm"}, {7, "0,7 mm"}};
  for (const auto& [v, text] : faelle) EXPECT_EQ(versatzText(v), text);
}

TEST(Karteikarten, ZweiundzwanzigKartenAufZweiBlaettern) {
  const auto k = karten(22);
  ASSERT_EQ(kartenBlaetter(22), 2);
  TKartenWahl w;
  w.thema = "Lektion 1";
  w.bis = 1;
  w.versatz = 15;
  TAufnahme vorn, hinten;
  EXPECT_EQ(KartenVorderseiten(vorn, k, w), 22);
  EXPECT_EQ(KartenRueckseiten(hinten, k, w), 22);
  EXPECT_EQ(vorn.seiten, 2);
  EXPECT_EQ(hinten.seiten, 2);
  for (int s = 1; s <= 2; ++s) {
    EXPECT_EQ(vorn.gestrichelt(s), 12);
    EXPECT_EQ(hinten.gestrichelt(s), 12);
  }
  const int L = (2000 - 1800) / 2;
  // Card 21 alone on sheet 2: top left on the front, top right on the back, shifted.
  const auto* v21 = vorn.finde("w21", 2);
  ASSERT_NE(v21, nullptr);
  EXPECT_EQ(v21->x, L + 30);
  EXPECT_EQ(v21->y, -20 - 200);
  EXPECT_EQ(v21->font.height, 48);
  EXPECT_TRUE(v21->font.bold);
  const auto* h21 = hinten.finde("w21", 2);
  ASSERT_NE(h21, nullptr);
  EXPECT_EQ(h21->x, L + 15 + 1200 + 30);
  EXPECT_EQ(h21->y, -20 - 30);
  // The back grid moves with the offset.
  const auto links = std::min_element(hinten.linien.begin(), hinten.linien.end(),
                                      [](const auto& a, const auto& b) { return a.x1 < b.x1; });
  EXPECT_EQ(links->x1, L + 15);
  // Card 4 (row 1, column 1): the language letter, the caption centred in its band.
  const auto* w4 = vorn.finde("w4", 1);
  ASSERT_NE(w4, nullptr);
  EXPECT_EQ(w4->x, L + 600 + 30);
  EXPECT_EQ(w4->y, -20 - 400 - 200);
  const int x0 = L + 600, y0 = -420;
  bool buchstabe = false, kopf = false, thema = false, wortart = false;
  for (const auto& t : vorn.texte) {
    if (t.seite != 1) continue;
    buchstabe |= t.text == "E" && t.x == x0 + 30 && t.y == y0 - 30 && t.font.height == 160;
    kopf |= t.text == "*zek englisch" && t.x == x0 + 150 + (420 - 130) / 2 && t.y == y0 - 40 && t.font.italic;
    thema |= t.text == "Lektion 1" && t.x == x0 + 150 + (420 - 90) / 2 && t.y == y0 - 90 && t.font.height == 36;
    wortart |= t.text == "Rw. m. V." && t.x == x0 + 30 && t.y == y0 - 320;
  }
  EXPECT_TRUE(buchstabe);
  EXPECT_TRUE(kopf);
  EXPECT_TRUE(thema);
  EXPECT_TRUE(wortart);
  EXPECT_NE(vorn.finde("D", 1), nullptr);  // w0 is German
}

TEST(Karteikarten, NurGewaehlteBlaetter) {
  const auto k = karten(50);
  TKartenWahl w;
  w.von = 1;
  w.bis = 1;
  TAufnahme vorn;
  EXPECT_EQ(KartenVorderseiten(vorn, k, w), 21);
  EXPECT_EQ(vorn.seiten, 1);
  EXPECT_NE(vorn.finde("w21"), nullptr);
  EXPECT_EQ(vorn.finde("w20"), nullptr);
  // "von" after "bis" counts as the same range.
  w.von = 2;
  w.bis = 0;
  TAufnahme alle;
  EXPECT_EQ(KartenRueckseiten(alle, k, w), 50);
  EXPECT_EQ(alle.seiten, 3);
}

TEST(Karteikarten, RueckseiteMitBedeutungenUndSatz) {
  TVokabel v = vok("remember", "sich erinnern an", 1);
  v.Bedeutung2 = "behalten";
  v.Kontext1 = "I can't [*] his name.";
  TAufnahme f;
  KartenRueckseiten(f, {v}, TKartenWahl{});
  const int x0 = 100 + 1200;
  const auto* b = f.finde("sich erinnern an; behalten");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->x, x0 + 30);
  EXPECT_EQ(b->y, -20 - 130);
  EXPECT_FALSE(b->font.bold);
  const auto* s = f.finde("I can't remember his name.");  // as the learner reads it, no "[*]"
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->y, -20 - 270);
  EXPECT_TRUE(s->font.italic);
  EXPECT_EQ(s->font.height, 32);
}

TEST(Liste, ZeilenEintraegeUndKopf) {
  std::vector<TVokabel> e;
  TVokabel lang = vok("word", "a b c d e f");  // six meaning lines in a narrow column
  e.push_back(lang);
  e.push_back(TVokabel{});  // a gap: not printed, the numbers keep the library index
  TVokabel mit = vok("run", "laufen", 1);
  mit.Kontext1 = "I [*].";
  mit.Kontext2 = "We (ran; did run).";
  e.push_back(mit);
  TAufnahme f(1370, 2870, 600);  // meanings wrapped to 20 units: one letter a line
  const TListenDruck r = ListeSetzen(f, e, "lektion.asc");
  EXPECT_EQ(r.seiten, 1);
  EXPECT_EQ(r.eintraege, 2);
  // Five meaning lines kept, the sixth dropped.
  EXPECT_NE(f.finde("e "), nullptr);
  EXPECT_EQ(f.finde("f"), nullptr);
  const auto* e1 = f.finde("e ");
  EXPECT_EQ(e1->x, 1250);
  EXPECT_EQ(e1->y, -160 - 44 * 4);
  // The second entry starts on line 5, its sentences follow its word line.
  const auto* nr = f.finde("3");
  ASSERT_NE(nr, nullptr);
  EXPECT_EQ(nr->x, 250 - 10);
  EXPECT_EQ(nr->y, -160 - 44 * 5);
  EXPECT_EQ(f.finde("I run.")->y, -160 - 44 * 6);
  EXPECT_EQ(f.finde("We ran.")->y, -160 - 44 * 7);
  EXPECT_EQ(f.finde("I run.")->x, 340);
  const auto* etikett = f.finde("V.");
  ASSERT_NE(etikett, nullptr);
  EXPECT_EQ(etikett->x, 290 + 30 + 30);
  EXPECT_TRUE(etikett->font.italic);
  // 600 dpi: a black header with white text, grey bands on even indexes (0 and 2).
  EXPECT_EQ(f.rahmen, 0);
  EXPECT_EQ(f.finde("lektion.asc")->farbe, 0xFFFFFFu);
  EXPECT_EQ(f.finde("S. 1")->x, 1370 - 100 - 40);
  EXPECT_EQ(std::count_if(f.flaechen.begin(), f.flaechen.end(), [](const auto& a) { return a[3] == 0xEEEEEE; }), 2);

  TAufnahme grob(2000, 2870, 300);
  ListeSetzen(grob, e, "lektion.asc");
  EXPECT_EQ(grob.rahmen, 1);
  EXPECT_EQ(grob.finde("lektion.asc")->farbe, 0u);
  EXPECT_TRUE(grob.flaechen.empty());
}

TEST(Liste, SeitenwechselUndZuHoheEintraege) {
  std::vector<TVokabel> e;
  for (int i = 0; i < 130; ++i) e.push_back(vok("w" + std::to_string(i), "m"));
  TAufnahme f;  // (2870 - 210) / 44 = 60 lines a page
  const TListenDruck r = ListeSetzen(f, e, "x");
  EXPECT_EQ(r.seiten, 3);
  EXPECT_EQ(r.eintraege, 130);
  EXPECT_EQ(f.finde("w59")->seite, 1);
  EXPECT_EQ(f.finde("w60")->seite, 2);
  EXPECT_EQ(f.finde("S. 3")->seite, 3);

  // A page of two lines and entries of three: each alone on its page, cut at the foot.
  TVokabel hoch = vok("hoch", "m");
  hoch.Kontext1 = "eins";
  hoch.Kontext2 = "zwei";
  TAufnahme klein(2000, 210 + 2 * 44, 600);
  const TListenDruck k = ListeSetzen(klein, {hoch, hoch}, "x");
  EXPECT_EQ(k.seiten, 2);
  EXPECT_EQ(k.eintraege, 2);
  EXPECT_NE(klein.finde("eins"), nullptr);
  EXPECT_EQ(klein.finde("zwei"), nullptr);
}

// The whole print functions with their questions, over recorded jobs.
struct Drucken : ::testing::Test {
  zek::ScriptedDialogs dialogs;
  TBibliothek bib;
  std::vector<std::string> auftraege;
  std::vector<TAufnahme> fertige;
  bool startFehler = false, scheitern = false;
  int papierHoehe = 2870;
  TKartenWahl gewaehlt;
  bool dialogOk = true;

  Drucken() {
    setPrintJobFactory([this](const TPrintRequest& r) {
      auftraege.push_back(r.fileName);
      TPrintStart s;
      if (startFehler) {
        s.error = "Kein Papier.";
        return s;
      }
      auto f = std::make_unique<TAufnahme>(2000, papierHoehe);
      f->scheitern = scheitern;
      f->ablage = &fertige;
      s.surface = std::move(f);
      return s;
    });
    setKartenDialog([this](TKartenWahl& w, int) {
      gewaehlt = w;
      return dialogOk;
    });
    bib.Leeren(false);
    for (int i = 0; i < 22; ++i) bib.Hinzufuegen(vok("w" + std::to_string(i), "m"));
    bib.LeerAnhaengen();
  }
  ~Drucken() override {
    setPrintJobFactory(nullptr);
    setKartenDialog(nullptr);
  }
};

TEST_F(Drucken, KartenBeideSeiten) {
  dialogs.answer(mb::IdOk);
  dialogs.answer(mb::IdOk);
  KarteikartenDrucken(bib);
  EXPECT_EQ(gewaehlt.thema, "Ohne Namen");
  EXPECT_EQ(gewaehlt.von, 0);
  EXPECT_EQ(gewaehlt.bis, 1);
  EXPECT_EQ(auftraege, (std::vector<std::string>{"karten-vorn.pdf", "karten-hinten.pdf"}));
  ASSERT_EQ(dialogs.messages().size(), 2u);
  EXPECT_EQ(dialogs.messages()[0].text, "Bitte Bl\xE4tter f\xFCr die Karteikarten einlegen!");
  EXPECT_EQ(dialogs.messages()[0].title, "Vorderseiten drucken");
  EXPECT_EQ(dialogs.messages()[1].text,
            "Bitte die gleichen Bl\xE4tter umgedreht einlegen!\n(Erst wenn alle Vorderseiten bedruckt sind)");
  EXPECT_EQ(dialogs.messages()[1].title, "R\xFC" "ckseiten drucken");
  EXPECT_FALSE(bib.Druckt());
}

TEST_F(Drucken, JederAusgangGibtDenDruckFrei) {
  // Cancelled at the front prompt, at the back prompt, in the dialog; a job that cannot
  // start; a job that fails.
  dialogs.answer(mb::IdCancel);
  KarteikartenDrucken(bib);
  EXPECT_TRUE(auftraege.empty());
  EXPECT_FALSE(bib.Druckt());

  dialogs.answer(mb::IdOk);
  dialogs.answer(mb::IdCancel);
  KarteikartenDrucken(bib);
  EXPECT_EQ(auftraege, std::vector<std::string>{"karten-vorn.pdf"});
  EXPECT_FALSE(bib.Druckt());

  dialogOk = false;
  dialogs.clear();
  KarteikartenDrucken(bib);
  EXPECT_TRUE(dialogs.messages().empty());
  dialogOk = true;

  startFehler = true;
  dialogs.answer(mb::IdOk);
  KarteikartenDrucken(bib);
  ASSERT_EQ(dialogs.messages().size(), 2u);
  EXPECT_EQ(dialogs.messages()[1].text, "Das Drucken ist nicht m\xF6glich!\rKein Papier.");
  EXPECT_EQ(dialogs.messages()[1].flags, mb::Ok | mb::IconStop);
  EXPECT_FALSE(bib.Druckt());

  startFehler = false;
  scheitern = true;
  dialogs.clear();
  auftraege.clear();
  dialogs.answer(mb::IdOk);
  KarteikartenDrucken(bib);
  EXPECT_EQ(auftraege, std::vector<std::string>{"karten-vorn.pdf"});  // no back after a failed front
  EXPECT_EQ(dialogs.messages().back().text, "Beim Drucken ist ein Fehler aufgetreten!\rPapierstau");
  EXPECT_FALSE(bib.Druckt());
}

TEST_F(Drucken, ZuKurzesPapierWirdGemeldet) {
  papierHoehe = 2690;  // Letter
  dialogs.answer(mb::IdOk);
  dialogs.answer(mb::IdOk);
  dialogs.answer(mb::IdOk);
  KarteikartenDrucken(bib);
  ASSERT_EQ(dialogs.messages().size(), 3u);
  EXPECT_NE(dialogs.messages()[1].text.find("unterste Reihe"), std::string::npos);
  EXPECT_EQ(auftraege.size(), 2u);
}

TEST_F(Drucken, SchonImGangOderNichtsZuDrucken) {
  bib.setDruckt(true);
  KarteikartenDrucken(bib);
  ASSERT_EQ(dialogs.texts(), std::vector<std::string>{"Zur Zeit wird schon gedruckt!"});
  EXPECT_TRUE(bib.Druckt());  // the running print keeps its flag
  bib.setDruckt(false);
  bib.Leeren(true);
  dialogs.clear();
  KarteikartenDrucken(bib);
  ListeDrucken(bib);
  ASSERT_EQ(dialogs.messages().size(), 2u);
  EXPECT_EQ(dialogs.messages()[0].text, "Welche Vokabeln soll ich drucken?!");
  EXPECT_EQ(dialogs.messages()[0].flags, mb::Ok | mb::IconExclamation);
  EXPECT_EQ(dialogs.messages()[1].title, "Fehler");
  EXPECT_EQ(dialogs.messages()[1].flags, mb::Ok | mb::IconStop);
  EXPECT_TRUE(auftraege.empty());
}

TEST_F(Drucken, ListeAlsAuftrag) {
  ListeDrucken(bib);
  ASSERT_EQ(auftraege, std::vector<std::string>{"liste.pdf"});
  ASSERT_EQ(fertige.size(), 1u);
  EXPECT_NE(fertige[0].finde("22"), nullptr);
  EXPECT_EQ(fertige[0].finde("Ohne Namen")->font.bold, true);
}

TEST(DruckDienst, PdfInEinenOrdnerDenEsNichtGibt) {
  zek::test::TempDir dir("zek-print");
  const std::string datei = dir.write("datei", "x").string();
  const TPrintStart s = pdfPrintJob(datei + "/unmoeglich.pdf", "x");
  EXPECT_EQ(s.surface, nullptr);
  EXPECT_NE(s.error.find("unmoeglich.pdf"), std::string::npos);
}

TEST(DruckDienst, PdfMitMetrischenMassen) {
  zek::test::TempDir dir("zek-print");
  const std::string datei = (dir.path() / "a.pdf").string();
  TPrintStart s = pdfPrintJob(datei, "x");
  ASSERT_NE(s.surface, nullptr);
  EXPECT_EQ(s.surface->width(), 2000);
  EXPECT_EQ(s.surface->height(), 2870);
  EXPECT_EQ(s.surface->dpiX(), 600);
  TPrintFont f;
  f.height = 100;
  s.surface->setFont(f);
  const int w = s.surface->textWidth("MMMMMMMMMM");
  // Arial's M is 0.833 of its em; the em is about 0.87 of the cell.
  EXPECT_GT(w, 650);
  EXPECT_LT(w, 800);
  s.surface->text(100, -100, "Probe");
  EXPECT_TRUE(s.surface->finish());
  EXPECT_GT(std::filesystem::file_size(datei), 500u);
}

}  // namespace
