// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocab/tvocoptionen.h"

#include "media/recordingwindows.h"
#include "media/tspeech.h"
#include "memory/tlerneinstellungen.h"
#include "memory/tlernspeicher.h"
#include "platform/settingsstore.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "vocab/bibliotheksinfo.h"
#include "vocab/tbibliothek.h"
#include "vocab/tbinfo.h"
#include "vocab/tdruckereinrichten.h"
#include "vocab/tkarteikarten.h"
#include "vocab/tvoceinstellungen.h"
#include "vocab/tvocliste.h"
#include "vocab/tvokabelabfrage.h"
#include "vocab/vokabelaustausch.h"
#include "widgets/txcheckbox.h"
#include "widgets/txcolorbutton.h"
#include "widgets/txlistbox.h"
#include "widgets/txradiogroup.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QSlider>

#include <algorithm>
#include <optional>

namespace {

const QColor kHintergrund(0, 40, 104);
const QColor kFeld(0, 64, 150);
const QColor kGelb(255, 230, 0);
const QColor kRot(255, 60, 50);
const char* const kFrageSichern =
    "Die aktuelle Bibliothek wurde ver\xE4ndert.\rSollen die Ver\xE4nderungen gespeichert werden?";
const char* const kFilterOeffnen = "ORV Bibliotheken (*.asc)|*.asc";
const char* const kFilterSpeichern = "Vokabel-Bibliotheken (*.asc)|*.asc";
const char* const kFilterAustausch =
    "Textdateien (*.txt;*.csv;*.tsv)|*.txt;*.csv;*.tsv|KVTML (*.kvtml)|*.kvtml|Alle Dateien (*.*)|*.*";

void notYet(const char* what, bool plural = false) {
  showMessage(std::string(what) + (plural ? " sind" : " ist") + " in dieser Version noch nicht verf\xFCgbar.",
              mb::IconInformation);
}

// The entry list's flags: "§" marks a German entry, "$" an English one.
QImage flagge(bool deutsch) {
  QImage img(26, 20, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  const QRect r(3, 5, 17, 11);
  if (deutsch) {
    p.fillRect(QRect(r.x(), r.y(), r.width(), 4), Qt::black);
    p.fillRect(QRect(r.x(), r.y() + 4, r.width(), 4), QColor(221, 0, 0));
    p.fillRect(QRect(r.x(), r.y() + 8, r.width(), 3), QColor(255, 206, 0));
  } else {
    p.fillRect(r, QColor(1, 33, 105));
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(r.center().x(), r.top(), r.center().x(), r.bottom());
    p.drawLine(r.left(), r.center().y(), r.right(), r.center().y());
    p.setPen(QPen(QColor(200, 16, 46), 1.5));
    p.drawLine(r.center().x(), r.top(), r.center().x(), r.bottom());
    p.drawLine(r.left(), r.center().y(), r.right(), r.center().y());
  }
  return img;
}

// The check's picture: a green tick or a red cross in a ring.
QPixmap ampelBild(bool ok) {
  QPixmap pm(34, 34);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::white, 2));
  p.setBrush(ok ? QColor(20, 160, 40) : QColor(200, 20, 20));
  p.drawEllipse(QRectF(2, 2, 30, 30));
  p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  if (ok) {
    const QPointF tick[] = {{9, 17.5}, {14.5, 23}, {25, 11}};
    p.drawPolyline(tick, 3);
  } else {
    p.drawLine(QPointF(11, 11), QPointF(23, 23));
    p.drawLine(QPointF(23, 11), QPointF(11, 23));
  }
  return pm;
}

enum class TSymbol { Laden, Dazuladen, Speichern, Neu, Info, Drucken };

// The pictures of the six file buttons.
QImage symbol(TSymbol s) {
  QImage img(30, 30, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1.2));
  switch (s) {
    case TSymbol::Laden:
    case TSymbol::Dazuladen: {
      p.setBrush(QColor(240, 200, 80));
      QPainterPath ordner;
      ordner.moveTo(3, 9);
      ordner.lineTo(11, 9);
      ordner.lineTo(13, 11);
      ordner.lineTo(26, 11);
      ordner.lineTo(26, 25);
      ordner.lineTo(3, 25);
      ordner.closeSubpath();
      p.drawPath(ordner);
      if (s == TSymbol::Dazuladen) {
        p.setPen(QPen(QColor(0, 130, 0), 3));
        p.drawLine(20, 2, 20, 12);
        p.drawLine(15, 7, 25, 7);
      }
      break;
    }
    case TSymbol::Speichern:
      p.setBrush(QColor(40, 80, 170));
      p.drawRect(QRectF(4, 4, 22, 22));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(8, 4, 14, 8));
      p.setBrush(QColor(180, 180, 180));
      p.drawRect(QRectF(9, 17, 12, 9));
      break;
    case TSymbol::Neu: {
      p.setBrush(Qt::white);
      QPainterPath blatt;
      blatt.moveTo(7, 3);
      blatt.lineTo(18, 3);
      blatt.lineTo(24, 9);
      blatt.lineTo(24, 27);
      blatt.lineTo(7, 27);
      blatt.closeSubpath();
      p.drawPath(blatt);
      p.drawLine(18, 3, 18, 9);
      p.drawLine(18, 9, 24, 9);
      break;
    }
    case TSymbol::Info: {
      p.setBrush(QColor(30, 110, 220));
      p.drawEllipse(QRectF(3, 3, 24, 24));
      QFont f("Times");
      f.setPixelSize(18);
      f.setBold(true);
      f.setItalic(true);
      p.setFont(f);
      p.setPen(Qt::white);
      p.drawText(QRectF(3, 3, 24, 24), Qt::AlignCenter, "i");
      break;
    }
    case TSymbol::Drucken:
      p.setBrush(Qt::white);
      p.drawRect(QRectF(9, 3, 12, 9));
      p.setBrush(QColor(170, 170, 170));
      p.drawRect(QRectF(3, 11, 24, 11));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(8, 18, 14, 9));
      break;
  }
  return img;
}

