// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/tsprachlabor.h"

#include "lab/labbilder.h"
#include "lab/taussprache.h"
#include "lab/labtabelle.h"
#include "media/mediacommand.h"
#include "media/tspeech.h"
#include "media/twaverec.h"
#include "memory/tlernspeicher.h"
#include "lab/trecsetup.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/eigeneantworten.h"
#include "platform/files.h"
#include "platform/imagedecoder.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "widgets/txcoloredit.h"
#include "widgets/txcolorbutton.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

const char* const kSubKey = "\\Sprachlabor";
const char* const kMsgNichtGefunden = "Die zek englisch CD-ROM wurde nicht gefunden!";
const QColor kFarbe(204, 153, 255);
const char* const kTrainer = "lab";
const char* const kEigeneRichtig = "Meine Antwort war richtig";
const char* const kEigeneZuruecknehmen = "Eigene Antworten zu diesem Satz zur\xFC" "cknehmen";

bool beginntMit(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

QLabel* label(QWidget* parent, const char* name, const QRect& r, Qt::Alignment align, bool wrap) {
  auto* l = new QLabel(parent);
  l->setObjectName(zek::toQString(name));
  l->setTextFormat(Qt::PlainText);
  l->setGeometry(r);
  l->setAlignment(align);
  l->setWordWrap(wrap);
  return l;
}

void setLabelText(QLabel* l, const std::string& text) { l->setText(zek::toQString(text)); }

QImage ladeBild(const std::string& name) {
  if (!zek::fileExists(name)) return {};
  const auto bytes = zek::readFile(zek::resolveName(name), 16u << 20);
  if (!bytes) return {};
  zek::TDecodedImage image = zek::decodeImage(*bytes, zek::imageFormatFromName(name));
  if (!image.ok()) return {};
  const zek::TImageFrame& frame = image.frames.front();
  return QImage(frame.bgr.data(), image.width, image.height, image.width * 3, QImage::Format_BGR888)
      .convertToFormat(QImage::Format_RGB32);
}

}  // namespace

TSprachlabor::TSprachlabor(int themaAnfrage, QWidget* parent)
    : TTrainerWindow(parent),
      m_rng(static_cast<std::mt19937::result_type>(std::chrono::steady_clock::now().time_since_epoch().count())) {
  setObjectName("TSprachlabor");
  setFixedSize(800, 572);
  // Scripted runs fix the sequence of sentences; minstd is the same on every library.
  if (const char* seed = std::getenv("ZEK_SEED"); seed && *seed) {
    m_zufall = [rng = std::minstd_rand(static_cast<std::minstd_rand::result_type>(std::atol(seed)))](int n) mutable {
      return static_cast<int>(rng() % static_cast<unsigned>(n));
    };
  }
  bauen();

  // 2. The lab types no special characters.
  m_eingabe->setSpecialChars("");
  // 3.
  m_themen.ladenEingebaut();
  const int thema = themaAnfrage == -1 ? readSettingInteger(kSubKey, "Thema", 0) : themaAnfrage;
  m_themen.setAktThema(thema);
  // 4.
  zek::ensureWaveRec();
  // 5.
  bauMenu();
  // 6.
  setLabelText(m_themaLabel, m_themen.thema() ? m_themen.thema()->name() : std::string());
  m_themaLabel->adjustSize();
  lernspeicher().rundeBeginnen(TLernArt::Labor);
  naechsterSatz();
  zeigeSatz();
}

TSprachlabor::~TSprachlabor() { schliessen(); }

