// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/txwb.h"

#include "dict/database.h"
#include "dict/dictfollower.h"
#include "dict/startup.h"
#include "dict/thitsmodel.h"
#include "media/mediacommand.h"
#include "media/tspeech.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/messages.h"
#include "widgets/txcolorbutton.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableView>
#include <QTextBlock>
#include <QTimer>

#include <utility>

namespace {

constexpr int kClientHeight = 269;
constexpr int kMinClientWidth = 592, kMaxClientWidth = 1016;
constexpr int kTopBar = 25;
constexpr int kLeftWidth = 240;

const QColor kTab(0, 94, 140);
const QColor kTabActive(0, 150, 200);
const QColor kBar(0, 60, 90);
const QColor kToolButton(212, 222, 232);

QString q(const char* cp1252) { return zek::toQString(cp1252); }

// Glyphs of the navigation row, drawn so they stay sharp at any scale of the theme.
enum class TGlyph { First, Prior, Next, Last, New, Delete, Speaker };

QImage glyph(TGlyph g) {
  QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(20, 40, 70));
  auto triangle = [&](qreal tipX, qreal baseX) {
    QPainterPath path;
    path.moveTo(tipX, 8);
    path.lineTo(baseX, 3);
    path.lineTo(baseX, 13);
    path.closeSubpath();
    p.drawPath(path);
  };
  switch (g) {
    case TGlyph::First: p.drawRect(QRectF(3, 3, 2, 10)); triangle(5.5, 12.5); break;
    case TGlyph::Prior: triangle(4, 11.5); break;
    case TGlyph::Next: triangle(12, 4.5); break;
    case TGlyph::Last: p.drawRect(QRectF(11, 3, 2, 10)); triangle(10.5, 3.5); break;
    case TGlyph::New:
      p.setBrush(Qt::white);
      p.setPen(QPen(QColor(20, 40, 70), 1));
      p.drawRect(QRectF(3.5, 1.5, 9, 13));
      p.setPen(QPen(QColor(0, 130, 0), 2));
      p.drawLine(QPointF(8, 5), QPointF(8, 11));
      p.drawLine(QPointF(5, 8), QPointF(11, 8));
      break;
    case TGlyph::Delete:
      p.setPen(QPen(QColor(180, 0, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(4, 4), QPointF(12, 12));
      p.drawLine(QPointF(12, 4), QPointF(4, 12));
      break;
    case TGlyph::Speaker: {
      p.drawRect(QRectF(2, 6, 3, 4));
      QPainterPath cone;
      cone.moveTo(5, 6);
      cone.lineTo(9, 2.5);
      cone.lineTo(9, 13.5);
      cone.lineTo(5, 10);
      cone.closeSubpath();
      p.drawPath(cone);
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(QColor(20, 40, 70), 1.3));
      p.drawArc(QRectF(7, 5, 5, 6), -60 * 16, 120 * 16);
      p.drawArc(QRectF(7, 2.5, 8, 11), -60 * 16, 120 * 16);
      break;
    }
  }
  return img;
}

// A hint is the tool tip when the learner wants them, and always the name the driver and
// screen readers go by.
void setHint(QWidget* w, const char* hint) {
  const QString text = q(hint);
  if (appState().OnlineHelp) w->setToolTip(text);
  w->setAccessibleName(text);
  if (w->objectName().isEmpty()) w->setObjectName(text);
}

tXColorButton* colorButton(QWidget* parent, const std::string& caption, const QRect& r, const QColor& color,
                           const QColor& text) {
  auto* b = new tXColorButton(parent);
  b->setCaption(caption);
  b->setColor(color);
  b->setGeometry(r);
  b->setMouseOver(true);
  b->setFlashColor(QColor(255, 220, 80));
  QPalette pal = b->palette();
  pal.setColor(QPalette::ButtonText, text);
  b->setPalette(pal);
  return b;
}

tXColorButton* toolButton(QWidget* parent, TGlyph g, const QRect& r, const char* hint) {
  auto* b = new tXColorButton(parent);
  b->setColor(kToolButton);
  b->setCtl3D(true);
  b->setPicture1(glyph(g));
  b->setCenter(true);
  b->setGeometry(r);
  setHint(b, hint);
  return b;
}

}  // namespace

