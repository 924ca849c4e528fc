// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tvoceditor.h"

#include "dict/database.h"
#include "media/recordingwindows.h"
#include "media/tspeech.h"
#include "media/twaverec.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "vocab/bibliotheksinfo.h"
#include "vocab/editorpruefungen.h"
#include "vocab/tbibliothek.h"
#include "vocab/tbinfo.h"
#include "vocab/tdruckereinrichten.h"
#include "vocab/tkarteikarten.h"
#include "vocab/tvocliste.h"
#include "vocab/tvoceinstellungen.h"
#include "vocab/tvokabelabfrage.h"
#include "vocab/tzufall.h"
#include "widgets/txlistbox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <filesystem>
#include <random>

namespace {

std::string T(std::string_view utf8) { return zek::utf8ToCp1252(utf8); }
QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<int>(utf8.size())); }

const QColor kHintergrund(255, 204, 51);
const QColor kPanel(64, 190, 239);
const QColor kWbPanel(153, 255, 51);
const char* const kNichtVerlassen = "Kann diese Seite noch nicht verlassen!";

QImage flagge(bool deutsch, int w = 24, int h = 16) {
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  if (deutsch) {
    p.fillRect(0, 0, w, h / 3, Qt::black);
    p.fillRect(0, h / 3, w, h / 3 + 1, QColor(221, 0, 0));
    p.fillRect(0, 2 * h / 3, w, h - 2 * h / 3, QColor(255, 206, 0));
  } else {
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(0, 0, w, h, QColor(1, 33, 105));
    p.setPen(QPen(Qt::white, h / 4.0));
    p.drawLine(0, 0, w, h);
    p.drawLine(w, 0, 0, h);
    p.setPen(QPen(QColor(200, 16, 46), h / 10.0));
    p.drawLine(0, 0, w, h);
    p.drawLine(w, 0, 0, h);
    p.fillRect(QRectF(0, h * 0.35, w, h * 0.3), Qt::white);
    p.fillRect(QRectF(w * 0.4, 0, w * 0.2, h), Qt::white);
    p.fillRect(QRectF(0, h * 0.42, w, h * 0.16), QColor(200, 16, 46));
    p.fillRect(QRectF(w * 0.45, 0, w * 0.1, h), QColor(200, 16, 46));
  }
  p.setPen(QColor(60, 60, 60));
  p.setBrush(Qt::NoBrush);
  p.drawRect(0, 0, w - 1, h - 1);
  return img;
}

QLabel* beschriftung(QWidget* parent, const char* utf8, int x, int y) {
  auto* l = new QLabel(Q(utf8), parent);
  l->move(x, y);
  l->adjustSize();
  return l;
}

QToolButton* knopf(QWidget* parent, const char* hintUtf8, QStyle::StandardPixmap bild, const QRect& r) {
  auto* b = new QToolButton(parent);
  b->setToolTip(Q(hintUtf8));
  b->setObjectName(Q(hintUtf8));
  b->setIcon(parent->style()->standardIcon(bild));
  b->setGeometry(r);
  b->setAutoRaise(false);
  return b;
}

QToolButton* textKnopf(QWidget* parent, const char* captionUtf8, const QRect& r) {
  auto* b = new QToolButton(parent);
  b->setText(Q(captionUtf8));
  b->setObjectName(Q(captionUtf8).trimmed());
  b->setGeometry(r);
  return b;
}

std::string feldText(const QWidget* w) {
  if (auto* e = qobject_cast<const QLineEdit*>(w)) return zek::fromQString(e->text());
  if (auto* e = qobject_cast<const QPlainTextEdit*>(w)) return zek::fromQString(e->toPlainText());
  return {};
}

// What was typed or pasted, as the library stores it. A character without a Windows-1252
// code is taken out again and refused with a message, so it is never stored as "?"; a line
// break (Shift+Insert bypasses our paste) becomes a blank.
std::string geprueft(QWidget* w) {
  auto* zeile = qobject_cast<QLineEdit*>(w);
  auto* memo = qobject_cast<QPlainTextEdit*>(w);
  const QString text = zeile ? zeile->text() : memo ? memo->toPlainText() : QString();
  if (const auto ok = zek::fromQStringStrict(text); ok && ok->find_first_of("\r\n") == std::string::npos) return *ok;
  QString sauber;
  bool abgelehnt = false;
  for (const char32_t c : text.toUcs4()) {
    if (c == '\r' || c == '\n') {
      sauber += QLatin1Char(' ');
    } else if (zek::unicodeToCp1252(c)) {
      sauber += QString::fromUcs4(&c, 1);
    } else {
      abgelehnt = true;
    }
  }
  const QSignalBlocker block(w);
  if (zeile) {
    const int caret = zeile->cursorPosition() - static_cast<int>(text.size() - sauber.size());
    zeile->setText(sauber);
    zeile->setCursorPosition(std::max(caret, 0));
  } else if (memo) {
    const int caret = memo->textCursor().position() - static_cast<int>(text.size() - sauber.size());
    memo->setPlainText(sauber);
    QTextCursor c = memo->textCursor();
    c.setPosition(std::clamp(caret, 0, static_cast<int>(sauber.size())));
    memo->setTextCursor(c);
  }
  if (abgelehnt) {
    showMessage("Dieses Zeichen kann zek englisch nicht speichern; es wurde nicht \xFC" "bernommen.",
                mb::IconExclamation);
  }
  return zek::fromQString(sauber);
}

void setzeText(QLineEdit* e, const std::string& s) {
  const QString q = zek::toQString(s);
  if (e->text() != q) e->setText(q);
}

