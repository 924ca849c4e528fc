#pragma once

#include "memory/tfsrs.h"
#include "memory/tlernspeicher.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Which part of the history a statistic covers: everything, one trainer, or one collection.
struct TLernFilter {
  std::optional<TLernArt> art;
  std::string sammlung;  // empty: every collection of `art`
};

struct TTagesZahl {
  int tag = 0;
  int antworten = 0;
  int richtig = 0;
};

// Entries by how far they are learnt: "neu" practised on one day only, "sicher" with a
// stability of 21 days or more, "lernend" the rest.
struct TZustandsZahl {
  int neu = 0, lernend = 0, sicher = 0;
};

// The learning memory in an SQLite database (write-ahead log, one transaction per answer, so
// an ended process loses at most the answer being written). Every answer is kept with its
// time and rating; each entry keeps its scheduler state and due day. A database that cannot
// be opened or written keeps answers in memory and tries again at the next answer; when that
// keeps failing it gives up with one message through `setMeldung`.
class TLernDatenbank final : public TLernspeicher {
 public:
  static constexpr int kSicherAb = 21;           // days of stability
  static constexpr std::size_t kWarteHoechstens = 500;  // answers kept while the database fails

  explicit TLernDatenbank(std::filesystem::path datei, double behalten = 0.9);
  ~TLernDatenbank() override;
  TLernDatenbank(const TLernDatenbank&) = delete;
  TLernDatenbank& operator=(const TLernDatenbank&) = delete;

  // $ZEK_DATA_DIR, else zek::learnerDataDir().
  static std::filesystem::path standardOrdner();
  static std::filesystem::path standardDatei() { return standardOrdner() / "lernspeicher.sqlite"; }

  bool offen() const { return m_db != nullptr; }
  const std::filesystem::path& datei() const { return m_datei; }
  void setMeldung(std::function<void(const std::string&)> meldung) { m_meldung = std::move(meldung); }
  void setBehalten(double behalten) { m_fsrs.setBehalten(behalten); }
  const TFsrs& fsrs() const { return m_fsrs; }
  std::size_t wartend() const { return m_warteschlange.size(); }

  bool aktiv() const override { return true; }
  void antwort(const TLernAntwort& a) override;
  int faelligAnzahl(TLernArt art) override;
  std::vector<TLernEintrag> faellige(TLernArt art, int hoechstens) override;

  // An answer at a given time and day (history import, benchmarks, tests).
  bool antwortAm(const TLernAntwort& a, std::int64_t zeit, int tag);
  // Runs `arbeit` inside one transaction (many answers at once).
  void stapel(const std::function<void()>& arbeit);

  // The scheduler state of one entry, if it was ever answered.
  std::optional<TFsrsZustand> zustand(TLernArt art, const std::string& sammlung, const std::string& frage);
  int faelligBis(const TLernFilter& f, int tag);
  long long anzahlAntworten();
  // Answers per day for the days von..bis (every day present, zeros included).
  std::vector<TTagesZahl> antwortenProTag(const TLernFilter& f, int von, int bis);
  TZustandsZahl zustaende(const TLernFilter& f);
  // Entries due on each of `tage` days from `heute` on; overdue ones count for today.
  std::vector<int> prognose(const TLernFilter& f, int heute, int tage);
  // Every trainer and collection that has answers, as filters, sorted.
  std::vector<TLernFilter> sammlungen();
  // The whole history as CSV (UTF-8, ";" separated, header row); false when not written.
  bool exportiereCsv(const std::filesystem::path& ziel);
  std::string csv();

 private:
  bool oeffnen();
  void schliessen();
  bool schreiben(const TLernAntwort& a, std::int64_t zeit, int tag);
  bool nachholen();
  void aufgeben(const std::string& grund);
  sqlite3_stmt* anweisung(int nummer, const char* sql);
  std::string filterSql(const TLernFilter& f, const char* spalte) const;
  void filterBinden(sqlite3_stmt* s, const TLernFilter& f, int ab) const;

  struct TWartend {
    TLernAntwort antwort;
    std::int64_t zeit;
    int tag;
  };

  std::filesystem::path m_datei;
  TFsrs m_fsrs;
  sqlite3* m_db = nullptr;
  std::vector<sqlite3_stmt*> m_anweisungen;
  std::vector<TWartend> m_warteschlange;
  std::function<void(const std::string&)> m_meldung;
  bool m_gemeldet = false;
  int m_stapelTiefe = 0;
};
