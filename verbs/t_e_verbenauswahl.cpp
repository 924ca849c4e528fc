// SPDX-License-Identifier: GPL-3.0-or-later
#include "verbs/t_e_verbenauswahl.h"

#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/messages.h"
#include "verbs/tverben.h"
#include "widgets/txcheckbox.h"
#include "widgets/txcolorbutton.h"
#include "widgets/txlistbox.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

#include <algorithm>

namespace {

constexpr char kAn = static_cast<char>(0xA7);  // "§"
constexpr char kAus = '$';
const QColor kHintergrund(255, 204, 51);
const QColor kPanel(64, 190, 239);
const QColor kListe(153, 255, 51);
const char* const kMsgUnmoeglich = "Bei diesen Einstellungen ist eine Abfrage unm\xF6glich!";

// The list shows each verb's state in front of it: a ticked box for on, an empty one for off.
QImage markerIcon(bool on) {
  QImage icon(24, 25, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(on ? QColor(Qt::white) : QColor(220, 240, 200));
  p.drawRect(QRectF(5.5, 6.5, 12, 12));
  if (on) {
    p.setPen(QPen(QColor(0, 110, 0), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF tick[] = {{8, 12.5}, {10.8, 15.5}, {15.5, 9}};
    p.drawPolyline(tick, 3);
  }
  return icon;
}

QLabel* label(QWidget* parent, const char* text, int x, int y) {
  auto* l = new QLabel(zek::toQString(text), parent);
  l->move(x, y);
  l->adjustSize();
  return l;
}

tXColorButton* button(QWidget* parent, const char* caption, const QRect& r) {
  auto* b = new tXColorButton(parent);
  b->setCaption(caption);
  b->setObjectName(zek::toQString(caption));
  b->setGeometry(r);
  return b;
}

}  // namespace

T_E_VerbenAuswahl::T_E_VerbenAuswahl(TVerben& verben, QWidget* parent) : TTrainerWindow(parent), m_verben(verben) {
  setWindowTitle(zek::toQString("Einstellungen f\xFCr den Verbtrainer"));
  setObjectName("T_E_VerbenAuswahl");
  setFixedSize(800, 572);
  QFont f("Arial");
  f.setPixelSize(13);
  f.setBold(true);
  setFont(f);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kHintergrund);
  pal.setColor(QPalette::WindowText, Qt::black);
  setPalette(pal);
  setAutoFillBackground(true);

  m_zaehler = label(this, "???", 40, 52);
  m_zaehler->setObjectName("Verbzahl");
  m_zaehler->setMinimumWidth(26);
  label(this, "Verben aktiv", 68, 52);
  label(this, "Formen", 458, 52);

  m_liste = new TXListBox(this);
  m_liste->setObjectName("Verben");
  m_liste->setListenTyp(ltOnOff);
  m_liste->setItemHeight(25);
  m_liste->setFarbeAn(Qt::white);
  m_liste->setFarbeAus(Qt::black);
  m_liste->setColor(kListe);
  m_liste->setIcon1(markerIcon(true));
  m_liste->setIcon2(markerIcon(false));
  m_liste->setBounds(40, 80, 320, 375);
  m_liste->OnChange = [this](TXListBox*) { UpdateVerbCounter(); };

  m_alleAn = button(this, "Alle AN", QRect(40, 480, 100, 30));
  m_alleAus = button(this, "Alle AUS", QRect(260, 480, 100, 30));
  for (tXColorButton* b : {m_alleAn, m_alleAus}) {
    b->setColor(kPanel);
    b->setFlashColor(Qt::black);
    b->setMouseOver(true);
    // Same colour as the panel: a raised edge under the pointer shows it is a button.
    b->setMouseOver3D(true);
    QPalette bp = b->palette();
    bp.setColor(QPalette::ButtonText, Qt::white);
    b->setPalette(bp);
  }
  m_alleAn->OnClick = [this](tXColorButton*) { AlleAnClick(); };
  m_alleAus->OnClick = [this](tXColorButton*) { AlleAusClick(); };

  const char* const formen[] = {"Infinitiv", "Past Tense", "Past Participle", "Bedeutung(en)"};
  for (int i = 0; i < 4; ++i) {
    auto* box = new tXCheckBox(this);
    box->setCaption(formen[i]);
    box->setObjectName(formen[i]);
    box->setIndex(i);
    box->setGeometry(460, 160 + 30 * i, 121, 21);
    m_formen[static_cast<std::size_t>(i)] = box;
  }
  // Not a form: it stays out of the form mask and is saved with the selection.
  m_grosszuegig = new tXCheckBox(this);
  m_grosszuegig->setCaption("Antworten gro\xDFz\xFCgig pr\xFC" "fen");
  m_grosszuegig->setObjectName("Grosszuegig");
  m_grosszuegig->setGeometry(460, 310, 260, 21);

  m_abbrechen = button(this, "Abbrechen", QRect(140, 537, 121, 32));
  m_abfrage = button(this, "Abfrage", QRect(540, 537, 121, 32));
  for (tXColorButton* b : {m_abbrechen, m_abfrage}) {
    b->setColor(Qt::black);
    b->setMouseOver(true);
    QFont bf = font();
    bf.setItalic(true);
    b->setFont(bf);
    QPalette bp = b->palette();
    bp.setColor(QPalette::ButtonText, Qt::white);
    b->setPalette(bp);
  }
  m_abbrechen->OnClick = [this](tXColorButton*) { AbbrechenClick(); };
  m_abfrage->OnClick = [this](tXColorButton*) { AbfrageClick(); };

  // FormCreate: the items from the trainer's selection.
  std::vector<std::string> items;
  items.reserve(m_verben.Liste().size());
  for (std::size_t i = 0; i < m_verben.Liste().size(); ++i) {
    items.push_back((m_verben.verbAusgewaehlt(i) ? kAn : kAus) + m_verben.Liste()[i].infinitiv);
  }
  m_liste->setItems(std::move(items));
  for (int i = 0; i < 4; ++i) m_formen[static_cast<std::size_t>(i)]->setChecked(m_verben.formAusgewaehlt(i));
  m_grosszuegig->setChecked(m_verben.Grosszuegig());
  UpdateVerbCounter();
}

void T_E_VerbenAuswahl::UpdateVerbCounter() {
  const auto& items = m_liste->Items();
  const auto n = std::count_if(items.begin(), items.end(), [](const std::string& s) { return !s.empty() && s[0] == kAn; });
  m_zaehler->setText(QString::number(n));
  m_zaehler->adjustSize();
}

void T_E_VerbenAuswahl::alleSetzen(char marker) {
  const char from = marker == kAn ? kAus : kAn;
  for (std::string& item : m_liste->Items()) {
    if (!item.empty() && item[0] == from) item[0] = marker;
  }
  m_liste->ItemsChanged();
  UpdateVerbCounter();
}

void T_E_VerbenAuswahl::AlleAnClick() { alleSetzen(kAn); }
void T_E_VerbenAuswahl::AlleAusClick() { alleSetzen(kAus); }

std::string T_E_VerbenAuswahl::verbMaske() const {
  std::string maske;
  maske.reserve(m_liste->Items().size());
  for (const std::string& item : m_liste->Items()) maske += !item.empty() && item[0] == kAn ? '+' : '-';
  return maske;
}

std::string T_E_VerbenAuswahl::formMaske() const {
  std::string maske;
  for (const tXCheckBox* box : m_formen) maske += box->Checked() && !box->isHidden() ? '+' : '-';
  return maske;
}

void T_E_VerbenAuswahl::AbfrageClick() {
  m_verben.setVerbAuswahl(verbMaske());
  m_verben.setFormAuswahl(formMaske());
  m_verben.setGrosszuegig(m_grosszuegig->Checked());
  if (!m_verben.speichereAuswahl()) {
    showMessage("Die Auswahl konnte nicht gespeichert werden.", mb::IconStop);
  }
  QCoreApplication::processEvents();
  if (m_verben.vorbereiten()) {
    closeRunning("verb");
  } else {
    showMessage(kMsgUnmoeglich);
  }
}

void T_E_VerbenAuswahl::AbbrechenClick() { closeShowing("verben.htx"); }

bool T_E_VerbenAuswahl::FormCloseQuery() {
  // A close from the window manager is "Abbrechen".
  if (appState().StartPage.empty() && appState().PendingCommand.empty()) appState().StartPage = "verben.htx";
  return true;
}

void T_E_VerbenAuswahl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(QRect(0, 0, 401, 535), kPanel);
  p.fillRect(QRect(0, 534, 801, 39), Qt::black);
}

void T_E_VerbenAuswahl::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    AbbrechenClick();
    return;
  }
  TTrainerWindow::keyPressEvent(e);
}