void setzeText(QPlainTextEdit* e, const std::string& s) {
  const QString q = zek::toQString(s);
  if (e->toPlainText() != q) e->setPlainText(q);
}

}  // namespace

TVocEditor::TVocEditor(TBibliothek& bib, TXDatabase& db, QWidget* parent)
    : TTrainerWindow(parent), m_kern(bib, db) {
  setWindowTitle(zek::toQString("zek englisch - Vokabeleditor"));
  setObjectName("TVocEditor");
  setFixedSize(800, 572);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kHintergrund);
  pal.setColor(QPalette::WindowText, Qt::black);
  setPalette(pal);
  setAutoFillBackground(true);
  aufbauen();
  menues();

  m_kern.OnZeigen = [this] { zeigen(); };
  m_kern.OnListe = [this] {
    m_listeSetzt = true;
    m_liste->setItems(m_kern.Zeilen());
    m_listeSetzt = false;
  };
  m_kern.OnAuswahl = [this] {
    m_listeSetzt = true;
    m_liste->setSelected(m_kern.bibliothek().Aktuell());
    m_listeSetzt = false;
  };
  m_kern.OnZeile = [this](int i) {
    auto& items = m_liste->Items();
    if (i >= 0 && i < static_cast<int>(items.size())) {
      items[static_cast<std::size_t>(i)] = m_kern.Zeilen()[static_cast<std::size_t>(i)];
      m_liste->ItemsChanged();
    }
  };
  m_kern.OnWoerterbuch = [this] { woerterbuchZeigen(); };
  m_kern.OnWortFokus = [this] { m_wort->setFocus(); };
  m_kern.OnWbWortFokus = [this] { m_wbWort->setFocus(); };
  m_kern.OnName = [this] {
    m_name->setText(namensZeile(m_kern.bibliothek().AnzeigeName(), m_name->fontMetrics(), m_name->width()));
    m_name->setToolTip(zek::toQString(m_kern.bibliothek().DateiName()));
  };
  m_kern.OnZuletzt = [this] {
    for (int i = 0; i < 4; ++i) {
      const std::string& p = m_kern.Zuletzt()[static_cast<std::size_t>(i)];
      m_zuletzt[i]->setText(zek::toQString("&" + std::to_string(i + 1) + " " + p));
      m_zuletzt[i]->setEnabled(!p.empty() && !m_kern.Kontrolle);  // an unused slot does nothing
    }
  };
  m_kern.OnPumpe = [] { QCoreApplication::processEvents(); };
  m_kern.OnBeschaeftigt = [](bool an) {
    if (an) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
      QApplication::restoreOverrideCursor();
    }
  };

  // The editor records through the one recorder; it makes it when nobody has.
  zek::ensureWaveRec();
  m_timer.setSingleShot(false);
  connect(&m_timer, &QTimer::timeout, this, [this] { timerTick(); });

  m_richtung->setText(zek::toQString(TXDatabase::DirectionName(0)));
  m_kern.oeffnen();
}

TVocEditor::~TVocEditor() {
  // The fields outlive the members they report to while QWidget deletes its children.
  for (QObject* c : findChildren<QObject*>()) {
    c->removeEventFilter(this);
    c->disconnect(this);
  }
  m_liste->OnChange = nullptr;
  m_liste->OnDblClick = nullptr;
}

