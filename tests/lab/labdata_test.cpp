// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/labtabelle.h"
#include "lab/tthemenliste.h"
#include "page/tzipresource.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace {

// A block made of NUL-ended items, as the content compiler writes it.
TZIPResource block(const std::vector<std::string>& items) {
  std::string data;
  for (const auto& i : items) data += i + '\0';
  return TZIPResource::fromCompressed(zek::deflateZlib(data));
}

TEST(SatzListe, EmptyAndLongItems) {
  const TSatz leer = TSatzListe::ausEintraegen({"", "", "", "", ""});
  EXPECT_EQ(leer.englisch, "FEHLER!");
  EXPECT_EQ(leer.loesung2, "");
  ASSERT_EQ(leer.hinweis.size(), 7u);  // made from "FEHLER!"
  EXPECT_EQ(leer.hinweis.substr(0, 4), "F___");
  EXPECT_EQ(leer.hinweis.back(), '!');
  EXPECT_EQ(leer.deutsch, "");
  EXPECT_EQ(leer.datei, "");

  const std::string lang(150, 'x');
  const TSatz s = TSatzListe::ausEintraegen({lang, lang, "x..", lang, lang});
  EXPECT_EQ(s.englisch.size(), 100u);
  EXPECT_EQ(s.loesung2.size(), 100u);
  EXPECT_EQ(s.hinweis, "x..");  // a given hint is kept
  EXPECT_EQ(s.deutsch.size(), 100u);
  EXPECT_EQ(s.datei.size(), 150u);  // the file name may be of any length

  const TSatz kurz = TSatzListe::ausEintraegen({"Hello."});  // missing items count as empty
  EXPECT_EQ(kurz.englisch, "Hello.");
  EXPECT_EQ(kurz.hinweis.substr(0, 4), "H___");
  EXPECT_EQ(kurz.deutsch, "");
}

TEST(ThemenListe, ReadsTopicsAndSentences) {
  auto b = block({"Verloren", "****  Erstes Thema  ", "Yes.", "", "Y__.", "Ja.", "0\\lab_0000.wav",  //
                  "No.", "", "", "Nein.", "0\\lab_0001.wav",                                          //
                  "****Zweites", "Half", "", "**** Drittes", "Last.", "", "", "Zuletzt."});
  TThemenListe liste;
  liste.laden(b);
  ASSERT_EQ(liste.size(), 3u);
  EXPECT_EQ(liste[0].name(), "Erstes Thema");
  EXPECT_EQ(liste[1].name(), "Zweites");
  EXPECT_EQ(liste[2].name(), "Drittes");
  ASSERT_EQ(liste[0].saetze().size(), 2u);  // the item before the first header is dropped
  EXPECT_EQ(liste[0].saetze()[0].hinweis, "Y__.");
  EXPECT_EQ(liste[0].saetze()[1].deutsch, "Nein.");
  EXPECT_EQ(liste[0].saetze()[1].datei, "0\\lab_0001.wav");
  EXPECT_EQ(liste[0].saetze()[1].hinweis, "N_.");
  // A header in the middle of a sentence ends it; the data's end ends the last one.
  ASSERT_EQ(liste[1].saetze().size(), 1u);
  EXPECT_EQ(liste[1].saetze()[0].englisch, "Half");
  ASSERT_EQ(liste[2].saetze().size(), 1u);
  EXPECT_EQ(liste[2].saetze()[0].deutsch, "Zuletzt.");
  EXPECT_EQ(liste[2].saetze()[0].datei, "");
  EXPECT_EQ(liste.satzAnzahl(), 4u);

  TThemenListe kaputt;
  auto broken = TZIPResource::fromCompressed("not a zlib stream");
  kaputt.laden(broken);
  EXPECT_TRUE(kaputt.empty());
  EXPECT_EQ(kaputt.satz(), nullptr);
}