TXWb::TXWb(TXDatabase& db, QWidget* parent) : QMainWindow(parent, Qt::Tool), m_db(db) {
  setWindowTitle(q("zek englisch"));
  setObjectName("TXWb");
  setAttribute(Qt::WA_QuitOnClose, false);

  auto* client = new QWidget(this);
  client->setObjectName("Wörterbuch");
  setCentralWidget(client);
  client->installEventFilter(this);  // its resize lays out the result area
  buildTopBar(client);
  for (int i = 0; i < 3; ++i) {
    m_panels[static_cast<std::size_t>(i)] = new QWidget(client);
    m_panels[static_cast<std::size_t>(i)]->setGeometry(0, kTopBar, kLeftWidth, kClientHeight - kTopBar);
  }
  m_panels[pnSuchen]->setObjectName("Suchen");
  m_panels[pnBlaettern]->setObjectName("Bl\u00e4ttern");
  m_panels[pnBearbeiten]->setObjectName("Bearbeiten");
  buildSearchPanel();
  buildBrowsePanel();
  buildEditPanel();
  buildResultArea(client);
  buildMenu();

  const int h = menuBar()->sizeHint().height() + kClientHeight;
  client->setFixedHeight(kClientHeight);
  setMinimumSize(kMinClientWidth, h);
  setMaximumSize(kMaxClientWidth, h);
  resize(kMinClientWidth, h);

  m_shownHalf = m_db.Half();
  m_db.OnChange = [this](TXDatabase&) { DatabaseChanged(); };
  DatabaseChanged();
  m_richtungKurz->setCaption("Englisch-D");
  m_richtung->setCaption("Englisch-Deutsch");
  if (m_db.IsGermanEnglish()) {
    m_richtungKurz->setCaption(m_db.DirectionShortName());
    m_richtung->setCaption(m_db.DirectionName());
  }
  m_englisch->setText(q("Englisch"));
  showPanel(pnSuchen);
  // Browsing needs to know whether the halves are in order: learn it while the learner
  // has not typed yet rather than at the first keystroke.
  QTimer::singleShot(0, this, [this] { m_db.LearnOrder(); });
}

TXWb::~TXWb() {
  // The database may outlive the window (tests); it must not call into a dead one.
  m_db.OnChange = nullptr;
}

void TXWb::Destroy(TSettingsStore& store) {
  m_db.SaveAll();
  zek::storeDictionaryNames(m_db, store);
  m_db.OnChange = nullptr;
  sendMediaCommand("close wb", true);
}

// ---- building ----

void TXWb::buildTopBar(QWidget* client) {
  auto* bar = new QWidget(client);
  bar->setGeometry(0, 0, kMaxClientWidth, kTopBar);
  bar->setAutoFillBackground(true);
  QPalette pal = bar->palette();
  pal.setColor(QPalette::Window, kBar);
  bar->setPalette(pal);
  const char* const captions[] = {"Suchen", "Bl\xE4ttern", "Bearbeiten"};
  for (int i = 0; i < 3; ++i) {
    tXColorButton* b = colorButton(client, captions[i], QRect(80 * i, 0, 80, kTopBar), kTab, Qt::white);
    b->setObjectName(q(captions[i]));
    b->OnClick = [this, i](tXColorButton*) { showPanel(static_cast<TPanel>(i)); };
    m_tabs[static_cast<std::size_t>(i)] = b;
  }
  m_richtung = colorButton(client, "Englisch-Deutsch", QRect(300, 0, 240, kTopBar), kTab, Qt::white);
  setHint(m_richtung, "Zur anderen H\xE4lfte des W\xF6rterbuchs");
  m_richtung->OnClick = [this](tXColorButton*) { RichtungClick(); };
}