void TVocEditor::aufbauen() {
  m_name = new QLabel(this);
  m_name->setObjectName("Bibliothek");
  m_name->setGeometry(10, 28, 220, 18);

  m_liste = new TXListBox(this);
  m_liste->setObjectName("Vokabeln");
  m_liste->setColor(Qt::white);
  m_liste->setFarbeAn(QColor(0, 0, 160));
  m_liste->setFarbeAus(Qt::black);
  m_liste->setIcon1(flagge(true, 18, 12));
  m_liste->setIcon2(flagge(false, 18, 12));
  m_liste->setBounds(10, 48, 220, 480);
  m_liste->OnChange = [this](TXListBox* l) {
    if (m_listeSetzt || l->Selected() < 0) return;
    m_kern.waehlen(l->Selected());
  };
  m_liste->OnDblClick = [this](TXListBox* l) {
    const int i = l->Selected();
    speakWord(m_kern.bibliothek().Vokabel(i),
              m_kern.bibliothek().Deutsch(i) ? TWortSprache::Deutsch : TWortSprache::Englisch);
  };

  m_position = new QLabel(this);
  m_position->setToolTip(Q("Aktuelle Position in der Bibliothek"));
  m_position->setGeometry(250, 490, 300, 16);
  m_groesse = new QLabel(this);
  m_groesse->setToolTip(Q("Größe der Bibliothek"));
  m_groesse->setGeometry(250, 508, 300, 16);

  const int x = 250;
  beschriftung(this, "Vokabel:", x, 32);
  m_wort = new QLineEdit(this);
  m_wort->setToolTip(Q("Eingabefeld für die Vokabel"));
  m_wort->setObjectName(Q("Eingabefeld für die Vokabel"));
  m_wort->setGeometry(x, 50, 440, 24);
  m_flaggeOben = new QToolButton(this);
  m_flaggeUnten = new QToolButton(this);
  for (QToolButton* f : {m_flaggeOben, m_flaggeUnten}) {
    f->setToolTip(Q("Sprache einstellen"));
    f->setIconSize(QSize(30, 20));
    connect(f, &QToolButton::clicked, this, [this] { m_kern.setDeutsch(!m_kern.bibliothek().Deutsch(-1)); });
  }
  m_flaggeOben->setGeometry(705, 36, 40, 26);
  m_flaggeUnten->setGeometry(705, 64, 40, 26);
  m_flaggeOben->setObjectName("Sprache oben");
  m_flaggeUnten->setObjectName("Sprache unten");

  beschriftung(this, "Bedeutung(en):", x, 80);
  beschriftung(this, "Weitere:", x, 130);
  const char* hints[2] = {"Bedeutung(en) - mit Semikolon + Leerzeichen trennen!",
                          "Weitere Bedeutung(en) - mit Semikolon + Leerzeichen trennen!"};
  for (int i = 0; i < 2; ++i) {
    m_bed[i] = new QPlainTextEdit(this);
    m_bed[i]->setToolTip(Q(hints[i]));
    m_bed[i]->setObjectName(Q(hints[i]));
    m_bed[i]->setGeometry(x, 96 + 50 * i, 440, 32);
    m_bed[i]->setTabChangesFocus(true);
    m_bed[i]->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    connect(m_bed[i], &QPlainTextEdit::textChanged, this, [this, i] {
      if (!m_zeigt) m_kern.bedeutungGeaendert(i, geprueft(m_bed[i]));
    });
  }
  for (int i = 0; i < 2; ++i) {
    beschriftung(this, i == 0 ? "1. Kontext:" : "2. Kontext:", x, 182 + 46 * i);
    m_kon[i] = new QLineEdit(this);
    m_kon[i]->setToolTip(Q("Platz für einen Satzzusammenhang"));
    m_kon[i]->setObjectName(Q(i == 0 ? "1. Kontext:" : "2. Kontext:"));
    m_kon[i]->setGeometry(x, 198 + 46 * i, 380, 24);
    connect(m_kon[i], &QLineEdit::textChanged, this, [this, i] {
      if (!m_zeigt) m_kern.kontextGeaendert(i, geprueft(m_kon[i]));
    });
    m_tip[i] = new QCheckBox(Q("Bedeutung anzeigen"), this);
    m_tip[i]->setObjectName(Q(i == 0 ? "1. Bedeutung anzeigen" : "2. Bedeutung anzeigen"));
    m_tip[i]->setGeometry(x + 390, 198 + 46 * i, 150, 24);
    connect(m_tip[i], &QCheckBox::toggled, this, [this, i](bool an) {
      if (!m_zeigt) m_kern.tipGeaendert(i, an);
    });
  }
  m_wortart = new QComboBox(this);
  m_wortart->setToolTip(Q("Wortart einstellen"));
  m_wortart->setObjectName(Q("Wortart einstellen"));
  for (int i = 0; i < kWortartAnzahl; ++i) m_wortart->addItem(zek::toQString(wortartName(i)));
  m_wortart->setGeometry(x, 290, 150, 24);
  connect(m_wortart, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (!m_zeigt && i >= 0) m_kern.wortartGeaendert(i);
  });
  m_schwierigkeit = new QComboBox(this);
  m_schwierigkeit->setToolTip(Q("Schwierigkeitsgrad einstellen"));
  m_schwierigkeit->setObjectName(Q("Schwierigkeitsgrad einstellen"));
  for (int i = 0; i < kSchwierigkeitAnzahl; ++i) m_schwierigkeit->addItem(zek::toQString(schwierigkeitName(i)));
  m_schwierigkeit->setGeometry(x + 160, 290, 120, 24);
  connect(m_schwierigkeit, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (!m_zeigt && i >= 0) m_kern.schwierigkeitGeaendert(i);
  });

  auto* ueber = knopf(this, "Vokabel aus dem Wörterbuch übernehmen", QStyle::SP_ArrowUp, QRect(x + 300, 288, 32, 28));
  connect(ueber, &QToolButton::clicked, this, [this] { m_kern.uebernehmen(); });
  auto* weg = knopf(this, "Aktuelle Vokabel löschen", QStyle::SP_TrashIcon, QRect(x + 336, 288, 32, 28));
  connect(weg, &QToolButton::clicked, this, [this] { m_kern.entfernen(); });
  auto* sort = knopf(this, "Alphabetisch sortieren", QStyle::SP_ArrowDown, QRect(x + 372, 288, 32, 28));
  connect(sort, &QToolButton::clicked, this, [this] { m_kern.sortieren(); });

  m_aufnahme = knopf(this, "Aufnahme starten", QStyle::SP_DialogYesButton, QRect(x + 430, 288, 32, 28));
  m_abspielen = knopf(this, "Aufnahme abspielen", QStyle::SP_MediaPlay, QRect(x + 466, 288, 32, 28));
  m_speichern = knopf(this, "Aufnahme speichern", QStyle::SP_DialogSaveButton, QRect(x + 502, 288, 32, 28));
  m_aufnahme->setCheckable(true);
  m_abspielen->setCheckable(true);
  connect(m_aufnahme, &QToolButton::clicked, this, [this](bool an) { aufnahmeKlick(an); });
  connect(m_abspielen, &QToolButton::clicked, this, [this](bool an) { abspielenKlick(an); });
  connect(m_speichern, &QToolButton::clicked, this, [this] { speichernKlick(); });

  // The dictionary entry below.
  const int y = 330;
  beschriftung(this, "Wörterbuch:", x, y);
  m_wbWort = new QLineEdit(this);
  m_wbWort->setObjectName(Q("Wörterbuch-Eintrag"));
  m_wbWort->setGeometry(x, y + 18, 240, 24);
  connect(m_wbWort, &QLineEdit::textChanged, this, [this] {
    if (!m_zeigt) m_kern.wbWortGeaendert(geprueft(m_wbWort));
  });
  m_wbArt = new QComboBox(this);
  m_wbArt->setObjectName(Q("Wortart im Wörterbuch"));
  for (int i = 0; i < kWortartAnzahl; ++i) m_wbArt->addItem(zek::toQString(wortartName(i)));
  m_wbArt->setGeometry(x + 250, y + 18, 120, 24);
  connect(m_wbArt, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (!m_zeigt && i >= 0) m_kern.wbArtGeaendert(i);
  });
  m_wbBed = new QPlainTextEdit(this);
  m_wbBed->setObjectName(Q("Bedeutungen im Wörterbuch"));
  m_wbBed->setGeometry(x, y + 48, 400, 58);
  m_wbBed->setTabChangesFocus(true);
  connect(m_wbBed, &QPlainTextEdit::textChanged, this, [this] {
    if (!m_zeigt) m_kern.wbBedeutungGeaendert(geprueft(m_wbBed));
  });
  m_richtung = new QToolButton(this);
  m_richtung->setToolTip(Q("Zur anderen Hälfte des Wörterbuchs"));
  m_richtung->setObjectName(Q("Zur anderen Hälfte des Wörterbuchs"));
  m_richtung->setGeometry(x + 380, y + 18, 150, 24);
  connect(m_richtung, &QToolButton::clicked, this, [this] { m_kern.richtungWechseln(); });
  const struct {
    const char* hint;
    QStyle::StandardPixmap bild;
  } nav[] = {{"Zum ersten Eintrag", QStyle::SP_MediaSkipBackward},
             {"Zum vorangehenden Eintrag", QStyle::SP_MediaSeekBackward},
             {"Zum nächsten Eintrag", QStyle::SP_MediaSeekForward},
             {"Zum letzten Eintrag", QStyle::SP_MediaSkipForward},
             {"Neuen Eintrag erzeugen", QStyle::SP_FileIcon},
             {"Aktuellen Eintrag löschen", QStyle::SP_DialogDiscardButton}};
  for (int i = 0; i < 6; ++i) {
    auto* b = knopf(this, nav[i].hint, nav[i].bild, QRect(x + 410 + (i % 3) * 40, y + 48 + (i / 3) * 30, 36, 28));
    connect(b, &QToolButton::clicked, this, [this, i] {
      if (i == 5) {
        m_kern.wbLoeschen();
      } else {
        m_kern.wbGehen(i);
      }
    });
  }

  // File buttons and the start functions along the bottom.
  const struct {
    const char* hint;
    QStyle::StandardPixmap bild;
  } datei[] = {{"neue Bibliothek", QStyle::SP_FileIcon},
               {"Bibliothek laden", QStyle::SP_DialogOpenButton},
               {"Bibliothek dazuladen", QStyle::SP_FileDialogNewFolder},
               {"Bibliothek speichern", QStyle::SP_DialogSaveButton},
               {"Informationen zur Bibliothek", QStyle::SP_MessageBoxInformation}};
  for (int i = 0; i < 5; ++i) {
    auto* b = knopf(this, datei[i].hint, datei[i].bild, QRect(x + 40 * i, 448, 36, 30));
    connect(b, &QToolButton::clicked, this, [this, i] {
      if (m_kern.Kontrolle) return;
      switch (i) {
        case 0: m_kern.neu(); break;
        case 1: m_kern.oeffnenDatei(); break;
        case 2: m_kern.hinzufuegenDatei(); break;
        case 3: m_kern.speichern(); break;
        default: TBInfo::zeigen(m_kern.bibliothek(), this); break;
      }
    });
  }
  const char* start[] = {"abfragen", "klassisch", "abgedreht ", "techno", "super dd ", "einstellungen", "home"};
  for (int i = 0; i < 7; ++i) {
    auto* b = textKnopf(this, start[i], QRect(10 + 111 * i, 540, 105, 26));
    QPalette bp = b->palette();
    bp.setColor(QPalette::Button, Qt::black);
    bp.setColor(QPalette::ButtonText, Qt::white);
    b->setPalette(bp);
    if (i == 0) m_abfragen = b;
    connect(b, &QToolButton::clicked, this, [this, i, b] {
      switch (i) {
        case 0: abfragen(); break;
        case 5: einstellungenOeffnen(); break;
        case 6: close(); break;
        default: superlearning(i - 1, b); break;
      }
    });
  }

  for (QWidget* w : std::initializer_list<QWidget*>{m_wort, m_bed[0], m_bed[1], m_kon[0], m_kon[1], m_wbWort, m_wbBed,
                                                    m_wortart, m_schwierigkeit, m_wbArt, m_tip[0], m_tip[1]})
    w->installEventFilter(this);
  m_bed[0]->viewport()->installEventFilter(this);
  m_bed[1]->viewport()->installEventFilter(this);
  m_wbBed->viewport()->installEventFilter(this);
  connect(m_wort, &QLineEdit::textChanged, this, [this] {
    if (!m_zeigt) m_kern.wortGeaendert(geprueft(m_wort));
  });
}