void TSprachlabor::bauen() {
  // 1.
  setWindowTitle(zek::toQString(kAppTitle));
  QFont f("Arial");
  f.setPixelSize(13);
  f.setBold(true);
  setFont(f);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kFarbe);
  pal.setColor(QPalette::WindowText, Qt::black);
  setPalette(pal);
  setAutoFillBackground(true);

  m_bild = ladeBild(Dirs().PageBase + "hzek/e_gfx/carwash.jpg");

  // The black area ends at y 268: the title's descenders must stay above it.
  m_themaLabel = label(this, "Thema", QRect(410, 234, 380, 32), Qt::AlignLeft | Qt::AlignTop, false);
  QFont tf("Verdana");
  tf.setPixelSize(27);
  tf.setBold(true);
  m_themaLabel->setFont(tf);
  if (QFontInfo(m_themaLabel->font()).family() != QLatin1String("Verdana")) {
    tf.setFamily("Arial");
    m_themaLabel->setFont(tf);
    m_themaLabel->move(410, 236);
  }
  QPalette tp = m_themaLabel->palette();
  tp.setColor(QPalette::WindowText, kFarbe);
  m_themaLabel->setPalette(tp);
  setHinweis(m_themaLabel, "Thema ausw\xE4hlen (rechte Maustaste!)");

  const QImage aufnahmeAus = labbilder::aufnahme(false);
  const QImage abspielenAus = labbilder::abspielen(false);
  m_aufnahmeGesperrt = labbilder::gesperrt(aufnahmeAus);
  m_abspielenGesperrt = labbilder::gesperrt(abspielenAus);
  m_aufnahme = new tXColorButton(this);
  m_aufnahme->setGeometry(560, 110, 40, 40);
  m_aufnahme->setPicture1(aufnahmeAus);
  m_aufnahme->setPicture2(labbilder::aufnahme(true));
  m_aufnahme->setImage(&m_aufnahmeGesperrt);
  m_aufnahme->setColor(Qt::black);
  m_aufnahme->setOnOff(true);
  setHinweis(m_aufnahme, "Aufnahme starten");
  m_aufnahme->OnTurnOn = [this](tXColorButton*) { AufnahmeAn(); };
  m_aufnahme->OnTurnOff = [this](tXColorButton*) { AufnahmeAus(); };

  m_abspielen = new tXColorButton(this);
  m_abspielen->setGeometry(600, 110, 40, 40);
  m_abspielen->setPicture1(abspielenAus);
  m_abspielen->setPicture2(labbilder::abspielen(true));
  m_abspielen->setImage(&m_abspielenGesperrt);
  m_abspielen->setColor(Qt::black);
  m_abspielen->setOnOff(true);
  m_abspielen->setEnabled(false);
  setHinweis(m_abspielen, "Aufnahme abspielen");
  m_abspielen->OnTurnOn = [this](tXColorButton*) { AbspielenAn(); };
  m_abspielen->OnTurnOff = [this](tXColorButton*) { AbspielenAus(); };

  m_deutsch = label(this, "Deutsch", QRect(200, 350, 401, 34), Qt::AlignHCenter | Qt::AlignTop, true);

  m_vorlesen = new tXColorButton(this);
  m_vorlesen->setGeometry(20, 390, 100, 32);
  m_vorlesen->setColor(kFarbe);
  m_vorlesen->setPicture1(labbilder::vorlesen(QSize(100, 32), kFarbe, Qt::black));
  m_vorlesen->setPicture2(labbilder::vorlesen(QSize(100, 32), kFarbe, Qt::white));
  m_vorlesen->setMouseOver(true);
  setHinweis(m_vorlesen, "Vorlesen");
  m_vorlesen->OnClick = [this](tXColorButton*) { VorlesenClick(); };
  if (Dirs().SoundDir.empty()) m_vorlesen->hide();

  // The solution lies under the field: hiding the field uncovers it.
  m_loesung = label(this, "L\xF6sung", QRect(200, 390, 401, 31), Qt::AlignHCenter | Qt::AlignVCenter, true);

  m_eingabe = new tXColorEdit(this);
  m_eingabe->setGeometry(140, 390, 550, 31);
  m_eingabe->setColor(Qt::white);
  m_eingabe->setBorder(true);
  m_eingabe->setFarbe("$ff99ff");
  m_eingabe->setFont(font());
  setHinweis(m_eingabe, "\xDC" "bersetzung eintippen");
  m_eingabe->OnRichtig = [this](tXColorEdit* f) {
    merken(true, f->Attempts());
    setLabelText(m_meldung, "Richtig!");
    m_eingabe->hide();
  };
  m_eingabe->OnFalsch = [this](tXColorEdit* f) {
    merken(false, f->Attempts());
    setLabelText(m_meldung, "Leider verloren");
    m_eingabe->hide();
    // The learner may know better than the table: his refused answer can count as right.
    m_verworfen = m_eingabe->Text();
    m_eigeneRichtig->setToolTip(zek::toQString("\x84" + m_verworfen + "\x93 z\xE4hlt als richtig und wird k\xFCnftig angenommen"));
    m_eigeneRichtig->setVisible(!m_verworfen.empty() && Satz().nummer() >= 0);
  };
  m_eingabe->OnBeinahe = [this](tXColorEdit*) { setLabelText(m_meldung, "Dicht daneben!"); };
  // "Try again" wipes the text; without a word the learner would not know why.
  m_eingabe->OnReturn = [this](tXColorEdit*) {
    if (m_eingabe->isVisible() && m_eingabe->Text().empty())
      setLabelText(m_meldung, "Leider nicht richtig \x96 bitte noch einmal versuchen.");
  };

  m_weiter = new tXColorButton(this);
  m_weiter->setGeometry(20, 430, 100, 31);
  m_weiter->setCaption("Weiter");
  m_weiter->setColor(kFarbe);
  m_weiter->setFlashColor(Qt::white);
  m_weiter->setMouseOver(true);
  QPalette wp = m_weiter->palette();
  wp.setColor(QPalette::ButtonText, Qt::white);
  m_weiter->setPalette(wp);
  setHinweis(m_weiter, "N\xE4" "chster Satz");
  m_weiter->OnClick = [this](tXColorButton*) { WeiterClick(); };

  m_meldung = label(this, "Meldung", QRect(200, 440, 401, 21), Qt::AlignHCenter | Qt::AlignVCenter, false);

  m_eigeneRichtig = new tXColorButton(this);
  m_eigeneRichtig->setGeometry(250, 470, 301, 31);
  m_eigeneRichtig->setCaption(kEigeneRichtig);
  m_eigeneRichtig->setObjectName(kEigeneRichtig);
  m_eigeneRichtig->setColor(kFarbe);
  m_eigeneRichtig->setFlashColor(Qt::white);
  m_eigeneRichtig->setMouseOver(true);
  m_eigeneRichtig->setPalette(wp);
  setHinweis(m_eigeneRichtig, "Ihre Antwort z\xE4hlt als richtig und wird k\xFCnftig angenommen");
  m_eigeneRichtig->OnClick = [this](tXColorButton*) { EigeneRichtigClick(); };
  m_eigeneRichtig->hide();

  m_home = new tXColorButton(this);
  m_home->setGeometry(330, 538, 141, 31);
  m_home->setCaption("home");
  m_home->setObjectName("home");
  m_home->setColor(Qt::black);
  m_home->setFlashColor(kFarbe);
  m_home->setMouseOver(true);
  QFont hf = font();
  hf.setItalic(true);
  m_home->setFont(hf);
  QPalette hp = m_home->palette();
  hp.setColor(QPalette::ButtonText, Qt::white);
  m_home->setPalette(hp);
  m_home->OnClick = [this](tXColorButton*) { HomeClick(); };

  m_timer.setParent(this);
  connect(&m_timer, &QTimer::timeout, this, &TSprachlabor::TimerTick);
}

