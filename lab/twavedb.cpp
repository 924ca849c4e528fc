// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/twavedb.h"

#include "media/mediacommand.h"
#include "media/tspeech.h"
#include "media/txwavebase.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QScreen>
#include <QToolButton>

namespace {

const char* const kMsgNotFound =
    " konnte nicht gefunden werden. Stellen Sie\nsicher, da\xDF die CD-ROM eingelegt ist und der korrekte Pfad "
    "eingestellt ist.";
const char* const kMsgBadName = "Der Dateiname darf weder \" noch > enthalten.";

enum class Glyph { First, Previous, Next, Last, Add, Delete, Play, Browse };

// The buttons' pictures, drawn so that they stay sharp at any scale.
QIcon glyph(Glyph kind) {
  QPixmap pm(34, 34);
  pm.setDevicePixelRatio(2.0);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink(0, 51, 102);
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  auto triangle = [&](double x, bool right) {
    QPainterPath path;
    if (right) {
      path.moveTo(x, 4);
      path.lineTo(x + 7, 8.5);
      path.lineTo(x, 13);
    } else {
      path.moveTo(x + 7, 4);
      path.lineTo(x, 8.5);
      path.lineTo(x + 7, 13);
    }
    path.closeSubpath();
    p.drawPath(path);
  };
  switch (kind) {
    case Glyph::First: p.drawRect(QRectF(3.5, 4, 2, 9)); triangle(6.5, false); break;
    case Glyph::Previous: triangle(5, false); break;
    case Glyph::Next: triangle(5.5, true); break;
    case Glyph::Last: triangle(4, true); p.drawRect(QRectF(11.5, 4, 2, 9)); break;
    case Glyph::Add: p.drawRect(QRectF(7.5, 3, 2, 11)); p.drawRect(QRectF(3, 7.5, 11, 2)); break;
    case Glyph::Delete: p.drawRect(QRectF(3, 7.5, 11, 2)); break;
    case Glyph::Play: {
      p.drawRect(QRectF(3, 6.5, 3, 4));
      QPainterPath cone;
      cone.moveTo(6, 6.5);
      cone.lineTo(10, 3.5);
      cone.lineTo(10, 13.5);
      cone.lineTo(6, 10.5);
      cone.closeSubpath();
      p.drawPath(cone);
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(ink, 1.2));
      p.drawArc(QRectF(8, 5, 6, 7), -50 * 16, 100 * 16);
      break;
    }
    case Glyph::Browse: {
      p.setBrush(QColor(255, 204, 51));
      p.setPen(QPen(ink, 1));
      QPainterPath folder;
      folder.moveTo(2.5, 5);
      folder.lineTo(6.5, 5);
      folder.lineTo(8, 6.5);
      folder.lineTo(14.5, 6.5);
      folder.lineTo(14.5, 13.5);
      folder.lineTo(2.5, 13.5);
      folder.closeSubpath();
      p.drawPath(folder);
      break;
    }
  }
  return QIcon(pm);
}

bool safeFileName(const std::string& name) { return name.find_first_of("\">") == std::string::npos; }

std::string trimmed(const std::string& s) {
  const std::size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return {};
  return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

QLabel* makeLabel(QWidget* parent, const char* text, int x, int y) {
  auto* label = new QLabel(zek::toQString(text), parent);
  label->move(x, y);
  label->adjustSize();
  return label;
}

}  // namespace

TWaveDB::TWaveDB(TXWaveBase& store, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_store(store) {
  setWindowTitle(zek::toQString("Verwaltung der Sprachaufnahmen"));
  setFixedSize(328, 145);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(51, 204, 255));
  setPalette(pal);

  QLabel* searchLabel = makeLabel(this, "Suche: ", 16, 20);
  QLabel* wordLabel = makeLabel(this, "Text:", 16, 52);
  QLabel* fileLabel = makeLabel(this, "Datei:", 16, 84);
  m_search = new QLineEdit(this);
  m_search->setGeometry(64, 16, 209, 23);
  m_search->setObjectName("Suche");
  m_word = new QLineEdit(this);
  m_word->setGeometry(64, 48, 209, 23);
  m_word->setObjectName("Text");
  m_file = new QLineEdit(this);
  m_file->setGeometry(64, 80, 209, 23);
  m_file->setObjectName("Datei");
  // A quote or ">" would break the media command and the link that play the file.
  m_file->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\">]*")), m_file));
  searchLabel->setBuddy(m_search);
  wordLabel->setBuddy(m_word);
  fileLabel->setBuddy(m_file);

  auto* sort = makeButton("Alphabetisch sortieren", {290, 14, 25, 25}, QIcon());
  sort->setText(QStringLiteral("abc"));
  m_play = makeButton("Vorlesen", {290, 46, 25, 25}, glyph(Glyph::Play));
  auto* browse = makeButton("Durchsuchen...", {290, 78, 25, 25}, glyph(Glyph::Browse));
  auto* firstB = makeButton("Zum ersten Eintrag", {15, 112, 25, 25}, glyph(Glyph::First));
  auto* prevB = makeButton("Zum vorangehenden Eintrag", {40, 112, 25, 25}, glyph(Glyph::Previous));
  auto* nextB = makeButton("Zum n\xE4" "chsten Eintrag", {215, 112, 25, 25}, glyph(Glyph::Next));
  auto* lastB = makeButton("Zum letzten Eintrag", {240, 112, 25, 25}, glyph(Glyph::Last));
  auto* add = makeButton("Neuen Eintrag erzeugen", {265, 112, 25, 25}, glyph(Glyph::Add));
  auto* del = makeButton("Aktuellen Eintrag l\xF6schen", {290, 112, 25, 25}, glyph(Glyph::Delete));
  m_counter = new QLabel(QStringLiteral("0/0"), this);
  m_counter->setGeometry(80, 116, 121, 17);
  m_counter->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  m_counter->setObjectName("Eintr\xE4ge");

  connect(sort, &QToolButton::clicked, this, [this] { m_store.sortStore(); });
  connect(m_play, &QToolButton::clicked, this, [this] { bPlayClick(); });
  connect(browse, &QToolButton::clicked, this, [this] { bBrowseClick(); });
  connect(firstB, &QToolButton::clicked, this, [this] { navigate(&TXWaveBase::first); });
  connect(prevB, &QToolButton::clicked, this, [this] { navigate(&TXWaveBase::previous); });
  connect(nextB, &QToolButton::clicked, this, [this] { navigate(&TXWaveBase::next); });
  connect(lastB, &QToolButton::clicked, this, [this] { navigate(&TXWaveBase::last); });
  connect(add, &QToolButton::clicked, this, [this] { bAddClick(); });
  connect(del, &QToolButton::clicked, this, [this] { bDeleteClick(); });
  // textChanged, not textEdited: a pasted or otherwise set text counts as typed; what
  // showCurrent writes itself is left out.
  connect(m_search, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!m_showing) m_store.locate(zek::fromQString(text));
  });
  connect(m_word, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!m_showing) wordEdited(text);
  });
  connect(m_file, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!m_showing) fileEdited(text);
  });

  m_store.setChangeListener(this, [this] { showCurrent(); });
  showCurrent();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
  }
}