void TVocEditor::menues() {
  auto* bar = new QMenuBar(this);
  bar->setGeometry(0, 0, 800, 24);
  bar->setNativeMenuBar(false);
  auto add = [this](QMenu* m, const char* utf8, QKeySequence k, auto f) {
    QAction* a = m->addAction(Q(utf8));
    if (!k.isEmpty()) a->setShortcut(k);
    a->setShortcutContext(Qt::WindowShortcut);
    connect(a, &QAction::triggered, this, f);
    m_aktionen.push_back(a);
    return a;
  };
  auto geschuetzt = [this](auto f) {
    return [this, f] {
      if (!m_kern.Kontrolle) f();
    };
  };
  QMenu* datei = bar->addMenu(Q("&Datei"));
  add(datei, "&Neu", {}, geschuetzt([this] { m_kern.neu(); }));
  add(datei, "Ö&ffnen...", {}, geschuetzt([this] { m_kern.oeffnenDatei(); }));
  add(datei, "Hinzufügen...", {}, geschuetzt([this] { m_kern.hinzufuegenDatei(); }));
  add(datei, "&Speichern", {}, geschuetzt([this] { m_kern.speichern(); }));
  add(datei, "Speichern &unter...", {}, geschuetzt([this] { m_kern.speichernUnter(); }));
  add(datei, "Zufällig erzeugen...", {}, geschuetzt([this] { zufall(); }));
  datei->addSeparator();
  add(datei, "Drucken...", {}, geschuetzt([this] { ListeDrucken(m_kern.bibliothek()); }));
  add(datei, "Karteikarten drucken...", {}, geschuetzt([this] { KarteikartenDrucken(m_kern.bibliothek()); }));
  add(datei, "Drucker einrichten...", {}, [this] { TDruckerEinrichten::einrichten(this); });
  add(datei, "&Info", QKeySequence(Qt::Key_F6), [this] { TBInfo::zeigen(m_kern.bibliothek(), this); });
  datei->addSeparator();
  for (int i = 0; i < 4; ++i) {
    m_zuletzt[i] = add(datei, "", {}, geschuetzt([this, i] { m_kern.zuletztOeffnen(i); }));
  }
  datei->addSeparator();
  add(datei, "&Einstellungen", {}, [this] { einstellungenOeffnen(); });
  add(datei, "&Abfrage", {}, [this] { abfragen(); });
  add(datei, "&Home", QKeySequence(Qt::ALT | Qt::Key_X), [this] { close(); });

  QMenu* bearb = bar->addMenu(Q("&Bearbeiten"));
  add(bearb, "&Ausschneiden", QKeySequence(Qt::CTRL | Qt::Key_X), [this] { ausschneiden(); });
  add(bearb, "&Kopieren", QKeySequence(Qt::CTRL | Qt::Key_C), [this] { kopieren(); });
  add(bearb, "&Einfügen", QKeySequence(Qt::CTRL | Qt::Key_V), [this] { einfuegen(); });
  add(bearb, "L&öschen", QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { loeschen(); });
  bearb->addSeparator();
  add(bearb, "Bibliothek sortieren", QKeySequence(Qt::CTRL | Qt::Key_S), geschuetzt([this] { m_kern.sortieren(); }));
  add(bearb, "Bibliothek mischen", QKeySequence(Qt::CTRL | Qt::Key_M), geschuetzt([this] { m_kern.mischen(); }));
  add(bearb, "Vokabel vor aktueller Position einfügen", QKeySequence(Qt::Key_F4),
      geschuetzt([this] { m_kern.vorEinfuegen(); }));
  add(bearb, "Vokabel nach aktueller Position einfügen", QKeySequence(Qt::Key_F8),
      geschuetzt([this] { m_kern.nachEinfuegen(); }));
  add(bearb, "Aktuelle Vokabel entfernen", {}, geschuetzt([this] { m_kern.entfernen(); }));
  add(bearb, "Vokabel aus Wörterbuch übernehmen", QKeySequence(Qt::CTRL | Qt::Key_Y),
      geschuetzt([this] { m_kern.uebernehmen(); }));
  add(bearb, "Doppelte Vokabeln entfernen", QKeySequence(Qt::CTRL | Qt::Key_D),
      geschuetzt([this] { m_kern.doppelteEntfernen(); }));
  add(bearb, "Bibliothek umkehren", {}, geschuetzt([this] { m_kern.umkehren(); }));

  QMenu* sonder = bar->addMenu(Q("&Sonderzeichen"));
  const struct {
    const char* caption;
    const char* zeichen;  // UTF-8
    QKeySequence taste;
  } zeichen[] = {
      {"â", "â", {}},  // Ctrl+A selects all, as in every text field
      {"ê", "ê", QKeySequence(Qt::CTRL | Qt::Key_E)},
      {"î", "î", QKeySequence(Qt::CTRL | Qt::Key_I)},
      {"ô", "ô", QKeySequence(Qt::CTRL | Qt::Key_O)},
      {"û", "û", QKeySequence(Qt::CTRL | Qt::Key_U)},
      {"ae", "æ", {}},
      {"oe", "œ", {}},
      {"ï", "ï", {}},
      {"ç", "ç", QKeySequence(Qt::Key_F5)},
      {"ñ", "ñ", QKeySequence(Qt::CTRL | Qt::Key_N)},
      {nullptr, nullptr, {}},
      {"Â", "Â", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A)},
      {"Ê", "Ê", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)},
      {"Î", "Î", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I)},
      {"Ô", "Ô", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)},
      {"Û", "Û", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U)},
      {"AE", "Æ", {}},
      {"OE", "Œ", {}},
      {"Ï", "Ï", {}},
      {"Ç", "Ç", QKeySequence(Qt::SHIFT | Qt::Key_F5)},
      {"Ñ", "Ñ", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N)},
      {nullptr, nullptr, {}},
      {"¿", "¿", QKeySequence(Qt::CTRL | Qt::Key_F)},
      {"¡", "¡", {}},
  };
  for (const auto& z : zeichen) {
    if (!z.caption) {
      sonder->addSeparator();
      continue;
    }
    const std::string c = T(z.zeichen);
    QAction* a = add(sonder, z.caption, z.taste, [this, c] { zeichenEinfuegen(c); });
    a->setText(Q(z.caption));
  }

  QMenu* spezial = bar->addMenu(Q("Spe&zial"));
  m_aKontrolle = add(spezial, "Bibliothek kontrollieren", QKeySequence(Qt::CTRL | Qt::Key_K),
                     [this] { pruefung(&bibliothekKontrollieren); });
  add(spezial, "Kontexte abgleichen", QKeySequence(Qt::Key_F2), [this] { pruefung(&kontexteAbgleichen); });
  add(spezial, "XPress-Kontrolle", QKeySequence(Qt::Key_F3), [this] { pruefung(&xpressKontrolle); });

  QMenu* opt = bar->addMenu(Q("&Optionen"));
  m_aStaendig = add(opt, "Ständig nachschlagen", {}, [this](bool an) { m_kern.schalter().staendigNachschlagen = an; });
  m_aMc = add(opt, "Mult. Choice kontrollieren", {}, [this](bool an) { m_kern.schalter().mcKontrollieren = an; });
  m_aNeue = add(opt, "Neue Vokabeln automatisch ins Wörterbuch", {},
                [this](bool an) { m_kern.schalter().neueInsWoerterbuch = an; });
  for (QAction* a : {m_aStaendig, m_aMc, m_aNeue}) a->setCheckable(true);
  m_aStaendig->setChecked(true);
  m_aMc->setChecked(true);
  opt->addSeparator();
  add(opt, "Superlearning...", {}, [this] {
    if (!openSuperSettingsDialog(this)) nichtVerfuegbar("Die Superlearning-Einstellungen sind");
  });
  QMenu* aufn = opt->addMenu(Q("Sprachaufnahmen"));
  add(aufn, "Einstellungen...", {}, [] { zek::openRecordingSettings(); });
  add(aufn, "Verwaltung...", {}, [] { zek::openRecordingsWindow(); });

  QMenu* hilfe = bar->addMenu(Q("&Hilfe"));
  m_aHilfe = add(hilfe, "&Online-Hilfe", {}, [](bool an) { appState().OnlineHelp = an; });
  m_aHilfe->setCheckable(true);
  m_aHilfe->setChecked(appState().OnlineHelp);
}