TEST(ThemenListe, TopicChoiceAndNextSentence) {
  std::vector<std::string> items{"**** Eins", "Only.", "", "", "Nur.", "", "**** Viele"};
  for (int i = 0; i < 21; ++i) items.insert(items.end(), {"S" + std::to_string(i), "", "", "D", ""});
  auto b = block(items);
  TThemenListe liste;
  liste.laden(b);
  std::mt19937 rng(7);
  auto draw = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };

  liste.setAktThema(25);  // past the last topic
  EXPECT_EQ(liste.aktThema(), 0);
  for (int i = 0; i < 3; ++i) {
    liste.naechsterSatz(draw);
    EXPECT_EQ(liste.satz()->englisch, "Only.");
  }

  liste.setAktThema(1);
  int pumped = 0;
  std::set<int> shown;
  for (int i = 0; i < 20; ++i) {
    liste.naechsterSatz(draw, [&] { ++pumped; });
    shown.insert(liste.aktSatz());
  }
  EXPECT_EQ(shown.size(), 20u);  // no sentence comes back within 20 pickings of 21
  EXPECT_GE(pumped, 20);
  EXPECT_EQ(liste.letzteSaetze().size(), 19u);
  liste.setAktThema(1);
  EXPECT_EQ(liste.letzteSaetze().size(), 19u);  // the same topic keeps its recent list
  liste.setAktThema(0);
  EXPECT_TRUE(liste.letzteSaetze().empty());
}

TEST(ThemenListe, VariantsJoinTheirSentencesByNumber) {
  auto b = block({"**** Eins", "Hello.", "Hi.", "", "Hallo.", "0\\lab_0000.wav",  //
                  "Thank you.", "", "", "Danke.", "0\\lab_0001.wav"});
  TThemenListe liste;
  liste.laden(b);
  auto v = block({"0001", "Thanks.", "0000", "Hi there.", "0001", "Thank you very much indeed.",  //
                  "0999", "Unknown.", "0001", "Thank you.", "0001"});  // a trailing number without sentence
  liste.variantenLaden(v);
  const TSatz& danke = liste[0].saetze()[1];
  EXPECT_EQ(danke.nummer(), 1);
  EXPECT_EQ(danke.varianten, (std::vector<std::string>{"Thanks.", "Thank you very much indeed.", "Thank you."}));
  // Main solution, second solution, variants; each once.
  EXPECT_EQ(danke.loesungen(), (std::vector<std::string>{"Thank you.", "Thanks.", "Thank you very much indeed."}));
  EXPECT_EQ(liste[0].saetze()[0].loesungen(), (std::vector<std::string>{"Hello.", "Hi.", "Hi there."}));
  EXPECT_EQ(liste.satzNummer(1), &danke);
  EXPECT_EQ(liste.satzNummer(999), nullptr);

  TSatz ohne;
  ohne.datei = "lab.wav";
  EXPECT_EQ(ohne.nummer(), -1);
  ohne.datei = "8\\lab_0820.wav";
  EXPECT_EQ(ohne.nummer(), 820);
}

TEST(LabTabelle, SoundFileNumbering) {
  const std::pair<int, const char*> cases[] = {
      {0, "0\\lab_0000.wav"}, {99, "0\\lab_0099.wav"}, {100, "1\\lab_0100.wav"}, {820, "8\\lab_0820.wav"}};
  for (const auto& [n, name] : cases) EXPECT_EQ(labSoundDatei(n), name);
}

TEST(LabTabelle, BuiltInTableHasTheTopicsAndCounts) {
  TThemenListe liste;
  liste.ladenEingebaut();
  ASSERT_EQ(liste.size(), kLabThemenSoll.size());
  int n = 0;
  std::set<std::string> englisch;
  for (std::size_t t = 0; t < liste.size(); ++t) {
    EXPECT_EQ(liste[t].name(), kLabThemenSoll[t].name);
    EXPECT_EQ(static_cast<int>(liste[t].saetze().size()), kLabThemenSoll[t].saetze) << liste[t].name();
    for (const TSatz& s : liste[t].saetze()) {
      EXPECT_EQ(s.datei, labSoundDatei(n)) << s.englisch;
      EXPECT_NE(s.englisch, "FEHLER!");
      EXPECT_FALSE(s.deutsch.empty()) << s.englisch;
      EXPECT_NE(s.loesung2, s.englisch);
      EXPECT_TRUE(englisch.insert(s.englisch).second) << "repeated: " << s.englisch;
      ++n;
    }
  }
  EXPECT_EQ(n, kLabSaetzeSoll);

  // The raw items, before any cutting, keep within 100 characters.
  TZIPResource raw(1);
  while (!raw.endReached()) EXPECT_LE(raw.readLine().size(), kLabMaxSatzLaenge);
}

}  // namespace