void TXWb::buildSearchPanel() {
  QWidget* p = m_panels[pnSuchen];
  auto* label = new QLabel(q("Suchen nach:"), p);
  label->setGeometry(8, 8, 224, 16);
  m_suchEdit = new QLineEdit(p);
  m_suchEdit->setObjectName("Suchbegriff");
  m_suchEdit->setGeometry(8, 26, 224, 22);
  label->setBuddy(m_suchEdit);
  m_suchEdit->installEventFilter(this);

  auto* sprache = new QGroupBox(q(" Sprache "), p);
  sprache->setGeometry(8, 56, 224, 48);
  setHint(sprache, "Sprache des Suchbegriffs");
  m_englisch = new QRadioButton(q("Englisch"), sprache);
  m_englisch->setGeometry(10, 20, 100, 22);
  m_deutsch = new QRadioButton(q("Deutsch"), sprache);
  m_deutsch->setGeometry(116, 20, 100, 22);
  for (QRadioButton* r : {m_englisch, m_deutsch}) setHint(r, "Sprache des Suchbegriffs");
  m_englisch->setObjectName("Englisch");
  m_deutsch->setObjectName("Deutsch");
  m_englisch->setChecked(true);

  auto* optionen = new QGroupBox(q(" Optionen "), p);
  optionen->setGeometry(8, 110, 224, 48);
  m_ganzeWoerter = new QCheckBox(q("Nur ganze W\xF6rter"), optionen);
  m_ganzeWoerter->setGeometry(10, 20, 200, 22);

  auto* suchen = colorButton(p, "Suchen!", QRect(8, 170, 224, 28), kToolButton, QColor(20, 40, 70));
  suchen->setCtl3D(true);
  suchen->setFlashColor(QColor(0, 94, 140));
  suchen->setObjectName("Suchen!");
  setHint(suchen, "Suche starten");
  suchen->OnClick = [this](tXColorButton*) { SuchenClick(); };
}

void TXWb::buildBrowsePanel() {
  QWidget* p = m_panels[pnBlaettern];
  auto* label = new QLabel(q("Stichwort:"), p);
  label->setGeometry(8, 8, 224, 16);
  m_stichwort = new QLineEdit(p);
  m_stichwort->setObjectName("Stichwort");
  m_stichwort->setGeometry(8, 26, 224, 22);
  label->setBuddy(m_stichwort);
  connect(m_stichwort, &QLineEdit::textEdited, this, &TXWb::keywordEdited);
}