QAction* TVocEditor::Aktion(const char* text) const {
  const QString t = Q(text);
  for (QAction* a : m_aktionen)
    if (a->text().remove('&') == QString(t).remove('&')) return a;
  return nullptr;
}

void TVocEditor::nichtVerfuegbar(const char* was) {
  showMessage(T(was) + T(" in dieser Version noch nicht verfügbar."), mb::IconInformation);
}

void TVocEditor::zeigen() {
  const TBibliothek& bib = m_kern.bibliothek();
  m_zeigt = true;
  setzeText(m_wort, bib.Vokabel(-1));
  setzeText(m_bed[0], bib.Bedeutung(-1, 0));
  setzeText(m_bed[1], bib.Bedeutung(-1, 1));
  for (int i = 0; i < 2; ++i) {
    setzeText(m_kon[i], bib.Kontext(-1, i));
    m_tip[i]->setChecked(bib.Tip(-1, i));
  }
  const int art = bib.Wortart(-1);
  m_wortart->setCurrentIndex(art < kWortartAnzahl ? art : -1);
  const int stufe = bib.Schwierigkeit(-1);
  m_schwierigkeit->setCurrentIndex(stufe < kSchwierigkeitAnzahl ? stufe : -1);
  m_position->setText(Q("Aktuelle Position in der Bibliothek: ") + QString::number(m_kern.position()));
  m_groesse->setText(Q("Größe der Bibliothek: ") + QString::number(m_kern.groesse()));
  flaggenZeigen();
  m_zeigt = false;
}