void TSprachlabor::bauMenu() {
  m_menu = new QMenu(this);
  m_menu->setObjectName("Sprachlabor-Men\xFC");
  QAction* einstellungen = m_menu->addAction(zek::toQString("Aufnahme-Einstellungen"));
  connect(einstellungen, &QAction::triggered, this, [this] { AufnahmeEinstellungenClick(); });
  m_menu->addSeparator();
  m_diktieren = m_menu->addAction(zek::toQString("Diktieren"));
  m_uebersetzung = m_menu->addAction(zek::toQString("\xDC" "bersetzung anzeigen"));
  for (QAction* a : {m_diktieren, m_uebersetzung}) {
    a->setCheckable(true);
    a->setChecked(true);
    // The sentence stays; only what is shown of it changes.
    connect(a, &QAction::triggered, this, [this] { zeigeSatz(); });
  }
  // Kept between openings, unlike the two above.
  m_grosszuegig = m_menu->addAction(zek::toQString("Antworten gro\xDFz\xFCgig pr\xFC" "fen"));
  m_grosszuegig->setCheckable(true);
  m_grosszuegig->setChecked(readTolerantChecking(TTolerantScope::Sprachlabor));
  m_eingabe->setTolerant(m_grosszuegig->isChecked());
  connect(m_grosszuegig, &QAction::triggered, this, [this](bool on) {
    m_eingabe->setTolerant(on);
    writeTolerantChecking(TTolerantScope::Sprachlabor, on);
  });
  m_zuruecknehmen = m_menu->addAction(zek::toQString(kEigeneZuruecknehmen));
  connect(m_zuruecknehmen, &QAction::triggered, this, [this] { EigeneZuruecknehmenClick(); });
  std::vector<std::string> saetze;
  for (std::size_t i = 0; i < m_themen.size(); ++i) {
    for (const TSatz& satz : m_themen[i].saetze()) saetze.push_back(satz.englisch);
  }
  m_aussprache = new TAussprache(this, m_menu, std::move(saetze));
  m_menu->addSeparator();
  // 18 topics stay below the 21 items at which a second column would start.
  auto* gruppe = new QActionGroup(m_menu);
  gruppe->setExclusive(true);
  for (std::size_t i = 0; i < m_themen.size(); ++i) {
    QAction* a = m_menu->addAction(zek::toQString(m_themen[i].name()));
    a->setCheckable(true);
    gruppe->addAction(a);
    const int index = static_cast<int>(i);
    connect(a, &QAction::triggered, this, [this, index] { ThemaClick(index); });
    m_themaItems.push_back(a);
  }
  if (!m_themaItems.empty()) ThemaItem(m_themen.aktThema())->setChecked(true);
}