TWaveDB::~TWaveDB() { m_store.clearChangeListener(this); }

int TWaveDB::run(QWidget* parent, const std::string& word, const std::string& file) {
  TXWaveBase* store = zek::speechStore();
  if (!store) return QDialog::Rejected;
  if (!trimmed(word).empty()) store->registerRecording(word, file);
  TWaveDB window(*store, parent);
  return window.exec();
}

QToolButton* TWaveDB::makeButton(const char* hint, QRect place, const QIcon& icon) {
  auto* b = new QToolButton(this);
  b->setGeometry(place);
  b->setToolTip(zek::toQString(hint));
  b->setAccessibleName(zek::toQString(hint));
  b->setIcon(icon);
  b->setIconSize(QSize(17, 17));
  b->setAutoRaise(false);
  return b;
}

void TWaveDB::showCurrent() {
  const QScopedValueRollback<bool> guard(m_showing, true);
  const std::string word = m_store.currentWord();
  // Rewritten only when the entry differs: blanks being typed and the caret stay.
  if (trimmed(zek::fromQString(m_word->text())) != word) m_word->setText(zek::toQString(word));
  const std::string file = m_store.currentFile();
  if (zek::fromQString(m_file->text()) != file) {
    m_file->setText(zek::toQString(file));
    if (!m_file->hasFocus()) m_file->setCursorPosition(0);  // the start of a long path tells more
  }
  m_play->setVisible(!resolveMediaPath(file).file.empty());
  const QString count = QString::number(m_store.count()) + zek::toQString(" Eintr\xE4ge");
  if (m_counter->text() != count) m_counter->setText(count);
}

void TWaveDB::wordEdited(const QString& text) {
  const std::string word = zek::fromQString(text);
  if (trimmed(word) != m_store.currentWord()) m_store.setCurrentWord(word);
}

void TWaveDB::fileEdited(const QString& text) {
  const std::string file = zek::fromQString(text);
  if (!safeFileName(file)) return;  // typing cannot get one in (validator); pasting by program neither
  if (file != m_store.currentFile()) m_store.setCurrentFile(file);
  m_play->setVisible(!resolveMediaPath(file).file.empty());
}

void TWaveDB::navigate(void (TXWaveBase::*move)()) {
  if (m_store.currentComplete()) (m_store.*move)();
}

void TWaveDB::bAddClick() {
  if (m_store.currentComplete()) m_store.insertBlank();
  m_word->setFocus();
}

void TWaveDB::bDeleteClick() {
  if (m_store.count() == 0) return;
  if (showMessage("Diesen Eintrag wirklich l\xF6schen?", mb::YesNo | mb::IconQuestion) == mb::IdNo) return;
  m_store.deleteCurrent();
}

void TWaveDB::bBrowseClick() {
  TFileDialogRequest request;
  request.title = "Durchsuchen...";
  const std::string current = resolveMediaPath(m_store.currentFile()).file;
  request.directory = zek::directoryPart(current);
  request.fileName = "*.wav";
  request.filter = "Wave (*.wav)|*.wav";
  const auto chosen = askFileName(request);
  if (!chosen) return;
  if (!safeFileName(*chosen)) {
    showMessage(kMsgBadName);
    return;
  }
  m_file->setText(zek::toQString(*chosen));
}

void TWaveDB::bPlayClick() {
  const std::string text = zek::fromQString(m_file->text());
  if (text.empty()) return;
  const std::string file = resolveMediaPath(text).file;
  if (file.empty()) {
    showMessage(text + kMsgNotFound);
    return;
  }
  // Quoted inside the command, a '"' in the name would end it early.
  if (!safeFileName(file)) {
    showMessage(kMsgBadName);
    return;
  }
  sendMediaCommand("close satz", true);
  const std::string reply = sendMediaCommand("open \"" + file + "\" type waveaudio alias satz", false);
  if (reply.rfind("Error", 0) != 0) sendMediaCommand("play satz from 0", false);
}