void TVocEditor::flaggenZeigen() {
  const bool deutsch = m_kern.bibliothek().Deutsch(-1);
  m_flaggeOben->setIcon(QIcon(QPixmap::fromImage(flagge(deutsch, 30, 20))));
  m_flaggeUnten->setIcon(QIcon(QPixmap::fromImage(flagge(!deutsch, 30, 20))));
}

void TVocEditor::woerterbuchZeigen() {
  TXDatabase& db = m_kern.woerterbuch();
  m_zeigt = true;
  setzeText(m_wbWort, db.GetWord());
  setzeText(m_wbBed, db.GetMeaning());
  m_wbArt->setCurrentIndex(db.GetKind() - 1);
  m_richtung->setText(zek::toQString(db.DirectionName()));
  m_zeigt = false;
}

// ---- clipboard and special characters ----

void TVocEditor::ausschneiden() {
  QWidget* f = focusWidget();
  if (auto* e = qobject_cast<QLineEdit*>(f)) e->cut();
  if (auto* e = qobject_cast<QPlainTextEdit*>(f)) e->cut();
}

void TVocEditor::kopieren() {
  QWidget* f = focusWidget();
  if (auto* e = qobject_cast<QLineEdit*>(f)) e->copy();
  if (auto* e = qobject_cast<QPlainTextEdit*>(f)) e->copy();
}

void TVocEditor::loeschen() {
  QWidget* f = focusWidget();
  if (auto* e = qobject_cast<QLineEdit*>(f)) e->del();
  if (auto* e = qobject_cast<QPlainTextEdit*>(f)) e->textCursor().removeSelectedText();
}

void TVocEditor::einfuegen() {
  QWidget* f = focusWidget();
  // A character the library files cannot hold is refused.
  const auto text = zek::fromQStringStrict(QApplication::clipboard()->text());
  if (!text) {
    QApplication::beep();
    return;
  }
  if (auto* e = qobject_cast<QLineEdit*>(f)) {
    if (e->isReadOnly()) return;
    std::string t = *text;
    for (char& c : t)
      if (c == '\r' || c == '\n') c = ' ';
    e->insert(zek::toQString(t));
  } else if (auto* e = qobject_cast<QPlainTextEdit*>(f)) {
    if (e->isReadOnly()) return;
    QTextCursor c = e->textCursor();
    const int start = c.selectionStart();
    QString ganz = e->toPlainText();
    ganz.replace(start, c.selectionEnd() - start, zek::toQString(*text));
    const std::string bereinigt = TVocEditorKern::bedeutungBereinigt(zek::fromQString(ganz));
    e->setPlainText(zek::toQString(bereinigt));
    QTextCursor ende = e->textCursor();
    ende.movePosition(QTextCursor::End);
    e->setTextCursor(ende);
  }
}

