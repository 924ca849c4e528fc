// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/messages.h"

#include "platform/codec.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

zek::MessageAnswerer& messageAnswerer() {
  static zek::MessageAnswerer answerer;
  return answerer;
}

zek::FileDialogAnswerer& fileAnswerer() {
  static zek::FileDialogAnswerer answerer;
  return answerer;
}

zek::ColorDialogAnswerer& colorAnswerer() {
  static zek::ColorDialogAnswerer answerer;
  return answerer;
}

QString boxText(std::string_view text) {
  std::string t;
  for (size_t i = 0; i < text.size(); ++i) {
    // "\r\n" is one break; a lone "\r" or "\n" is one as well.
    if (text[i] == '\r') {
      t.push_back('\n');
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      t.push_back(text[i]);
    }
  }
  return zek::toQString(t);
}

int runBox(const TMessageRequest& r) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(zek::toQString(r.title));
  box.setText(boxText(r.text));
  switch (r.flags & 0xF0) {
    case mb::IconStop: box.setIcon(QMessageBox::Critical); break;
    case mb::IconQuestion: box.setIcon(QMessageBox::Question); break;
    case mb::IconExclamation: box.setIcon(QMessageBox::Warning); break;
    case mb::IconInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
  }
  struct Button { QMessageBox::StandardButton qt; int id; };
  std::vector<Button> buttons;
  switch (r.flags & 0x0F) {
    case mb::OkCancel: buttons = {{QMessageBox::Ok, mb::IdOk}, {QMessageBox::Cancel, mb::IdCancel}}; break;
    case mb::YesNoCancel:
      buttons = {{QMessageBox::Yes, mb::IdYes}, {QMessageBox::No, mb::IdNo}, {QMessageBox::Cancel, mb::IdCancel}};
      break;
    case mb::YesNo: buttons = {{QMessageBox::Yes, mb::IdYes}, {QMessageBox::No, mb::IdNo}}; break;
    case mb::RetryCancel: buttons = {{QMessageBox::Retry, mb::IdRetry}, {QMessageBox::Cancel, mb::IdCancel}}; break;
    default: buttons = {{QMessageBox::Ok, mb::IdOk}}; break;
  }
  for (const Button& b : buttons) {
    QAbstractButton* button = box.addButton(b.qt);
    // German captions regardless of the Qt translation installed.
    switch (b.qt) {
      case QMessageBox::Yes: button->setText("&Ja"); break;
      case QMessageBox::No: button->setText("&Nein"); break;
      case QMessageBox::Cancel: button->setText("Abbrechen"); break;
      case QMessageBox::Retry: button->setText("&Wiederholen"); break;
      default: button->setText("OK"); break;
    }
  }
  box.setDefaultButton(buttons.front().qt);
  box.exec();
  const auto pressed = box.standardButton(box.clickedButton());
  for (const Button& b : buttons) {
    if (b.qt == pressed) return b.id;
  }
  return zek::defaultAnswer(r.flags);
}

QString qtFilter(const std::string& filter) {
  // "Name (*.x)|*.x|Other|*.*" → "Name (*.x);;Other (*.*)"
  QStringList parts = zek::toQString(filter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i];
    const QString pattern = QString(parts[i + 1]).replace(';', ' ');
    if (!name.contains('(')) name += " (" + pattern + ")";
    out << name;
  }
  return out.join(";;");
}

}  // namespace

int showMessageTitled(std::string_view text, std::string_view title, int flags) {
  if (flags == 0) flags = mb::IconExclamation;
  TMessageRequest r{std::string(text), std::string(title), flags};
  if (messageAnswerer()) return messageAnswerer()(r);
  if (!qApp) return zek::defaultAnswer(flags);
  return runBox(r);
}

int showMessage(std::string_view text, int flags) { return showMessageTitled(text, kAppTitle, flags); }

namespace {
int& chosenFilter() {
  static int filter = -1;
  return filter;
}
}  // namespace

int lastChosenFilter() { return chosenFilter(); }

std::optional<std::string> askFileName(const TFileDialogRequest& r) {
  chosenFilter() = -1;
  if (fileAnswerer()) return fileAnswerer()(r);
  if (!qApp) return std::nullopt;
  QFileDialog dialog(QApplication::activeWindow(), zek::toQString(r.title), zek::toQString(r.directory),
                     qtFilter(r.filter));
  dialog.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !r.promptOverwrite);
  if (!r.defaultExt.empty()) dialog.setDefaultSuffix(zek::toQString(r.defaultExt));
  if (!r.fileName.empty()) dialog.selectFile(zek::toQString(r.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  chosenFilter() = static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter()));
  return zek::fromQString(dialog.selectedFiles().front());
}

std::optional<std::uint32_t> askColor(std::uint32_t initial) {
  if (colorAnswerer()) return colorAnswerer()(initial & 0xFFFFFFu);
  if (!qApp) return std::nullopt;
  const QColor start(int(initial & 0xFF), int((initial >> 8) & 0xFF), int((initial >> 16) & 0xFF));
  const QColor c = QColorDialog::getColor(start, QApplication::activeWindow());
  if (!c.isValid()) return std::nullopt;
  return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16);
}

namespace zek {

void setMessageAnswerer(MessageAnswerer answerer) { messageAnswerer() = std::move(answerer); }
void setFileDialogAnswerer(FileDialogAnswerer answerer) { fileAnswerer() = std::move(answerer); }
void setColorDialogAnswerer(ColorDialogAnswerer answerer) { colorAnswerer() = std::move(answerer); }

int defaultAnswer(int flags) {
  switch (flags & 0x0F) {
    case mb::Ok: return mb::IdOk;
    case mb::YesNo: return mb::IdNo;
    default: return mb::IdCancel;
  }
}

ScriptedDialogs::ScriptedDialogs() {
  setMessageAnswerer([this](const TMessageRequest& r) {
    m_messages.push_back(r);
    if (m_answers.empty()) return defaultAnswer(r.flags);
    const int id = m_answers.front();
    m_answers.pop_front();
    return id;
  });
  setFileDialogAnswerer([this](const TFileDialogRequest& r) -> std::optional<std::string> {
    m_dialogs.push_back(r);
    if (m_files.empty()) return std::nullopt;
    auto name = m_files.front();
    m_files.pop_front();
    chosenFilter() = m_filters.front();
    m_filters.pop_front();
    return name;
  });
  setColorDialogAnswerer([this](std::uint32_t initial) -> std::optional<std::uint32_t> {
    m_colorDialogs.push_back(initial);
    if (m_colors.empty()) return std::nullopt;
    const auto c = m_colors.front();
    m_colors.pop_front();
    return c;
  });
}

ScriptedDialogs::~ScriptedDialogs() {
  setMessageAnswerer(nullptr);
  setFileDialogAnswerer(nullptr);
  setColorDialogAnswerer(nullptr);
}

std::vector<std::string> ScriptedDialogs::texts() const {
  std::vector<std::string> out;
  for (const auto& m : m_messages) out.push_back(m.text);
  return out;
}

}  // namespace zek