QLabel* label(QWidget* parent, const std::string& text, int x, int y, int w = 0) {
  auto* l = new QLabel(zek::toQString(text), parent);
  l->move(x, y);
  l->adjustSize();
  if (w > 0) l->resize(w, l->height());
  return l;
}

TXCustomCheckBox* checkBox(QWidget* parent, const char* caption, const char* hint, int x, int y) {
  auto* box = new tXCheckBox(parent);
  box->setCaption(caption);
  box->setObjectName(zek::toQString(caption));
  box->setToolTip(zek::toQString(hint));
  box->setGeometry(x, y, 130, 20);
  return box;
}

// A name with characters outside Windows-1252 arrives with "?" in their place: such a file
// could neither be found again nor kept in the recent list.
std::optional<std::string> dateiFragen(const TFileDialogRequest& r) {
  auto gewaehlt = askFileName(r);
  if (gewaehlt && gewaehlt->find('?') != std::string::npos) {
    showMessage("Der Dateiname enth\xE4lt Zeichen, die zek englisch nicht verarbeiten kann.\r"
                "Bitte w\xE4hlen Sie einen anderen Namen.",
                mb::IconExclamation);
    return std::nullopt;
  }
  return gewaehlt;
}

}  // namespace

TVocOptionen::TVocOptionen(TBibliothek& bib, TVocEinstellungen& einstellungen, TWege wege, QWidget* parent)
    : TTrainerWindow(parent), m_bib(bib), m_e(einstellungen), m_wege(std::move(wege)) {
  setWindowTitle(zek::toQString("zek englisch - Einstellungen f\xFCr den Vokabeltrainer"));
  setObjectName("Vokabeltrainer - Einstellungen");
  setFixedSize(800, 600);
  QFont f("Arial");
  f.setPixelSize(13);
  f.setBold(true);
  setFont(f);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kHintergrund);
  pal.setColor(QPalette::WindowText, Qt::white);
  pal.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 140, 180));
  pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 140, 180));
  setPalette(pal);
  setAutoFillBackground(true);

  aufbauen();
  menueAufbauen();
  qApp->installEventFilter(this);

  // FormCreate: the stored settings, then the controls from them.
  m_e.LadenFallsNoetig();
  m_onlineHilfe->setChecked(appState().OnlineHelp);
  m_grosszuegig->setChecked(m_e.Grosszuegig);
  zuletztLesen();
  m_fuellt = true;
  m_modus->setSelected(m_e.Modus);
  m_richtung->setSelected(m_e.Richtung);
  m_proRunde->setRange(kProRundeMinimum, 100);
  m_proRunde->setValue(std::clamp(m_e.ProRunde, m_proRunde->minimum(), m_proRunde->maximum()));
  m_e.ProRunde = m_proRunde->value();
  m_proRundeZahl->setNum(m_e.ProRunde);
  m_mc->setValue(std::clamp(m_e.MultipleChoice, 0, 100));
  m_mcZahl->setText(QString::number(m_mc->value()) + "%");
  m_tippZahl->setText(QString::number(100 - m_mc->value()) + "%");
  m_redewendungen->setChecked(m_e.Redewendungen);
  m_kontext->setChecked(m_e.Kontext);
  m_fuellt = false;
  Aktualisieren();
}

TVocOptionen::~TVocOptionen() { qApp->removeEventFilter(this); }