void TXWb::buildEditPanel() {
  QWidget* p = m_panels[pnBearbeiten];
  m_wortart = new QComboBox(p);
  m_wortart->setObjectName("Wortart");
  for (int k = 1; k <= 6; ++k) m_wortart->addItem(zek::toQString(TXDatabase::KindName(k)));
  m_wortart->setGeometry(8, 8, 190, 24);
  connect(m_wortart, &QComboBox::activated, this, [this](int index) {
    if (index >= 0 && index + 1 != m_db.GetKind(-1)) {
      m_editing = m_wortart;
      entryToTypeInto();
      m_db.SetKind(-1, index + 1);
      m_editing = nullptr;
    }
  });

  m_sprache = toolButton(p, TGlyph::Speaker, QRect(206, 8, 26, 24), "Sprachausgabe");
  m_sprache->setVisible(false);
  m_sprache->OnClick = [this](tXColorButton*) { SprachausgabeClick(); };

  m_wort = new QLineEdit(p);
  m_wort->setGeometry(8, 38, 224, 22);
  m_wort->setObjectName("Vokabel");
  setHint(m_wort, "Vokabel aus dem W\xF6rterbuch");
  connect(m_wort, &QLineEdit::textEdited, this, &TXWb::wordEdited);

  m_bedeutung = new QPlainTextEdit(p);
  m_bedeutung->setGeometry(8, 66, 224, 120);
  m_bedeutung->setObjectName("Bedeutung");
  setHint(m_bedeutung, "Doppelklick f\xFCr Sprachausgabe (falls vorhanden)");
  m_bedeutung->setTabChangesFocus(true);
  m_bedeutung->installEventFilter(this);
  m_bedeutung->viewport()->installEventFilter(this);
  connect(m_bedeutung, &QPlainTextEdit::textChanged, this, &TXWb::meaningEdited);

  // first, previous, [direction], next, last, new, delete
  const int y = 194, h = 26;
  m_nav[0] = toolButton(p, TGlyph::First, QRect(8, y, 25, h), "Zum ersten Eintrag");
  m_nav[1] = toolButton(p, TGlyph::Prior, QRect(33, y, 25, h), "Zum vorangehenden Eintrag");
  m_richtungKurz = colorButton(p, "Englisch-D", QRect(58, y, 70, h), kToolButton, QColor(20, 40, 70));
  m_richtungKurz->setCtl3D(true);
  m_richtungKurz->setFlashColor(QColor(0, 94, 140));
  m_richtungKurz->setObjectName("Richtung");
  QFont small = m_richtungKurz->font();
  small.setPixelSize(11);
  m_richtungKurz->setFont(small);
  setHint(m_richtungKurz, "Zur anderen H\xE4lfte des W\xF6rterbuchs");
  m_richtungKurz->OnClick = [this](tXColorButton*) { RichtungClick(); };
  m_nav[2] = toolButton(p, TGlyph::Next, QRect(128, y, 25, h), "Zum n\xE4" "chsten Eintrag");
  m_nav[3] = toolButton(p, TGlyph::Last, QRect(153, y, 25, h), "Zum letzten Eintrag");
  m_nav[4] = toolButton(p, TGlyph::New, QRect(182, y, 25, h), "Neuen Eintrag erzeugen");
  m_nav[5] = toolButton(p, TGlyph::Delete, QRect(207, y, 25, h), "Aktuellen Eintrag l\xF6schen");
  m_nav[0]->OnClick = [this](tXColorButton*) { ErsterClick(); };
  m_nav[1]->OnClick = [this](tXColorButton*) { VorigerClick(); };
  m_nav[2]->OnClick = [this](tXColorButton*) { NaechsterClick(); };
  m_nav[3]->OnClick = [this](tXColorButton*) { LetzterClick(); };
  m_nav[4]->OnClick = [this](tXColorButton*) { NeuClick(); };
  m_nav[5]->OnClick = [this](tXColorButton*) { LoeschenClick(); };
}

void TXWb::buildResultArea(QWidget* client) {
  m_resultArea = new QWidget(client);
  m_resultArea->setObjectName("Ergebnisse");
  m_ergebnisTitel = new QLabel(q("Ergebnis:"), m_resultArea);
  m_ergebnisTitel->setGeometry(7, 6, 60, 16);
  m_ergebnis = new QLabel(m_resultArea);
  m_ergebnis->setObjectName("Ergebnis");
  m_ergebnis->setGeometry(70, 6, 300, 16);

  m_model = new THitsModel(m_db, this);
  m_grid = new QTableView(m_resultArea);
  m_grid->setObjectName("Ergebnisliste");
  m_grid->setModel(m_model);
  m_grid->setItemDelegate(new THitsDelegate(m_grid));
  m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
  m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_grid->setWordWrap(false);
  m_grid->setTabKeyNavigation(false);
  m_grid->verticalHeader()->hide();
  m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  m_grid->verticalHeader()->setMinimumSectionSize(1);
  m_grid->verticalHeader()->setDefaultSectionSize(19);
  QHeaderView* header = m_grid->horizontalHeader();
  header->setFixedHeight(15);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setSectionResizeMode(QHeaderView::Fixed);
  header->setMinimumSectionSize(10);
  header->setHighlightSections(false);
  QFont small = m_grid->font();
  small.setPixelSize(11);
  m_grid->setFont(small);
  header->setFont(small);
  connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (m_filling || !current.isValid()) return;
            m_zeileGewaehlt = true;
            GridRowSelected(current.row());
          });
  // A click on the row that is highlighted already changes no row: the click picks it all the same.
  m_grid->viewport()->installEventFilter(this);
  connect(m_grid, &QTableView::clicked, this, [this](const QModelIndex& i) {
    if (!std::exchange(m_zeileGewaehlt, false) && i.isValid()) GridRowSelected(i.row());
  });
  connect(m_grid, &QTableView::doubleClicked, this, [this](const QModelIndex& i) { GridRowDoubleClicked(i.row()); });
  // A reset replaces the selection model's rows, not the model itself: the connection stays.
}