void TVocEditor::zeichenEinfuegen(const std::string& zeichen) {
  QWidget* f = focusWidget();
  if (auto* e = qobject_cast<QLineEdit*>(f)) {
    if (!e->isReadOnly()) e->insert(zek::toQString(zeichen));
  } else if (auto* e = qobject_cast<QPlainTextEdit*>(f)) {
    if (!e->isReadOnly()) e->insertPlainText(zek::toQString(zeichen));
  }
}

bool TVocEditor::eventFilter(QObject* o, QEvent* e) {
  if (e->type() == QEvent::FocusOut && o == m_bed[0]) m_kern.langeBedeutungMelden();
  if (e->type() == QEvent::ShortcutOverride) {
    // The fields would keep Ctrl+A, Ctrl+K, Ctrl+Y, the clipboard keys and Ctrl+Del for
    // themselves; they belong to the window's menus.
    auto* k = static_cast<QKeyEvent*>(e);
    const QKeySequence seq(k->keyCombination());
    for (QAction* a : m_aktionen) {
      if (!a->shortcut().isEmpty() && a->shortcut() == seq) return true;
    }
    return false;
  }
  if (e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
      focusNextChild();
      return true;
    }
    if (k->key() == Qt::Key_PageDown || k->key() == Qt::Key_PageUp) {
      if (m_kern.Kontrolle) return true;
      if (k->key() == Qt::Key_PageDown) {
        m_kern.naechsteVokabel();
      } else {
        m_kern.vorigeVokabel();
      }
      return true;
    }
  }
  if (e->type() == QEvent::MouseButtonDblClick) {
    auto* m = static_cast<QMouseEvent*>(e);
    QWidget* w = qobject_cast<QWidget*>(o);
    if (w && qobject_cast<QPlainTextEdit*>(w->parentWidget())) w = w->parentWidget();
    if (w == m_kon[0] || w == m_kon[1]) {
      const std::string s = m_kern.loesungen(w == m_kon[0] ? 0 : 1);
      if (!s.empty()) showMessage(s, mb::IconInformation);
      return true;
    }
    if (auto* le = qobject_cast<QLineEdit*>(w)) {
      const int caret = le->cursorPositionAt(m->position().toPoint());
      speakWordAt(feldText(le), caret, 0, spracheVon(w));
    } else if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) {
      const int caret = pe->cursorForPosition(pe->viewport()->mapFrom(this, w->mapTo(this, m->position().toPoint())))
                            .position();
      speakWordAt(feldText(pe), caret, 0, spracheVon(w));
    }
  }
  return TTrainerWindow::eventFilter(o, e);
}

TWortSprache TVocEditor::spracheVon(const QWidget* feld) {
  // The word is in the entry's language and its meanings in the other; the dictionary's
  // fields follow the half it shows.
  bool deutsch = m_kern.bibliothek().Deutsch(-1);
  if (feld == m_bed[0] || feld == m_bed[1]) deutsch = !deutsch;
  if (feld == m_wbWort) deutsch = m_kern.woerterbuch().IsGermanEnglish();
  if (feld == m_wbBed) deutsch = !m_kern.woerterbuch().IsGermanEnglish();
  return deutsch ? TWortSprache::Deutsch : TWortSprache::Englisch;
}

// ---- checks ----

void TVocEditor::kontrolleSetzen(bool an) {
  for (QAction* a : m_aktionen)
    if (a != m_aKontrolle) a->setEnabled(!an);
  for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (qobject_cast<QMenuBar*>(w)) continue;
    w->setEnabled(!an);
  }
  if (an) return;
  // A recording or playback still running keeps the other two buttons off.
  if (m_aufnahme->isChecked()) {
    m_abspielen->setEnabled(false);
    m_speichern->setEnabled(false);
  } else if (m_abspielen->isChecked()) {
    m_aufnahme->setEnabled(false);
    m_speichern->setEnabled(false);
  }
  // The checks switch "Ständig nachschlagen" and "Mult. Choice kontrollieren" themselves.
  m_aStaendig->setChecked(m_kern.schalter().staendigNachschlagen);
  m_aMc->setChecked(m_kern.schalter().mcKontrollieren);
  if (m_kern.OnZuletzt) m_kern.OnZuletzt();
}

void TVocEditor::pruefung(void (*lauf)(TEditorZugriff&)) {
  if (m_kern.Kontrolle) {
    // Only the library check can be asked to stop; the others end by themselves.
    if (lauf == &bibliothekKontrollieren) bibliothekKontrollieren(m_kern);
    return;
  }
  kontrolleSetzen(true);
  lauf(m_kern);
  kontrolleSetzen(false);
  m_kern.OnAuswahl();
}

void TVocEditor::zufall() {
  const auto werte = TZufall::fragen(this);
  if (!werte) return;
  const TZufallsWahl wahl{werte->groesse, werte->englisch, werte->redewendungen, werte->sortieren};
  kontrolleSetzen(true);
  zufallsBibliothek(m_kern, wahl, m_kern.bibliothek().Zufall());
  kontrolleSetzen(false);
  m_kern.OnAuswahl();
}