void TSprachlabor::setHinweis(QWidget* w, const char* hint) {
  w->setToolTip(zek::toQString(hint));
  if (w->objectName().isEmpty()) w->setObjectName(zek::toQString(hint));
  w->installEventFilter(this);
}

bool TSprachlabor::eventFilter(QObject* watched, QEvent* e) {
  // Hints follow the online-help setting; the names stay for everything that looks them up.
  if (e->type() == QEvent::ToolTip && !appState().OnlineHelp) return true;
  return TTrainerWindow::eventFilter(watched, e);
}

const TSatz& TSprachlabor::Satz() const {
  static const TSatz leer;
  const TSatz* s = m_themen.satz();
  return s ? *s : leer;
}

void TSprachlabor::naechsterSatz() {
  const auto draw = [this](int n) {
    if (m_zufall) return m_zufall(n);
    return std::uniform_int_distribution<int>(0, n - 1)(m_rng);
  };
  // Events run between draws, but no clicks: a second "Weiter" must not start a pick
  // inside this one.
  m_themen.naechsterSatz(draw, [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
}

void TSprachlabor::zeigeSatz() {
  const TSatz& s = Satz();
  m_eingabe->Reset();
  QFont f = m_eingabe->Font();
  f.setPointSize(10);
  m_eingabe->setFont(f);
  const long breite = static_cast<long>(m_eingabe->TextWidthOf("_")) * static_cast<long>(s.englisch.size());
  if (breite >= m_eingabe->width() - 40) {
    f.setPointSize(9);
    m_eingabe->setFont(f);
  }
  m_eingabe->setLsg(loesungen());
  m_eingabe->setHilfe(s.hinweis);
  setLabelText(m_deutsch, m_uebersetzung->isChecked() ? s.deutsch : std::string());
  if (m_diktieren->isChecked()) {
    m_eingabe->setText("");
    m_eingabe->show();
    fokusAufEingabe();
  } else {
    m_eingabe->hide();
  }
  setLabelText(m_loesung, s.englisch);
  m_meldung->clear();
  m_verworfen.clear();
  m_eigeneRichtig->hide();
  m_zuruecknehmen->setEnabled(!eigene().empty());
  if (m_aussprache) m_aussprache->neuerSatz(s.englisch, s.datei);
}

std::string TSprachlabor::schluessel() const {
  const int n = Satz().nummer();
  if (n < 0) return {};
  char key[16];
  std::snprintf(key, sizeof key, "%04d", n);
  return key;
}

std::vector<std::string> TSprachlabor::eigene() const {
  const std::string key = schluessel();
  return key.empty() ? std::vector<std::string>{} : TEigeneAntworten::global().antworten(kTrainer, key);
}

std::vector<std::string> TSprachlabor::loesungen() const {
  std::vector<std::string> lsg = Satz().loesungen();
  for (std::string& e : eigene())
    if (std::find(lsg.begin(), lsg.end(), e) == lsg.end()) lsg.push_back(std::move(e));
  return lsg;
}

void TSprachlabor::EigeneRichtigClick() {
  const std::string key = schluessel();
  if (m_verworfen.empty() || key.empty()) return;
  if (!TEigeneAntworten::global().hinzufuegen(kTrainer, key, m_verworfen)) {
    showMessage("Ihre Antwort konnte nicht gespeichert werden.", mb::IconStop);
    return;
  }
  m_eigeneRichtig->hide();
  m_zuruecknehmen->setEnabled(true);
  // The field is hidden; the next showing of this sentence takes the answer.
  m_eingabe->setLsg(loesungen());
  setLabelText(m_meldung, "Richtig! Diese Antwort gilt von nun an.");
}

void TSprachlabor::EigeneZuruecknehmenClick() {
  const std::string key = schluessel();
  bool ok = true;
  for (const std::string& e : eigene()) ok = TEigeneAntworten::global().entfernen(kTrainer, key, e) && ok;
  if (!ok) {
    showMessage("Ihre Antworten konnten nicht gespeichert werden.", mb::IconStop);
    return;
  }
  m_zuruecknehmen->setEnabled(false);
  m_eingabe->setLsg(loesungen());
  setLabelText(m_meldung, "Ihre eigenen Antworten zu diesem Satz gelten nicht mehr.");
}

void TSprachlabor::fokusAufEingabe() {
  if (isVisible() && m_eingabe->isVisible() && m_eingabe->isEnabled()) m_eingabe->setFocus(Qt::OtherFocusReason);
}

void TSprachlabor::showEvent(QShowEvent* e) {
  TTrainerWindow::showEvent(e);
  fokusAufEingabe();
}

void TSprachlabor::keyPressEvent(QKeyEvent* e) {
  // Once the sentence is answered the field is gone: Return goes on to the next one.
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && m_eingabe->isHidden()) {
    WeiterClick();
    return;
  }
  // Escape leaves the lab as "home" does.
  if (e->key() == Qt::Key_Escape) {
    HomeClick();
    return;
  }
  TTrainerWindow::keyPressEvent(e);
}

void TSprachlabor::WeiterClick() {
  naechsterSatz();
  zeigeSatz();
}

void TSprachlabor::ThemaClick(int index) {
  if (index == m_themen.aktThema()) {
    // The exclusive group keeps the mark; nothing else changes.
    ThemaItem(index)->setChecked(true);
    return;
  }
  m_themen.setAktThema(index);
  ThemaItem(m_themen.aktThema())->setChecked(true);
  setLabelText(m_themaLabel, m_themen.thema() ? m_themen.thema()->name() : std::string());
  m_themaLabel->adjustSize();
  naechsterSatz();
  zeigeSatz();
}

void TSprachlabor::VorlesenClick() {
  sendMediaCommand("close satz", true);
  const std::string& datei = Satz().datei;
  // An empty sound file would name the folder "Labor\" itself; a quote would end the name.
  const std::string file = datei.empty() ? std::string() : resolveMediaPath("XE:\\Labor\\" + datei).file;
  if (file.empty() || file.find('"') != std::string::npos) {
    showMessage(kMsgNichtGefunden, mb::IconStop);
    return;
  }
  const std::string reply = sendMediaCommand("open \"" + file + "\" type waveaudio alias satz", false);
  if (beginntMit(reply, "Error")) return;
  sendMediaCommand("play satz from 0", true);
  fokusAufEingabe();
}

void TSprachlabor::ruhe(bool aufnahmeDa) {
  m_timer.stop();
  m_aufnahme->setIsOn(false);
  m_aufnahme->setEnabled(true);
  m_abspielen->setIsOn(false);
  m_abspielen->setEnabled(aufnahmeDa);
}

void TSprachlabor::AufnahmeAn() {
  tWaveRec& rec = zek::ensureWaveRec();
  if (beginntMit(rec.record(), "Error")) {
    // No microphone (the recorder has said so): nothing runs.
    ruhe(m_abspielen->isEnabled());
    return;
  }
  m_timer.start(kRecordMs);
  m_abspielen->setEnabled(false);
  m_aussprache->aufnahmeBeginnt();
}

void TSprachlabor::AufnahmeAus() {
  zek::ensureWaveRec().stop();
  m_timer.stop();
  m_abspielen->setEnabled(true);
  m_aussprache->aufnahmeFertig();
}

void TSprachlabor::AbspielenAn() {
  if (beginntMit(zek::ensureWaveRec().play(), "Error")) {
    ruhe(true);
    return;
  }
  m_timer.start(kPlayMs);
  m_aufnahme->setEnabled(false);
}

void TSprachlabor::AbspielenAus() {
  zek::ensureWaveRec().stop();
  m_timer.stop();
  m_aufnahme->setEnabled(true);
}

void TSprachlabor::TimerTick() {
  tWaveRec* rec = zek::waveRec();
  // A tick inside a message box of the tick before, or after the recorder went: nothing.
  if (m_imTick || !rec) {
    if (!rec) m_timer.stop();
    return;
  }
  m_imTick = true;
  const std::string position = rec->position();
  if (beginntMit(position, "Error")) {
    m_timer.stop();
    m_imTick = false;
    return;
  }
  if (std::atol(position.c_str()) > kMaxMs) {
    rec->stop();
    m_timer.stop();
  }
  const std::string mode = rec->mode();
  m_imTick = false;
  if (!beginntMit(mode, "stop") && !beginntMit(mode, "been")) return;
  m_timer.stop();
  const bool warAufnahme = m_aufnahme->IsOn();
  if (m_aufnahme->IsOn()) m_aufnahme->setIsOn(false);
  m_aufnahme->setEnabled(true);
  if (m_abspielen->IsOn()) m_abspielen->setIsOn(false);
  m_abspielen->setEnabled(true);
  if (warAufnahme) m_aussprache->aufnahmeFertig();
}

void TSprachlabor::AufnahmeEinstellungenClick() {
  // The dialog starts a new take: whatever runs stops first, and there is nothing to play after.
  if (m_aufnahme->IsOn() || m_abspielen->IsOn()) zek::ensureWaveRec().stop();
  ruhe(false);
  TRecSetup::run(this);
  ruhe(false);
}

void TSprachlabor::HomeClick() {
  m_home->setEnabled(false);
  close();
}

bool TSprachlabor::FormCloseQuery() {
  if (!m_geschlossen) sitzungsBilanz();
  schliessen();
  return true;
}

void TSprachlabor::schliessen() {
  if (m_geschlossen) return;
  m_geschlossen = true;
  // No tick may reach the recorder once it is gone.
  m_timer.stop();
  m_aufnahme->setIsOn(false);
  m_abspielen->setIsOn(false);
  sendMediaCommand("close satz", true);
  m_aussprache->beenden();
  TSettingsStore::global().writeInteger(settingsKey(kSubKey), "Thema", m_themen.aktThema());
  if (tWaveRec* rec = zek::waveRec()) rec->saveSettings();
  zek::freeWaveRec();
}

void TSprachlabor::contextMenuEvent(QContextMenuEvent* e) {
  m_menu->popup(e->globalPos());
  e->accept();
}

void TSprachlabor::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kFarbe);
  p.fillRect(QRect(400, 0, 401, 268), Qt::black);
  if (!m_bild.isNull()) p.drawImage(QRect(0, 0, 400, 267), m_bild);
  p.fillRect(QRect(0, 534, 801, 39), Qt::black);
}

void TSprachlabor::sitzungsBilanz() {
  std::optional<TRundenBilanz> b = lernspeicher().rundeAbschliessen(TLernArt::Labor);
  if (!b || b->leer()) return;
  // The learner knows a sentence by its words, not by its number in the table.
  for (std::string& f : b->falsche)
    if (f.size() > 5 && f[4] == ' ' && std::all_of(f.begin(), f.begin() + 4, [](char c) { return c >= '0' && c <= '9'; }))
      f.erase(0, 5);
  showMessage("Sprachlabor: Sitzung beendet.\r\r" + rundenBilanzText(*b, "\r", "Diese Sitzung"), mb::Ok | mb::IconInformation);
}

void TSprachlabor::merken(bool richtig, int versuche) {
  const TSatz* satz = m_themen.satz();
  if (!satz) return;
  TLernAntwort a;
  a.art = TLernArt::Labor;
  a.sammlung = "Sprachlabor";
  a.frage = labSchluessel(*satz);
  a.richtig = richtig;
  a.versuche = std::max(versuche, 1);
  a.gegeben = m_eingabe->Text();
  lernspeicher().antwort(a);
}