void TXWb::buildMenu() {
  QMenu* datei = menuBar()->addMenu(q("&Datei"));
  auto add = [&](const char* caption, auto slot) {
    QAction* a = datei->addAction(q(caption));
    a->setObjectName(q(caption));
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  add("Sortieren", [this] { m_db.Sort(); })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  add("Kontrollieren", [this] {
    const int before = m_db.Current();
    m_db.Check();
    if (m_db.Current() != before) showPanel(pnBearbeiten);
  })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
  add("Doppelte Eintr\xE4ge suchen", [this] {
    const int before = m_db.Current();
    m_db.RemoveDuplicates();
    if (m_db.Current() != before) showPanel(pnBearbeiten);
  });
  // Present but hidden, as in every shipped version: the text form is a tool for editors.
  add("Importieren...", [this] { m_db.ImportText(); })->setVisible(false);
  add("Exportieren...", [this] { m_db.ExportText(); })->setVisible(false);
  datei->addSeparator();
  add("Alle Eintr\xE4ge l\xF6schen!", [this] { AllesLoeschenClick(); });
  datei->addSeparator();
  add("&Schlie\xDF" "en", [this] { close(); });
  for (QAction* a : datei->actions()) a->setShortcutContext(Qt::WindowShortcut);
}

QAction* TXWb::action(const char* caption) const { return findChild<QAction*>(q(caption)); }

// ---- panels ----

void TXWb::showPanel(TPanel panel) {
  m_panel = panel;
  for (int i = 0; i < 3; ++i) {
    const bool on = i == panel;
    m_panels[static_cast<std::size_t>(i)]->setVisible(on);
    m_tabs[static_cast<std::size_t>(i)]->setEnabled(!on);
    m_tabs[static_cast<std::size_t>(i)]->setColor(on ? kTabActive : kTab);
  }
  switch (panel) {
    case pnSuchen: m_suchEdit->setFocus(); break;
    case pnBlaettern:
      m_stichwort->setFocus();
      m_stichwort->selectAll();
      break;
    case pnBearbeiten: m_wort->setFocus(); break;
  }
}

// ---- search, browse, grid ----

void TXWb::SuchenClick() {
  const std::string text = zek::fromQString(m_suchEdit->text());
  m_db.Search(text, m_deutsch->isChecked(), m_ganzeWoerter->isChecked());
  showHits();
  // Nothing found: the nearest headwords in the language searched for.
  if (m_db.Hits().empty()) offerSuggestions(m_deutsch->isChecked() ? 1 : 0, text, true);
}

void TXWb::offerSuggestions(int half, const std::string& word, bool afterCount) {
  const std::vector<std::string> nearest = m_db.Suggestions(half, word, 5);
  if (nearest.empty()) return;
  m_vorschlagVor = afterCount ? m_ergebnis->text() + " " : QString();
  m_vorschlaege.clear();
  for (const std::string& s : nearest) m_vorschlaege.push_back(zek::toQString(s));
  m_ergebnis->setToolTip(m_vorschlagVor + suggestionLine(static_cast<int>(m_vorschlaege.size())));
  fitSuggestions();
}

QString TXWb::suggestionLine(int count) const {
  QStringList shown;
  for (int i = 0; i < count && i < static_cast<int>(m_vorschlaege.size()); ++i)
    shown << m_vorschlaege[static_cast<std::size_t>(i)];
  return q("Meinten Sie ") + shown.join(", ") + "?";
}

void TXWb::fitSuggestions() {
  if (m_vorschlaege.empty()) return;
  // The line has one row above the grid: as many whole suggestions as fit, the nearest
  // first (all of them on hovering). When not even the nearest fits beside the hit count,
  // the count gives way, and only then is the word itself shortened.
  const QFontMetrics metrics(m_ergebnis->font());
  const int room = m_ergebnis->width();
  for (int k = static_cast<int>(m_vorschlaege.size()); k >= 1; --k) {
    const QString text = m_vorschlagVor + suggestionLine(k);
    if (metrics.horizontalAdvance(text) <= room) {
      m_ergebnis->setText(text);
      return;
    }
  }
  m_ergebnis->setText(metrics.elidedText(suggestionLine(1), Qt::ElideRight, room));
}

void TXWb::showHits() {
  m_filling = true;
  m_model->reset();
  m_ergebnis->setText(QString::number(m_db.Hits().size()) + q(" Eintr\xE4ge gefunden."));
  m_ergebnis->setToolTip(QString());
  m_vorschlaege.clear();
  m_filling = false;
}

void TXWb::keywordEdited(const QString& text) {
  const std::optional<std::string> word = zek::fromQStringStrict(text);
  m_db.LookUp(word ? *word : zek::fromQString(text), -1);
  showHits();
  if (!text.isEmpty() && !m_db.LookUpMatched()) offerSuggestions(m_db.Half(), word ? *word : zek::fromQString(text), false);
  m_filling = true;
  if (!m_db.Hits().empty()) {
    const QModelIndex row = m_model->index(m_db.HitPos(), 0);
    m_grid->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_grid->scrollTo(row);
  }
  m_filling = false;
}

void TXWb::ShowWord(const std::string& word, int half) {
  if (m_db.Half() != half) m_db.SetGermanEnglish(half == 1);
  showPanel(pnBlaettern);
  const QString text = zek::toQString(word);
  m_stichwort->setText(text);
  keywordEdited(text);
  show();
  raise();
  activateWindow();
}

void TXWb::GridRowSelected(int row) {
  const int entry = m_model->entryOfRow(row);
  if (entry < 0) return;
  // The row's own entry: another one with the same word and meaning may exist.
  m_filling = true;
  m_db.GotoIndex(entry);
  m_filling = false;
  if (m_panel != pnBearbeiten) showPanel(pnBearbeiten);
}

void TXWb::GridRowDoubleClicked(int row) {
  const int entry = m_model->entryOfRow(row);
  if (entry < 0) return;
  const std::string english(m_db.IsGermanEnglish() ? m_db.MeaningView(entry) : m_db.WordView(entry));
  speakWordAt(english, 0, 0, TWortSprache::Englisch);
}

// ---- editing ----

void TXWb::navigate(void (TXDatabase::*move)()) {
  if (m_db.IsComplete()) (m_db.*move)();
}

void TXWb::ErsterClick() { navigate(&TXDatabase::First); }
void TXWb::VorigerClick() { navigate(&TXDatabase::Prior); }
void TXWb::NaechsterClick() { navigate(&TXDatabase::Next); }
void TXWb::LetzterClick() { navigate(&TXDatabase::Last); }

void TXWb::NeuClick() {
  // An empty half has no entry that could be incomplete.
  if (m_db.Count() == 0 || m_db.IsComplete()) m_db.InsertEmpty();
  m_wort->setFocus();
}

void TXWb::LoeschenClick() {
  if (showMessage("Eintrag des W\xF6rterbuchs wirklich l\xF6schen?", mb::YesNo | mb::IconQuestion) == mb::IdNo) return;
  m_db.DeleteCurrent();
}

void TXWb::AllesLoeschenClick() {
  if (showMessage("Wirklich alle Eintr\xE4ge l\xF6schen???", mb::YesNo | mb::IconExclamation) == mb::IdYes)
    m_db.Clear();
}

void TXWb::RichtungClick() { m_db.SetGermanEnglish(!m_db.IsGermanEnglish()); }

void TXWb::wordEdited(const QString& text) {
  std::optional<std::string> word = zek::fromQStringStrict(text);
  if (!word) {
    // A character Windows-1252 cannot hold is refused where it was typed.
    const int caret = m_wort->cursorPosition();
    const QSignalBlocker block(m_wort);
    m_wort->setText(zek::toQString(m_db.WordView(-1)));
    m_wort->setCursorPosition(std::max(caret - 1, 0));
    return;
  }
  if (*word == m_db.WordView(-1)) return;
  m_editing = m_wort;
  entryToTypeInto();
  m_db.SetWord(-1, *word);
  m_editing = nullptr;
}

void TXWb::meaningEdited() {
  QString text = m_bedeutung->toPlainText();
  text.replace(QLatin1Char('\n'), QLatin1Char(' '));  // a pasted line break
  std::optional<std::string> meaning = zek::fromQStringStrict(text);
  if (!meaning) {
    QTextCursor cursor = m_bedeutung->textCursor();
    const int caret = cursor.position();
    const QSignalBlocker block(m_bedeutung);
    m_bedeutung->setPlainText(zek::toQString(m_db.MeaningView(-1)));
    cursor = m_bedeutung->textCursor();
    cursor.setPosition(std::clamp(caret - 1, 0, static_cast<int>(m_db.MeaningView(-1).size())));
    m_bedeutung->setTextCursor(cursor);
    return;
  }
  if (*meaning == m_db.MeaningView(-1)) return;
  m_editing = m_bedeutung;
  entryToTypeInto();
  m_db.SetMeaning(-1, *meaning);
  m_editing = nullptr;
}

void TXWb::entryToTypeInto() {
  // What is typed into an empty half becomes its first entry instead of being dropped.
  if (m_db.Count() == 0) m_db.InsertEmpty();
}

void TXWb::MemoDoubleClicked() {
  const QTextCursor cursor = m_bedeutung->textCursor();
  const std::string meaning(m_db.MeaningView(-1));
  // The meanings are English in the German-English half.
  speakWordAt(meaning, cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart(),
              m_db.IsGermanEnglish() ? TWortSprache::Englisch : TWortSprache::Deutsch);
}

// ---- following the database ----

void TXWb::DatabaseChanged() {
  if (m_db.Half() != m_shownHalf) {
    // The grid's rows belong to the other half now: nothing in it may be picked.
    m_shownHalf = m_db.Half();
    m_filling = true;
    m_model->empty();
    m_filling = false;
    m_ergebnis->clear();
    m_ergebnis->setToolTip(QString());
    m_vorschlaege.clear();
  } else if (m_model->hitCount() != static_cast<int>(m_db.Hits().size()) || m_model->hitCount() > 0) {
    m_filling = true;
    m_model->refresh();
    m_filling = false;
  }

  // Each field is written only when it differs, and never while the learner types in it,
  // so the caret stays where it is.
  const QString word = zek::toQString(m_db.WordView(-1));
  if (m_editing != m_wort && m_wort->text() != word) {
    const QSignalBlocker block(m_wort);
    m_wort->setText(word);
  }
  const QString meaning = zek::toQString(m_db.MeaningView(-1));
  if (m_editing != m_bedeutung && m_bedeutung->toPlainText() != meaning) {
    const QSignalBlocker block(m_bedeutung);
    m_bedeutung->setPlainText(meaning);
  }
  const int kindIndex = m_db.GetKind(-1) - 1;
  if (m_editing != m_wortart && m_wortart->currentIndex() != kindIndex) {
    const QSignalBlocker block(m_wortart);
    m_wortart->setCurrentIndex(kindIndex);
  }
  if (m_richtung->Caption() != m_db.DirectionName()) m_richtung->setCaption(m_db.DirectionName());
  if (m_richtungKurz->Caption() != m_db.DirectionShortName()) m_richtungKurz->setCaption(m_db.DirectionShortName());
  if (isVisible()) UpdateSpeechButton();
  zek::notifyDictionaryFollower(m_db);
}

bool TXWb::UpdateSpeechButton() {
  m_speechFile.clear();
  bool sichtbar = false;
  if (!m_db.IsGermanEnglish()) {
    const std::string word(m_db.WordView(-1));
    if (!word.empty()) m_speechFile = recordingFileFor(word);
    if (!zek::mediaNameSafe(m_speechFile)) m_speechFile.clear();  // it could not be played safely
    // An English word without any entry is spoken by the run-time voice.
    sichtbar = !m_speechFile.empty() || (!word.empty() && zek::runtimeVoiceAvailable() && findRecording(word).empty());
  }
  if (m_sprache->isVisibleTo(m_panels[pnBearbeiten]) != sichtbar) m_sprache->setVisible(sichtbar);
  return sichtbar;
}

void TXWb::SprachausgabeClick() {
  if (!UpdateSpeechButton()) return;
  if (m_speechFile.empty()) {
    speakWord(std::string(m_db.WordView(-1)), TWortSprache::Englisch);
    return;
  }
  sendMediaCommand("close wb", true);
  const std::string reply = sendMediaCommand("open \"" + m_speechFile + "\" type waveaudio alias wb", false);
  if (reply.rfind("Error", 0) != 0) sendMediaCommand("play wb from 0", false);
}

// ---- window ----

void TXWb::closeEvent(QCloseEvent* e) {
  e->ignore();
  hide();
}

void TXWb::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  UpdateSpeechButton();
  if (m_panel == pnSuchen) {
    m_suchEdit->setFocus();
    m_suchEdit->selectAll();
  }
}

