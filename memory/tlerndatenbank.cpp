#include "memory/tlerndatenbank.h"

#include "memory/lernuhr.h"
#include "platform/codec.h"
#include "platform/files.h"

#include <QDateTime>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>

namespace {

const char* const kSchema = R"(
PRAGMA journal_mode=WAL;
PRAGMA synchronous=NORMAL;
CREATE TABLE IF NOT EXISTS eintrag (
  id INTEGER PRIMARY KEY,
  art TEXT NOT NULL,
  sammlung TEXT NOT NULL,
  frage TEXT NOT NULL,
  daten TEXT NOT NULL DEFAULT '',
  stabilitaet REAL NOT NULL,
  schwierigkeit REAL NOT NULL,
  erster_tag INTEGER NOT NULL,
  letzter_tag INTEGER NOT NULL,
  faellig INTEGER NOT NULL,
  wiederholungen INTEGER NOT NULL,
  fehler INTEGER NOT NULL,
  UNIQUE (art, sammlung, frage));
CREATE INDEX IF NOT EXISTS eintrag_faellig ON eintrag (art, faellig);
CREATE TABLE IF NOT EXISTS antwort (
  id INTEGER PRIMARY KEY,
  eintrag INTEGER NOT NULL,
  zeit INTEGER NOT NULL,
  tag INTEGER NOT NULL,
  richtig INTEGER NOT NULL,
  versuche INTEGER NOT NULL,
  bewertung INTEGER NOT NULL,
  gegeben TEXT NOT NULL DEFAULT '');
CREATE INDEX IF NOT EXISTS antwort_tag ON antwort (tag);
CREATE INDEX IF NOT EXISTS antwort_eintrag ON antwort (eintrag);
)";

enum Anweisung { Suchen, Aendern, Anlegen, Eintragen, Beginnen, Festschreiben, Zuruecknehmen, Zaehlen, Faellige, Anzahl };

std::string utf8(const std::string& cp1252) { return zek::cp1252ToUtf8(cp1252); }

std::string spalte(sqlite3_stmt* s, int i) {
  const unsigned char* t = sqlite3_column_text(s, i);
  return t ? std::string(reinterpret_cast<const char*>(t)) : std::string();
}