void TVocOptionen::aufbauen() {
  m_name = label(this, "", 20, 34, 260);
  m_name->setObjectName("Bibliothek");
  m_name->setMinimumHeight(34);
  m_name->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  m_liste = new TXListBox(this);
  m_liste->setObjectName("Vokabeln");
  m_liste->setListenTyp(ltViewOnly);
  m_liste->setColor(kFeld);
  m_liste->setFarbeAn(Qt::white);
  m_liste->setFarbeAus(Qt::white);
  m_liste->setIcon1(flagge(true));
  m_liste->setIcon2(flagge(false));
  m_liste->setBounds(20, 72, 260, 400);
  m_liste->OnDblClick = [this](TXListBox* l) {
    if (!l->Text().empty())
      speakWord(l->Text(), l->TextMarker() == '\xA7' ? TWortSprache::Deutsch : TWortSprache::Englisch);
  };

  m_aktiv = label(this, "", 64, 502, 200);
  m_aktiv->setObjectName("davon aktiv");
  m_ampel = new QLabel(this);
  m_ampel->setGeometry(20, 494, 34, 34);

  m_modus = new tXRadioGroup(this);
  m_modus->setObjectName("Abfragerichtung");
  m_modus->setToolTip(zek::toQString("Abfragerichtung"));
  m_modus->setItems({"Vorw\xE4rts", "R\xFC\x63kw\xE4rts", "Kreuz-und-quer"});
  m_modus->setSpalten(1);
  m_modus->setZeilen(3);
  m_modus->setCellWidth(170);
  m_modus->setCellHeight(22);
  m_modus->move(310, 40);
  m_modus->OnClick = [this](tXRadioGroup* g) {
    einstellungAendern([&] { m_e.Modus = static_cast<std::uint8_t>(g->Selected()); });
    proRundeAnpassen();
    Pruefen();
  };

  m_richtung = new tXRadioGroup(this);
  m_richtung->setObjectName("Sprachrichtung");
  m_richtung->setItems({"Deutsch - Englisch", "Englisch - Deutsch", "Beide Richtungen"});
  m_richtung->setSpalten(1);
  m_richtung->setZeilen(3);
  m_richtung->setCellWidth(170);
  m_richtung->setCellHeight(22);
  m_richtung->move(310, 124);
  m_richtung->OnClick = [this](tXRadioGroup* g) {
    einstellungAendern([&] { m_e.Richtung = static_cast<std::uint8_t>(g->Selected()); });
  };

  const char* const stufen[] = {"Baby", "Leicht", "Mittel", "Schwierig", "T\xF6" "dlich"};
  for (int i = 0; i < 5; ++i) {
    auto* box = checkBox(this, stufen[i], "Schwierigkeitsgrade", 310, 210 + 22 * i);
    box->setIndex(i);
    box->OnClick = [this, i](TXCustomCheckBox* b) {
      einstellungAendern([&] { m_e.NichtZuSchwer[static_cast<std::size_t>(i)] = b->Checked(); });
    };
    m_stufen[static_cast<std::size_t>(i)] = box;
  }
  m_redewendungen = checkBox(this, "Redewendungen", "Abfrage von Redewendungen", 310, 336);
  m_redewendungen->OnClick = [this](TXCustomCheckBox* b) {
    einstellungAendern([&] { m_e.Redewendungen = b->Checked(); });
  };
  m_kontext = checkBox(this, "Kontext", "Abfrage im Satzzusammenhang", 310, 358);
  m_kontext->OnClick = [this](TXCustomCheckBox* b) { einstellungAendern([&] { m_e.Kontext = b->Checked(); }); };

  label(this, "Von", 510, 42);
  label(this, "Bis", 510, 74);
  m_von = new QComboBox(this);
  m_bis = new QComboBox(this);
  int y = 38;
  for (QComboBox* c : {m_von, m_bis}) {
    c->setToolTip(zek::toQString("Vokabelauswahl begrenzen"));
    c->setGeometry(550, y, 230, 24);
    c->setMaxVisibleItems(20);
    connect(c, &QComboBox::activated, this, [this] { vonBisGewaehlt(); });
    y += 32;
  }
  m_von->setObjectName("Von");
  m_bis->setObjectName("Bis");

  m_proRundeText = label(this, "Vokabeln pro Runde", 510, 124);
  m_proRundeZahl = label(this, "", 730, 124, 50);
  m_proRundeZahl->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_proRunde = new QSlider(Qt::Horizontal, this);
  m_proRunde->setObjectName("Vokabeln pro Runde");
  m_proRunde->setGeometry(510, 146, 270, 24);
  connect(m_proRunde, &QSlider::valueChanged, this, [this](int v) {
    m_proRundeZahl->setNum(v);
    if (m_fuellt) return;
    einstellungAendern([&] { m_e.ProRunde = v; });
  });

  label(this, "Multiple Choice", 510, 196);
  label(this, "Eintippen", 780 - 70, 196);
  m_mcZahl = label(this, "", 510, 216, 60);
  m_tippZahl = label(this, "", 720, 216, 60);
  m_tippZahl->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_mc = new QSlider(Qt::Horizontal, this);
  m_mc->setObjectName("Multiple Choice");
  m_mc->setRange(0, 100);
  m_mc->setPageStep(10);
  m_mc->setGeometry(510, 238, 270, 24);
  connect(m_mc, &QSlider::valueChanged, this, [this](int v) {
    m_mcZahl->setText(QString::number(v) + "%");
    m_tippZahl->setText(QString::number(100 - v) + "%");
    if (m_fuellt) return;
    einstellungAendern([&] { m_e.MultipleChoice = v; });
  });

  struct TDateiKnopf {
    TSymbol symbol;
    const char* hint;
    std::function<void()> aktion;
  };
  const TDateiKnopf dateiKnoepfe[] = {
      {TSymbol::Laden, "Bibliothek laden", [this] { Oeffnen(); }},
      {TSymbol::Dazuladen, "Bibliothek dazuladen", [this] { Hinzufuegen(); }},
      {TSymbol::Speichern, "Bibliothek speichern", [this] { Speichern(); }},
      {TSymbol::Neu, "neue Bibliothek", [this] { Neu(); }},
      {TSymbol::Info, "Informationen zur Bibliothek", [this] { Info(); }},
      {TSymbol::Drucken, "Bibliothek drucken", [this] { ListeDrucken(m_bib); }},
  };
  int x = 310;
  for (const TDateiKnopf& k : dateiKnoepfe) {
    auto* b = new tXColorButton(this);
    b->setObjectName(zek::toQString(k.hint));
    b->setToolTip(zek::toQString(k.hint));
    b->setColor(kFeld);
    b->setMouseOver(true);
    b->setMouseOver3D(true);
    b->setPicture1(symbol(k.symbol));
    b->setCenter(true);
    b->setGeometry(x, 494, 40, 40);
    b->OnClick = [aktion = k.aktion](tXColorButton*) { aktion(); };
    x += 48;
  }

  struct TStartKnopf {
    const char* caption;
    std::function<void()> aktion;
  };
  const TStartKnopf startKnoepfe[] = {
      {"abfragen", [this] { Abfragen(); }},
      {"klassisch", [this] { Superlearning(0); }},
      {"abgedreht ", [this] { Superlearning(1); }},
      {"techno", [this] { Superlearning(2); }},
      {"super dd ", [this] { Superlearning(3); }},
      {"editor", [this] { Editor(); }},
      {"home", [this] { Home(); }},
  };
  x = 20;
  for (const TStartKnopf& k : startKnoepfe) {
    auto* b = new tXColorButton(this);
    b->setCaption(k.caption);
    b->setObjectName(zek::toQString(k.caption));
    b->setColor(Qt::black);
    b->setFlashColor(kGelb);
    b->setMouseOver(true);
    QFont bf = font();
    bf.setItalic(true);
    bf.setPixelSize(15);
    b->setFont(bf);
    QPalette bp = b->palette();
    bp.setColor(QPalette::ButtonText, Qt::white);
    b->setPalette(bp);
    b->setGeometry(x, 552, 100, 34);
    b->OnClick = [aktion = k.aktion](tXColorButton*) { aktion(); };
    m_startKnoepfe.push_back(b);
    x += 110;
  }
  lernspeicherAufbauen();
}