// ---- recording ----

void TVocEditor::aufnahmeKlick(bool an) {
  tWaveRec& rec = zek::ensureWaveRec();
  if (an) {
    rec.record();
    m_timer.start(100);
    m_abspielen->setEnabled(false);
    m_speichern->setEnabled(false);
  } else {
    rec.stop();
    m_timer.stop();
    m_abspielen->setEnabled(true);
    m_speichern->setEnabled(true);
  }
}

void TVocEditor::abspielenKlick(bool an) {
  tWaveRec& rec = zek::ensureWaveRec();
  if (an) {
    rec.play();
    m_timer.start(25);
    m_aufnahme->setEnabled(false);
    m_speichern->setEnabled(false);
  } else {
    rec.stop();
    m_timer.stop();
    m_aufnahme->setEnabled(true);
    m_speichern->setEnabled(true);
  }
}

void TVocEditor::timerTick() {
  tWaveRec* rec = zek::waveRec();
  if (!rec) {
    m_timer.stop();
    return;
  }
  const std::string pos = rec->position();
  if (pos.rfind("Error", 0) == 0) m_timer.stop();
  if (std::atol(pos.c_str()) > 9999) {
    rec->stop();
    m_timer.stop();
  }
  const std::string mode = rec->mode();
  if (mode.rfind("stop", 0) == 0 || mode.rfind("been", 0) == 0) {
    m_timer.stop();
    m_aufnahme->setChecked(false);
    m_abspielen->setChecked(false);
    for (QToolButton* b : {m_aufnahme, m_abspielen, m_speichern}) b->setEnabled(true);
  }
}

void TVocEditor::speichernKlick() {
  TFileDialogRequest r;
  r.save = true;
  r.filter = "Audiodateien (*.wav)|*.wav";
  r.promptOverwrite = true;
  r.fileName = zek::fileNamePart(m_kern.bibliothek().Vokabel(-1));
  const auto gewaehlt = askFileName(r);
  if (!gewaehlt) return;
  std::string name = *gewaehlt;
  const std::size_t slash = name.find_last_of("/\\");
  const std::size_t punkt = name.rfind('.');
  if (punkt == std::string::npos || (slash != std::string::npos && punkt < slash)) {
    name += ".wav";
  } else if (zek::extensionLower(name) != ".wav") {
    name = name.substr(0, punkt) + ".wav";
  }
  // The dialog asked about the name typed; a changed name is asked about here.
  if (name != *gewaehlt && zek::fileExists(name) &&
      showMessage(T("Die Datei ") + name + T(" existiert bereits.\rSoll sie ersetzt werden?"),
                  mb::YesNo | mb::IconQuestion) != mb::IdYes) {
    return;
  }
  // The recorder writes a new file beside the old one and renames it, so a failed save
  // leaves the old recording alone.
  const std::string antwort = zek::ensureWaveRec().saveToFile(name);
  if (!antwort.empty()) {
    showMessage("Sprachaufnahme konnte nicht gespeichert werden..", mb::IconStop);
    return;
  }
  zek::openRecordingsWindow(m_kern.bibliothek().Vokabel(-1), name);
}

// ---- leaving ----

bool TVocEditor::verlassenErlaubt() {
  if (!m_kern.Kontrolle) return true;
  showMessage(kNichtVerlassen, mb::IconExclamation);
  return false;
}

void TVocEditor::abfragen() {
  if (!verlassenErlaubt()) return;
  TBibliothek& bib = m_kern.bibliothek();
  m_abfragen->setEnabled(false);
  m_timer.stop();
  zek::freeWaveRec();
  if (TVocEinstellungen* e = bib.Einstellungen()) e->LadenFallsNoetig();
  m_ohneFrage = true;
  if (bib.Abfrage().QuizBereit()) {
    closeRunning("vabfrage");
  } else {
    closeRunning("vocein");
  }
}

void TVocEditor::superlearning(int style, QWidget* knopf) {
  if (!verlassenErlaubt()) return;
  TBibliothek& bib = m_kern.bibliothek();
  if (!bib.BibliothekGeladen()) return;
  if (style == 0 || style == 1) {
    QWidget* fade = makePresentation(style, "Editor", pos());
    if (!fade) {
      nichtVerfuegbar("Superlearning ist");
      return;
    }
    knopf->setEnabled(false);
    m_timer.stop();
    zek::freeWaveRec();
    m_ohneFrage = true;
    handOver(this, fade);
    return;
  }
  knopf->setEnabled(false);
  m_timer.stop();
  zek::freeWaveRec();
  if (TVocEinstellungen* e = bib.Einstellungen()) {
    if (!e->EinstellungenSpeichern())
      showMessage("Die Einstellungen konnten nicht gespeichert werden.", mb::IconStop);
  }
  m_ohneFrage = true;
  closeRunning(style == 2 ? "sm2,super" : "sm3,super");
}

void TVocEditor::einstellungenOeffnen() {
  if (!verlassenErlaubt()) return;
  // The options work on the same library: nothing to save first. They open through the
  // main window's command, which knows the options' maker.
  m_ohneFrage = true;
  closeRunning("vocein");
}

bool TVocEditor::FormCloseQuery() {
  if (!verlassenErlaubt()) return false;
  if (!m_ohneFrage && !m_kern.speicherFrage(true)) return false;
  m_ohneFrage = false;
  m_timer.stop();
  zek::freeWaveRec();
  return true;
}

void TVocEditor::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(QRect(0, 24, 240, 510), kPanel);
  p.fillRect(QRect(240, 322, 560, 112), kWbPanel);
  p.fillRect(QRect(0, 534, 800, 38), Qt::black);
}