void binden(sqlite3_stmt* s, int i, const std::string& text) {
  sqlite3_bind_text(s, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

TLernArt artAusName(const std::string& name) {
  for (TLernArt a : {TLernArt::Vokabel, TLernArt::Verb, TLernArt::Labor, TLernArt::Seite})
    if (name == lernArtName(a)) return a;
  return TLernArt::Vokabel;
}

// Resets a statement when it leaves scope, whatever happened.
struct TZuruecksetzen {
  sqlite3_stmt* s;
  ~TZuruecksetzen() {
    if (s) {
      sqlite3_reset(s);
      sqlite3_clear_bindings(s);
    }
  }
};

std::string csvFeld(const std::string& t) {
  if (t.find_first_of(";\"\r\n") == std::string::npos) return t;
  std::string r = "\"";
  for (char c : t) r += c == '"' ? std::string("\"\"") : std::string(1, c);
  return r + "\"";
}

}  // namespace

TLernDatenbank::TLernDatenbank(std::filesystem::path datei, double behalten)
    : m_datei(std::move(datei)), m_fsrs(behalten) {
  m_anweisungen.assign(Anzahl, nullptr);
  oeffnen();
}

TLernDatenbank::~TLernDatenbank() {
  if (!m_warteschlange.empty() && !nachholen()) aufgeben("Beim Beenden");
  schliessen();
}

std::filesystem::path TLernDatenbank::standardOrdner() { return zek::pathFromEnv("ZEK_DATA_DIR", zek::learnerDataDir()); }

bool TLernDatenbank::oeffnen() {
  if (m_db) return true;
  std::error_code ec;
  std::filesystem::create_directories(m_datei.parent_path(), ec);
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(m_datei.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  // Another program holding the lock must not keep the trainer waiting.
  sqlite3_busy_timeout(db, 50);
  if (sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  m_db = db;
  return true;
}

void TLernDatenbank::schliessen() {
  for (sqlite3_stmt*& s : m_anweisungen) {
    sqlite3_finalize(s);
    s = nullptr;
  }
  if (m_db) sqlite3_close(m_db);
  m_db = nullptr;
}

sqlite3_stmt* TLernDatenbank::anweisung(int nummer, const char* sql) {
  sqlite3_stmt*& s = m_anweisungen[std::size_t(nummer)];
  if (!s && m_db) sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr);
  return s;
}

void TLernDatenbank::aufgeben(const std::string& grund) {
  const std::size_t n = m_warteschlange.size();
  m_warteschlange.clear();
  if (m_gemeldet || !m_meldung) return;
  m_gemeldet = true;
  m_meldung(grund + " konnte der Lernspeicher (" + zek::utf8ToCp1252(m_datei.string()) + ") nicht beschrieben werden; " +
            std::to_string(n) + (n == 1 ? " Antwort wurde" : " Antworten wurden") +
            " nicht gespeichert. Die Trainer arbeiten weiter.");
}

void TLernDatenbank::antwort(const TLernAntwort& a) {
  const std::int64_t zeit = lernZeitJetzt();
  const int tag = lernTagHeute();
  if (!m_warteschlange.empty() && !nachholen()) {
    m_warteschlange.push_back({a, zeit, tag});
    if (m_warteschlange.size() >= kWarteHoechstens) aufgeben("Seit einiger Zeit");
    return;
  }
  if (!antwortAm(a, zeit, tag)) m_warteschlange.push_back({a, zeit, tag});
}

bool TLernDatenbank::nachholen() {
  while (!m_warteschlange.empty()) {
    const TWartend& w = m_warteschlange.front();
    if (!antwortAm(w.antwort, w.zeit, w.tag)) return false;
    m_warteschlange.erase(m_warteschlange.begin());
  }
  return true;
}

void TLernDatenbank::stapel(const std::function<void()>& arbeit) {
  if (!oeffnen()) return;
  sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  ++m_stapelTiefe;
  arbeit();
  --m_stapelTiefe;
  sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
}

bool TLernDatenbank::antwortAm(const TLernAntwort& a, std::int64_t zeit, int tag) {
  if (!oeffnen()) return false;
  const bool eigene = m_stapelTiefe == 0;
  if (eigene) {
    sqlite3_stmt* b = anweisung(Beginnen, "BEGIN IMMEDIATE");
    TZuruecksetzen r{b};
    if (!b || sqlite3_step(b) != SQLITE_DONE) return false;
  }
  const bool ok = schreiben(a, zeit, tag);
  if (eigene) {
    sqlite3_stmt* e = anweisung(ok ? Festschreiben : Zuruecknehmen, ok ? "COMMIT" : "ROLLBACK");
    TZuruecksetzen r{e};
    if (!e || sqlite3_step(e) != SQLITE_DONE) {
      if (ok) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
      return false;
    }
  }
  return ok;
}

bool TLernDatenbank::schreiben(const TLernAntwort& a, std::int64_t zeit, int tag) {
  const std::string art = lernArtName(a.art), sammlung = utf8(a.sammlung), frage = utf8(a.frage);
  sqlite3_stmt* such = anweisung(Suchen,
                                 "SELECT id, stabilitaet, schwierigkeit, letzter_tag, faellig, wiederholungen, fehler "
                                 "FROM eintrag WHERE art=?1 AND sammlung=?2 AND frage=?3");
  if (!such) return false;
  TFsrsZustand alt;
  std::int64_t id = -1;
  {
    TZuruecksetzen r{such};
    binden(such, 1, art);
    binden(such, 2, sammlung);
    binden(such, 3, frage);
    const int rc = sqlite3_step(such);
    if (rc == SQLITE_ROW) {
      id = sqlite3_column_int64(such, 0);
      alt.stabilitaet = sqlite3_column_double(such, 1);
      alt.schwierigkeit = sqlite3_column_double(such, 2);
      alt.letzterTag = sqlite3_column_int(such, 3);
      alt.faellig = sqlite3_column_int(such, 4);
      alt.wiederholungen = sqlite3_column_int(such, 5);
      alt.fehler = sqlite3_column_int(such, 6);
    } else if (rc != SQLITE_DONE) {
      return false;
    }
  }
  const TBewertung g = bewertungFuer(a.richtig, a.versuche);
  const TFsrsZustand neu = m_fsrs.bewerten(alt, g, tag);
  if (id >= 0) {
    sqlite3_stmt* s = anweisung(Aendern,
                                "UPDATE eintrag SET stabilitaet=?1, schwierigkeit=?2, letzter_tag=?3, faellig=?4, "
                                "wiederholungen=?5, fehler=?6, daten=CASE WHEN ?7='' THEN daten ELSE ?7 END WHERE id=?8");
    if (!s) return false;
    TZuruecksetzen r{s};
    sqlite3_bind_double(s, 1, neu.stabilitaet);
    sqlite3_bind_double(s, 2, neu.schwierigkeit);
    sqlite3_bind_int(s, 3, neu.letzterTag);
    sqlite3_bind_int(s, 4, neu.faellig);
    sqlite3_bind_int(s, 5, neu.wiederholungen);
    sqlite3_bind_int(s, 6, neu.fehler);
    binden(s, 7, utf8(a.daten));
    sqlite3_bind_int64(s, 8, id);
    if (sqlite3_step(s) != SQLITE_DONE) return false;
  } else {
    sqlite3_stmt* s = anweisung(Anlegen,
                                "INSERT INTO eintrag (art, sammlung, frage, daten, stabilitaet, schwierigkeit, erster_tag, "
                                "letzter_tag, faellig, wiederholungen, fehler) VALUES (?1,?2,?3,?4,?5,?6,?7,?7,?8,?9,?10)");
    if (!s) return false;
    TZuruecksetzen r{s};
    binden(s, 1, art);
    binden(s, 2, sammlung);
    binden(s, 3, frage);
    binden(s, 4, utf8(a.daten));
    sqlite3_bind_double(s, 5, neu.stabilitaet);
    sqlite3_bind_double(s, 6, neu.schwierigkeit);
    sqlite3_bind_int(s, 7, tag);
    sqlite3_bind_int(s, 8, neu.faellig);
    sqlite3_bind_int(s, 9, neu.wiederholungen);
    sqlite3_bind_int(s, 10, neu.fehler);
    if (sqlite3_step(s) != SQLITE_DONE) return false;
    id = sqlite3_last_insert_rowid(m_db);
  }
  sqlite3_stmt* s = anweisung(Eintragen,
                              "INSERT INTO antwort (eintrag, zeit, tag, richtig, versuche, bewertung, gegeben) "
                              "VALUES (?1,?2,?3,?4,?5,?6,?7)");
  if (!s) return false;
  TZuruecksetzen r{s};
  sqlite3_bind_int64(s, 1, id);
  sqlite3_bind_int64(s, 2, zeit);
  sqlite3_bind_int(s, 3, tag);
  sqlite3_bind_int(s, 4, a.richtig ? 1 : 0);
  sqlite3_bind_int(s, 5, a.versuche);
  sqlite3_bind_int(s, 6, static_cast<int>(g));
  binden(s, 7, utf8(a.gegeben));
  return sqlite3_step(s) == SQLITE_DONE;
}

int TLernDatenbank::faelligAnzahl(TLernArt art) { return faelligBis({art, {}}, lernTagHeute()); }

std::vector<TLernEintrag> TLernDatenbank::faellige(TLernArt art, int hoechstens) {
  std::vector<TLernEintrag> r;
  sqlite3_stmt* s = anweisung(Faellige,
                              "SELECT sammlung, frage, daten, faellig FROM eintrag WHERE art=?1 AND faellig<=?2 "
                              "ORDER BY faellig, id LIMIT ?3");
  if (!s) return r;
  TZuruecksetzen z{s};
  binden(s, 1, lernArtName(art));
  sqlite3_bind_int(s, 2, lernTagHeute());
  sqlite3_bind_int(s, 3, hoechstens);
  while (sqlite3_step(s) == SQLITE_ROW)
    r.push_back({zek::utf8ToCp1252(spalte(s, 0)), zek::utf8ToCp1252(spalte(s, 1)), zek::utf8ToCp1252(spalte(s, 2)),
                 sqlite3_column_int(s, 3)});
  return r;
}

std::optional<TFsrsZustand> TLernDatenbank::zustand(TLernArt art, const std::string& sammlung, const std::string& frage) {
  if (!oeffnen()) return std::nullopt;
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(m_db,
                     "SELECT stabilitaet, schwierigkeit, letzter_tag, faellig, wiederholungen, fehler FROM eintrag "
                     "WHERE art=?1 AND sammlung=?2 AND frage=?3",
                     -1, &s, nullptr);
  binden(s, 1, lernArtName(art));
  binden(s, 2, utf8(sammlung));
  binden(s, 3, utf8(frage));
  std::optional<TFsrsZustand> z;
  if (sqlite3_step(s) == SQLITE_ROW) {
    z.emplace();
    z->stabilitaet = sqlite3_column_double(s, 0);
    z->schwierigkeit = sqlite3_column_double(s, 1);
    z->letzterTag = sqlite3_column_int(s, 2);
    z->faellig = sqlite3_column_int(s, 3);
    z->wiederholungen = sqlite3_column_int(s, 4);
    z->fehler = sqlite3_column_int(s, 5);
  }
  sqlite3_finalize(s);
  return z;
}

std::string TLernDatenbank::filterSql(const TLernFilter& f, const char* spalte) const {
  if (!f.art) return "1";
  if (f.sammlung.empty()) return std::string(spalte) + "art=?1";
  return std::string(spalte) + "art=?1 AND " + spalte + "sammlung=?2";
}

void TLernDatenbank::filterBinden(sqlite3_stmt* s, const TLernFilter& f, int) const {
  if (!f.art) return;
  binden(s, 1, lernArtName(*f.art));
  if (!f.sammlung.empty()) binden(s, 2, utf8(f.sammlung));
}

int TLernDatenbank::faelligBis(const TLernFilter& f, int tag) {
  if (!oeffnen()) return 0;
  sqlite3_stmt* s = nullptr;
  if (f.art && f.sammlung.empty()) {
    s = anweisung(Zaehlen, "SELECT count(*) FROM eintrag WHERE art=?1 AND faellig<=?3");
    if (!s) return 0;
    TZuruecksetzen z{s};
    filterBinden(s, f, 1);
    sqlite3_bind_int(s, 3, tag);
    return sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int(s, 0) : 0;
  }
  const std::string sql = "SELECT count(*) FROM eintrag WHERE " + filterSql(f, "") + " AND faellig<=?3";
  sqlite3_prepare_v2(m_db, sql.c_str(), -1, &s, nullptr);
  filterBinden(s, f, 1);
  sqlite3_bind_int(s, 3, tag);
  const int n = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int(s, 0) : 0;
  sqlite3_finalize(s);
  return n;
}

long long TLernDatenbank::anzahlAntworten() {
  if (!oeffnen()) return 0;
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(m_db, "SELECT count(*) FROM antwort", -1, &s, nullptr);
  const long long n = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : 0;
  sqlite3_finalize(s);
  return n;
}

std::vector<TTagesZahl> TLernDatenbank::antwortenProTag(const TLernFilter& f, int von, int bis) {
  std::vector<TTagesZahl> r;
  for (int t = von; t <= bis; ++t) r.push_back({t, 0, 0});
  if (!oeffnen() || bis < von) return r;
  const std::string sql =
      f.art ? "SELECT tag, count(*), sum(richtig) FROM antwort WHERE tag BETWEEN ?3 AND ?4 AND eintrag IN "
              "(SELECT id FROM eintrag WHERE " + filterSql(f, "") + ") GROUP BY tag"
            : "SELECT tag, count(*), sum(richtig) FROM antwort WHERE tag BETWEEN ?3 AND ?4 GROUP BY tag";
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(m_db, sql.c_str(), -1, &s, nullptr);
  filterBinden(s, f, 1);
  sqlite3_bind_int(s, 3, von);
  sqlite3_bind_int(s, 4, bis);
  while (sqlite3_step(s) == SQLITE_ROW) {
    const int t = sqlite3_column_int(s, 0);
    if (t < von || t > bis) continue;
    r[std::size_t(t - von)].antworten = sqlite3_column_int(s, 1);
    r[std::size_t(t - von)].richtig = sqlite3_column_int(s, 2);
  }
  sqlite3_finalize(s);
  return r;
}

TZustandsZahl TLernDatenbank::zustaende(const TLernFilter& f) {
  TZustandsZahl z;
  if (!oeffnen()) return z;
  const std::string sql = "SELECT sum(erster_tag=letzter_tag), sum(erster_tag<>letzter_tag AND stabilitaet<?3), "
                          "sum(erster_tag<>letzter_tag AND stabilitaet>=?3) FROM eintrag WHERE " + filterSql(f, "");
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(m_db, sql.c_str(), -1, &s, nullptr);
  filterBinden(s, f, 1);
  sqlite3_bind_double(s, 3, kSicherAb);
  if (sqlite3_step(s) == SQLITE_ROW) {
    z.neu = sqlite3_column_int(s, 0);
    z.lernend = sqlite3_column_int(s, 1);
    z.sicher = sqlite3_column_int(s, 2);
  }
  sqlite3_finalize(s);
  return z;
}

std::vector<int> TLernDatenbank::prognose(const TLernFilter& f, int heute, int tage) {
  std::vector<int> r(std::size_t(std::max(tage, 0)), 0);
  if (!oeffnen() || tage <= 0) return r;
  const std::string sql = "SELECT max(faellig, ?3), count(*) FROM eintrag WHERE " + filterSql(f, "") +
                          " AND faellig<?4 GROUP BY max(faellig, ?3)";
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(m_db, sql.c_str(), -1, &s, nullptr);
  filterBinden(s, f, 1);
  sqlite3_bind_int(s, 3, heute);
  sqlite3_bind_int(s, 4, heute + tage);
  while (sqlite3_step(s) == SQLITE_ROW) {
    const int t = sqlite3_column_int(s, 0) - heute;
    if (t >= 0 && t < tage) r[std::size_t(t)] += sqlite3_column_int(s, 1);
  }
  sqlite3_finalize(s);
  return r;
}

std::vector<TLernFilter> TLernDatenbank::sammlungen() {
  std::vector<TLernFilter> r;
  if (!oeffnen()) return r;
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(m_db, "SELECT DISTINCT art, sammlung FROM eintrag ORDER BY art, sammlung", -1, &s, nullptr);
  while (sqlite3_step(s) == SQLITE_ROW) r.push_back({artAusName(spalte(s, 0)), zek::utf8ToCp1252(spalte(s, 1))});
  sqlite3_finalize(s);
  return r;
}

std::string TLernDatenbank::csv() {
  std::string out = "Zeit;Tag;Trainer;Sammlung;Frage;Richtig;Versuche;Bewertung;Antwort\r\n";
  if (!oeffnen()) return out;
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(m_db,
                     "SELECT a.zeit, a.tag, e.art, e.sammlung, e.frage, a.richtig, a.versuche, a.bewertung, a.gegeben "
                     "FROM antwort a JOIN eintrag e ON e.id=a.eintrag ORDER BY a.id",
                     -1, &s, nullptr);
  while (sqlite3_step(s) == SQLITE_ROW) {
    const QDateTime zeit = QDateTime::fromSecsSinceEpoch(sqlite3_column_int64(s, 0), Qt::UTC);
    out += zeit.toString(Qt::ISODate).toStdString() + ";" + lernDatum(sqlite3_column_int(s, 1)) + ";" +
           csvFeld(spalte(s, 2)) + ";" + csvFeld(spalte(s, 3)) + ";" + csvFeld(spalte(s, 4)) + ";" +
           (sqlite3_column_int(s, 5) ? "ja" : "nein") + ";" + std::to_string(sqlite3_column_int(s, 6)) + ";" +
           std::to_string(sqlite3_column_int(s, 7)) + ";" + csvFeld(spalte(s, 8)) + "\r\n";
  }
  sqlite3_finalize(s);
  return out;
}

bool TLernDatenbank::exportiereCsv(const std::filesystem::path& ziel) {
  return zek::writeFileAtomic(ziel, csv());
}