void TVocOptionen::menueAufbauen() {
  m_menu = new QMenuBar(this);
  m_menu->setGeometry(0, 0, width(), 24);
  m_menu->setAutoFillBackground(true);
  QPalette mp = QApplication::palette();
  m_menu->setPalette(mp);
  const auto add = [this](QMenu* menu, const char* text, auto slot, QKeySequence key = {}) {
    QAction* a = menu->addAction(zek::toQString(text));
    if (!key.isEmpty()) a->setShortcut(key);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  QMenu* datei = m_menu->addMenu(zek::toQString("&Datei"));
  add(datei, "&Neu", [this] { Neu(); });
  add(datei, "\xD6&" "ffnen...", [this] { Oeffnen(); });
  add(datei, "Hinzuf\xFCgen...", [this] { Hinzufuegen(); });
  add(datei, "&Speichern", [this] { Speichern(); });
  add(datei, "Speichern &unter...", [this] { SpeichernUnter(); });
  datei->addSeparator();
  add(datei, "Importieren...", [this] { Importieren(); });
  add(datei, "Exportieren...", [this] { Exportieren(); });
  datei->addSeparator();
  add(datei, "Drucken...", [this] { ListeDrucken(m_bib); });
  add(datei, "Karteikarten drucken...", [this] { KarteikartenDrucken(m_bib); });
  add(datei, "Drucker einrichten...", [this] { TDruckerEinrichten::einrichten(this); });
  datei->addSeparator();
  add(datei, "&Info", [this] { Info(); }, QKeySequence(Qt::Key_F6));
  datei->addSeparator();
  for (int i = 0; i < TZuletztListe::kAnzahl; ++i) {
    m_zuletztAktionen[static_cast<std::size_t>(i)] = add(datei, "", [this, i] { ZuletztOeffnen(i); });
  }
  datei->addSeparator();
  add(datei, "&Editor", [this] { Editor(); });
  add(datei, "&Abfrage", [this] { Abfragen(); });
  add(datei, "&Home", [this] { Home(); }, QKeySequence(Qt::ALT | Qt::Key_X));

  QMenu* bearbeiten = m_menu->addMenu(zek::toQString("&Bearbeiten"));
  add(bearbeiten, "Bibliothek sortieren", [this] { Sortieren(); }, QKeySequence(Qt::CTRL | Qt::Key_S));
  add(bearbeiten, "Bibliothek mischen", [this] { Mischen(); }, QKeySequence(Qt::CTRL | Qt::Key_M));
  add(bearbeiten, "Doppelte Vokabeln entfernen", [this] { DoppelteEntfernen(); }, QKeySequence(Qt::CTRL | Qt::Key_D));

  QMenu* optionen = m_menu->addMenu(zek::toQString("&Optionen"));
  add(optionen, "Superlearning...", [this] {
    if (!openSuperSettingsDialog(this)) notYet("Die Superlearning-Einstellungen", true);
  });
  QMenu* aufnahmen = optionen->addMenu(zek::toQString("Sprachaufnahmen"));
  add(aufnahmen, "Einstellungen...", [] { zek::openRecordingSettings(); });
  add(aufnahmen, "Verwaltung...", [] { zek::openRecordingsWindow(); });
  optionen->addSeparator();
  // Kept with the other quiz settings: saved when the window is left.
  m_grosszuegig = add(optionen, "Antworten gro\xDFz\xFCgig pr\xFC" "fen", [this](bool an) { m_e.Grosszuegig = an; });
  m_grosszuegig->setCheckable(true);

  QMenu* hilfe = m_menu->addMenu(zek::toQString("&Hilfe"));
  m_onlineHilfe = add(hilfe, "&Online-Hilfe", [this] { OnlineHilfe(); });
  m_onlineHilfe->setCheckable(true);
}

void TVocOptionen::zuletztLesen() {
  m_zuletzt.Lesen();
  for (int i = 0; i < TZuletztListe::kAnzahl; ++i) {
    const std::string& pfad = m_zuletzt.Pfade()[static_cast<std::size_t>(i)];
    QAction* a = m_zuletztAktionen[static_cast<std::size_t>(i)];
    // "&&" keeps an ampersand in a path from becoming a mnemonic.
    a->setText(QString("&%1 ").arg(i + 1) + zek::toQString(pfad).replace('&', "&&"));
    // An unused slot would clear the library and look for a file without a name.
    a->setEnabled(!pfad.empty());
  }
}

void TVocOptionen::zuletztMerken() {
  if (m_bib.DateiName().empty()) return;
  m_zuletzt.Aktualisieren(m_bib.DateiName());
  zuletztLesen();
}

tXColorButton* TVocOptionen::StartKnopf(const std::string& caption) const {
  for (tXColorButton* b : m_startKnoepfe) {
    if (zek::fromQString(b->objectName()) == caption) return b;
  }
  return nullptr;
}

void TVocOptionen::einstellungAendern(const std::function<void()>& aendern) {
  if (m_fuellt) return;
  aendern();
  Pruefen();
}

void TVocOptionen::proRundeAnpassen() {
  const int n = static_cast<int>(m_indizes.size());
  if (n == 0) return;
  const bool zufaellig = m_e.Modus == TVocEinstellungen::ModusKreuzUndQuer;
  if (zufaellig) {
    const bool vorher = m_fuellt;
    m_fuellt = true;
    m_proRunde->setRange(kProRundeMinimum, proRundeMaximum(n));
    m_fuellt = vorher;
    m_e.ProRunde = m_proRunde->value();
  }
  m_proRunde->setEnabled(zufaellig);
  m_proRundeText->setEnabled(zufaellig);
  m_proRundeZahl->setEnabled(zufaellig);
}

void TVocOptionen::Aktualisieren() {
  lernspeicherZeigen();
  m_fuellt = true;
  const std::vector<TVokabel>& eintraege = m_bib.Eintraege();
  m_indizes = listenIndizes(eintraege);
  const int n = static_cast<int>(m_indizes.size());

  std::vector<std::string> zeilen;
  zeilen.reserve(m_indizes.size());
  QStringList bereich;
  bereich.reserve(n);
  for (int i = 0; i < n; ++i) {
    const TVokabel& v = eintraege[static_cast<std::size_t>(m_indizes[static_cast<std::size_t>(i)])];
    zeilen.push_back((v.Deutsch ? "\xA7" : "$") + v.Vokabel);
    bereich << QString::number(i + 1) + "   " + zek::toQString(v.Vokabel);
  }
  m_liste->setItems(std::move(zeilen));
  for (QComboBox* c : {m_von, m_bis}) {
    c->clear();
    c->addItems(bereich);
    c->setEnabled(n > 0);
  }
  if (n > 0) {
    // The item of each stored library index; an index inside a gap takes the next entry.
    const auto itemVon = [&](int index) {
      return static_cast<int>(std::lower_bound(m_indizes.begin(), m_indizes.end(), index) - m_indizes.begin());
    };
    int von = m_e.Von >= 0 ? itemVon(m_e.Von) : 0;
    if (von >= n) von = 0;
    int bis = n - 1;
    if (m_e.Bis >= 0) {
      const int b = static_cast<int>(std::upper_bound(m_indizes.begin(), m_indizes.end(), m_e.Bis) - m_indizes.begin()) - 1;
      if (von < b && b < n) bis = b;
    }
    m_von->setCurrentIndex(von);
    m_bis->setCurrentIndex(bis);
  }
  for (std::size_t i = 0; i < m_stufen.size(); ++i) m_stufen[i]->setChecked(m_e.NichtZuSchwer[i]);
  m_name->setText(namensZeile(m_bib.AnzeigeName(), m_name->fontMetrics(), m_name->width()) + "\n" +
                  QString::number(n) + " Vokabeln");
  m_name->setToolTip(zek::toQString(m_bib.DateiName()));
  m_fuellt = false;
  proRundeAnpassen();
  Pruefen();
}

void TVocOptionen::vonBisGewaehlt() {
  if (m_fuellt) return;
  if (m_bis->currentIndex() < m_von->currentIndex()) {
    const int von = m_von->currentIndex();
    m_von->setCurrentIndex(m_bis->currentIndex());
    m_bis->setCurrentIndex(von);
  }
  Pruefen();
}

bool TVocOptionen::Pruefen() {
  if (!m_indizes.empty() && m_von->currentIndex() >= 0 && m_bis->currentIndex() >= 0) {
    m_e.Von = m_indizes[static_cast<std::size_t>(m_von->currentIndex())];
    // The last item stands for "up to the end": entries added later belong to the range.
    const int bis = m_bis->currentIndex();
    m_e.Bis = bis + 1 == static_cast<int>(m_indizes.size()) ? -1 : m_indizes[static_cast<std::size_t>(bis)];
  }
  const int aktiv = m_bib.AktivAnzahl();
  const bool ok = TVokabelAbfrage::Abfragbar(m_e, aktiv);
  m_aktiv->setText(QString::number(aktiv) + " davon aktiv");
  QPalette p = m_aktiv->palette();
  p.setColor(QPalette::WindowText, ok ? kGelb : kRot);
  m_aktiv->setPalette(p);
  m_ampel->setPixmap(ampelBild(ok));
  m_ampel->setToolTip(zek::toQString(ok ? "Einstellungen sind OK!" : "Einstellungen sind NICHT OK!"));
  return ok;
}

bool TVocOptionen::aenderungenSichern() {
  if (!m_bib.Veraendert()) return true;
  const int antwort = showMessage(kFrageSichern, mb::YesNoCancel | mb::IconQuestion);
  if (antwort == mb::IdCancel) return false;
  if (antwort == mb::IdNo) return true;
  // A cancelled or failed save keeps the library as it is.
  return SpeichernUnter();
}

void TVocOptionen::nachLaden() {
  // A failed load can leave no entry at all; the editor's new line must exist so that
  // what is typed next is stored.
  const bool veraendert = m_bib.Veraendert();
  if (m_bib.Eintraege().empty() || !m_bib.Eintraege().back().istLeer()) m_bib.LeerAnhaengen();
  m_bib.setVeraendert(veraendert);
  const int letzter = static_cast<int>(m_bib.Eintraege().size()) - 1;
  if (m_bib.Aktuell() < 0 || m_bib.Aktuell() > letzter) m_bib.setAktuell(letzter);
  m_e.Bis = -1;
  Aktualisieren();
}

bool TVocOptionen::Oeffnen() {
  if (!aenderungenSichern()) return false;
  TFileDialogRequest r;
  r.filter = kFilterOeffnen;
  r.defaultExt = "asc";
  r.directory = Dirs().UserVocabDir;
  const auto gewaehlt = dateiFragen(r);
  if (!gewaehlt) return false;
  bibliotheksOrdnerMerken(*gewaehlt);
  const bool ok = m_bib.Laden(*gewaehlt, true);
  nachLaden();
  return ok;
}

bool TVocOptionen::Hinzufuegen() {
  TFileDialogRequest r;
  r.filter = kFilterOeffnen;
  r.defaultExt = "asc";
  r.directory = Dirs().UserVocabDir;
  const auto gewaehlt = dateiFragen(r);
  if (!gewaehlt) return false;
  const bool ok = m_bib.Laden(*gewaehlt, false);
  nachLaden();
  return ok;
}

bool TVocOptionen::Importieren() {
  if (!aenderungenSichern()) return false;
  TFileDialogRequest r;
  r.title = "Vokabeln importieren";
  r.filter = kFilterAustausch;
  r.directory = Dirs().UserVocabDir;
  const auto gewaehlt = dateiFragen(r);
  if (!gewaehlt) return false;
  const TImportErgebnis e =
      importiereInBibliothek(m_bib, *gewaehlt, formatFuerName(*gewaehlt), TAustauschRichtung::Automatisch);
  nachLaden();
  if (!e.ok()) {
    showMessage(e.fehler, mb::IconStop);
    return false;
  }
  if (!e.uebersprungen.empty() || !e.hinweise.empty()) {
    // The learner sees what was left out or changed; the first few reasons are enough to
    // mend the file.
    std::string text = std::to_string(e.eintraege.size()) + " Eintr\xE4ge \xFC" "bernommen";
    text += e.uebersprungen.empty() ? std::string(".")
                                    : ", " + std::to_string(e.uebersprungen.size()) + " \xFC" "bersprungen:";
    const auto zeilen = [&text](const std::vector<TAustauschMeldung>& liste) {
      for (std::size_t i = 0; i < liste.size() && i < 5; ++i) {
        text += "\r";
        if (liste[i].zeile > 0) text += "Zeile " + std::to_string(liste[i].zeile) + ": ";
        text += liste[i].text;
      }
      if (liste.size() > 5) text += "\r...";
    };
    zeilen(e.uebersprungen);
    if (!e.hinweise.empty()) text += e.uebersprungen.empty() ? "\r" : "\rHinweise:";
    zeilen(e.hinweise);
    showMessage(text, e.uebersprungen.empty() ? mb::IconInformation : 0);
  }
  return true;
}

bool TVocOptionen::Exportieren() {
  TFileDialogRequest r;
  r.save = true;
  r.title = "Vokabeln exportieren";
  r.filter = kFilterAustausch;
  r.defaultExt = "txt";
  r.directory = m_bib.DateiName().empty() ? Dirs().UserVocabDir : zek::directoryPart(m_bib.DateiName());
  const auto gewaehlt = dateiFragen(r);
  if (!gewaehlt) return false;
  // The type chosen in the dialog wins over the name's extension.
  const TAustauschFormat format = lastChosenFilter() == 1 ? TAustauschFormat::Kvtml : formatFuerName(*gewaehlt);
  const std::string fehler = exportiereDatei(m_bib.Eintraege(), *gewaehlt, format);
  if (!fehler.empty()) {
    showMessage(fehler, mb::IconStop);
    return false;
  }
  if (const std::string hinweis = steuerzeichenHinweis(eintraegeMitSteuerzeichen(m_bib.Eintraege()).size());
      !hinweis.empty())
    showMessage(hinweis, mb::IconInformation);
  return true;
}

bool TVocOptionen::ZuletztOeffnen(int slot) {
  if (slot < 0 || slot >= TZuletztListe::kAnzahl) return false;
  const std::string pfad = m_zuletzt.Pfade()[static_cast<std::size_t>(slot)];
  if (pfad.empty() || !aenderungenSichern()) return false;
  const bool ok = m_bib.Laden(pfad, true);
  nachLaden();
  return ok;
}

bool TVocOptionen::speichernNach(const std::string& pfad) {
  const bool ok = m_bib.Speichern(pfad);
  // Only a library that now has its file goes into the recent list.
  if (ok) {
    zuletztMerken();
    bibliotheksOrdnerMerken(pfad);
  }
  Aktualisieren();
  return ok;
}

bool TVocOptionen::Speichern() {
  if (!m_bib.DateiName().empty()) return speichernNach(m_bib.DateiName());
  TFileDialogRequest r;
  r.save = true;
  r.filter = kFilterSpeichern;
  r.defaultExt = "asc";
  r.directory = Dirs().UserVocabDir;
  const auto gewaehlt = dateiFragen(r);
  if (!gewaehlt) return false;
  return speichernNach(*gewaehlt);
}

bool TVocOptionen::SpeichernUnter() {
  TFileDialogRequest r;
  r.save = true;
  r.filter = kFilterSpeichern;
  r.defaultExt = "asc";
  r.directory = m_bib.DateiName().empty() ? Dirs().UserVocabDir : zek::directoryPart(m_bib.DateiName());
  r.fileName = zek::fileNamePart(m_bib.DateiName());
  const auto gewaehlt = dateiFragen(r);
  if (!gewaehlt) return false;
  return speichernNach(*gewaehlt);
}

bool TVocOptionen::Neu() {
  if (!aenderungenSichern()) return false;
  m_bib.Leeren(true);
  m_e.Bis = -1;
  Aktualisieren();
  return true;
}

void TVocOptionen::Info() { TBInfo::zeigen(m_bib, this); }

void TVocOptionen::Sortieren() {
  m_bib.Sortieren();
  Aktualisieren();
}

void TVocOptionen::Mischen() {
  m_bib.Mischen();
  Aktualisieren();
}

void TVocOptionen::DoppelteEntfernen() {
  const bool genug = m_bib.Eintraege().size() > 1;
  const int n = m_bib.DoppelteRaus(true);
  if (genug) showMessage(std::to_string(n) + " doppelte Vokabeln wurden entfernt!", mb::IconInformation);
  Aktualisieren();
}

void TVocOptionen::verlassen() {
  if (!m_e.EinstellungenSpeichern()) {
    showMessage("Die Einstellungen konnten nicht gespeichert werden.", mb::IconStop);
  }
}

void TVocOptionen::Abfragen() {
  Pruefen();
  if (!m_bib.Abfrage().QuizBereit()) return;
  if (tXColorButton* b = StartKnopf("abfragen")) b->setEnabled(false);
  verlassen();
  closeRunning("vabfrage");
}

void TVocOptionen::Superlearning(int style) {
  Pruefen();
  if (!m_bib.BibliothekGeladen()) {
    Aktualisieren();
    return;
  }
  static const char* const kKnopf[] = {"klassisch", "abgedreht ", "techno", "super dd "};
  if (style == 0 || style == 1) {
    QWidget* fade = makePresentation(style, "Opts", pos());
    if (!fade) {
      notYet("Superlearning");
      return;
    }
    if (tXColorButton* b = StartKnopf(kKnopf[style])) b->setEnabled(false);
    verlassen();
    handOver(this, fade);
    return;
  }
  // The page styles run on the main window's page view: it takes over with the style chosen.
  if (tXColorButton* b = StartKnopf(kKnopf[style])) b->setEnabled(false);
  verlassen();
  closeRunning(style == 2 ? "sm2,super" : "sm3,super");
}

void TVocOptionen::Editor() {
  QWidget* editor = m_wege.editor ? m_wege.editor() : nullptr;
  if (!editor) {
    notYet("Der Vokabel-Editor");
    return;
  }
  verlassen();
  handOver(this, editor);
}

void TVocOptionen::Home() { close(); }

bool TVocOptionen::FormCloseQuery() {
  verlassen();
  return true;
}

void TVocOptionen::OnlineHilfe() {
  appState().OnlineHelp = !appState().OnlineHelp;
  m_onlineHilfe->setChecked(appState().OnlineHelp);
  saveGeneralSettings();
}

bool TVocOptionen::eventFilter(QObject* watched, QEvent* e) {
  // Hints are the online help: while it is off, this window shows none.
  if (e->type() == QEvent::ToolTip && !appState().OnlineHelp) {
    if (auto* w = qobject_cast<QWidget*>(watched); w && w->window() == this) return true;
  }
  return TTrainerWindow::eventFilter(watched, e);
}

void TVocOptionen::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kHintergrund);
  p.setPen(QPen(QColor(90, 130, 200), 1));
  p.drawLine(295, 36, 295, 536);
  p.drawLine(495, 36, 495, 480);
  p.drawLine(0, 542, width(), 542);
}