void TXWb::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  layoutResultArea();
}

std::array<int, 4> TXWb::columnWidths(int w) {
  const int word = std::max((w - 97) * 10 / 24, 0);
  return {20, word, std::max(w - word - 97, 0), 57};
}

void TXWb::layoutResultArea() {
  const int clientWidth = centralWidget()->width();
  const int areaWidth = std::max(clientWidth - kLeftWidth, 0);
  m_resultArea->setGeometry(kLeftWidth, kTopBar, areaWidth, kClientHeight - kTopBar);
  const int gridWidth = std::max(areaWidth - 14, 0);
  m_grid->setGeometry(7, 24, gridWidth, kClientHeight - kTopBar - 24 - 7);
  m_ergebnis->setGeometry(70, 6, std::max(areaWidth - 77, 0), 16);
  fitSuggestions();
  const std::array<int, 4> widths = columnWidths(gridWidth);
  for (int c = 0; c < 4; ++c) m_grid->setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
}

bool TXWb::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::Resize && watched == centralWidget()) layoutResultArea();
  if (e->type() == QEvent::MouseButtonPress && watched == m_grid->viewport()) m_zeileGewaehlt = false;
  if (e->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(e)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter && watched == m_suchEdit) {
      SuchenClick();
      return true;  // swallowed
    }
    if (enter && watched == m_bedeutung) return true;  // the meaning is one line
  }
  if (e->type() == QEvent::MouseButtonDblClick && watched == m_bedeutung->viewport()) {
    // The memo selects the word under the pointer first; the caret is inside it afterwards.
    QMetaObject::invokeMethod(this, &TXWb::MemoDoubleClicked, Qt::QueuedConnection);
  }
  return QMainWindow::eventFilter(watched, e);
}