void TVocOptionen::lernspeicherAufbauen() {
  m_lernAn = checkBox(this, "Lernspeicher", "Antworten merken und f\xE4llige Vokabeln wiederholen", 510, 282);
  m_lernAn->OnClick = [this](TXCustomCheckBox* b) {
    TLernEinstellungen e = TLernEinstellungen::laden(TSettingsStore::global());
    e.aktiv = b->Checked();
    e.speichern(TSettingsStore::global());
    if (m_wege.lernspeicherGeaendert) m_wege.lernspeicherGeaendert();
    lernspeicherZeigen();
  };
  m_faellig = label(this, "", 510, 310, 270);
  m_faellig->setObjectName(zek::toQString("Heute f\xE4llig"));
  const auto knopf = [this](const char* caption, const char* hint, int x, std::function<void()> aktion) {
    auto* b = new tXColorButton(this);
    b->setCaption(caption);
    b->setObjectName(zek::toQString(caption));
    b->setToolTip(zek::toQString(hint));
    b->setColor(kFeld);
    b->setFlashColor(kGelb);
    b->setMouseOver(true);
    QPalette bp = b->palette();
    bp.setColor(QPalette::ButtonText, Qt::white);
    b->setPalette(bp);
    b->setGeometry(x, 334, 130, 28);
    b->OnClick = [aktion = std::move(aktion)](tXColorButton*) { aktion(); };
    return b;
  };
  m_lernTeile.push_back(m_faellig);
  m_lernTeile.push_back(knopf("wiederholen", "Die heute f\xE4lligen Vokabeln aller Bibliotheken abfragen", 510,
                              [this] { Wiederholen(); }));
  m_lernTeile.push_back(knopf("Lernfortschritt", "Antworten, Stand und F\xE4lligkeiten ansehen", 650, [this] {
    if (m_wege.lernfortschritt) m_wege.lernfortschritt(this);
    lernspeicherZeigen();
  }));
  m_behaltenText = label(this, "", 510, 376, 270);
  m_behalten = new QSlider(Qt::Horizontal, this);
  m_behalten->setObjectName("Behalten");
  m_behalten->setToolTip(zek::toQString("Wie sicher eine Vokabel noch sitzen soll, wenn sie wiederkommt"));
  m_behalten->setRange(TLernEinstellungen::kBehaltenMin, TLernEinstellungen::kBehaltenMax);
  m_behalten->setGeometry(510, 398, 270, 24);
  m_behalten->setValue(TLernEinstellungen::laden(TSettingsStore::global()).behalten);
  connect(m_behalten, &QSlider::valueChanged, this, [this](int v) {
    m_behaltenText->setText(zek::toQString("Behalten beim Wiederholen: " + std::to_string(v) + " %"));
    TLernEinstellungen e = TLernEinstellungen::laden(TSettingsStore::global());
    if (e.behalten == v) return;
    e.behalten = v;
    e.speichern(TSettingsStore::global());
    if (m_wege.lernspeicherGeaendert) m_wege.lernspeicherGeaendert();
  });
  m_behaltenText->setText(zek::toQString("Behalten beim Wiederholen: " + std::to_string(m_behalten->value()) + " %"));
  m_lernTeile.push_back(m_behaltenText);
  m_lernTeile.push_back(m_behalten);
}

void TVocOptionen::lernspeicherZeigen() {
  if (!m_lernAn) return;
  const bool an = TLernEinstellungen::laden(TSettingsStore::global()).aktiv;
  m_lernAn->setChecked(an);
  for (QWidget* w : m_lernTeile) w->setVisible(an);
  m_faellig->setText(zek::toQString("Heute f\xE4llig: " + std::to_string(lernspeicher().faelligAnzahl(TLernArt::Vokabel))));
}

void TVocOptionen::Wiederholen() {
  if (lernspeicher().faelligAnzahl(TLernArt::Vokabel) == 0) {
    showMessage("Heute ist keine Vokabel f\xE4llig.", mb::Ok | mb::IconInformation);
    return;
  }
  verlassen();
  closeRunning("vokfaellig");
}
