// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Modal message boxes and file dialogs. Everything that asks the learner goes through
// here, so that tests answer with a script instead of a window.

// Flags as the message-box service takes them: buttons in the low nibble, icon above.
namespace mb {
constexpr int Ok = 0, OkCancel = 1, YesNoCancel = 3, YesNo = 4, RetryCancel = 5;
constexpr int IconStop = 16, IconQuestion = 32, IconExclamation = 48, IconInformation = 64;
// Answers.
constexpr int IdOk = 1, IdCancel = 2, IdRetry = 4, IdYes = 6, IdNo = 7;
}  // namespace mb

inline constexpr const char* kAppTitle = "zek englisch";

struct TMessageRequest {
  std::string text;   // Windows-1252; "\r" and "\n" both break lines
  std::string title;  // Windows-1252
  int flags = 0;
};

// Modal box titled "zek englisch"; flags 0 means 48. Returns the button pressed (mb::Id...).
int showMessage(std::string_view text, int flags = 0);
int showMessageTitled(std::string_view text, std::string_view title, int flags);

struct TFileDialogRequest {
  bool save = false;
  std::string title;
  std::string directory;  // initial directory
  std::string fileName;   // proposed name
  std::string filter;     // "Vokabeln (*.asc)|*.asc|Alle Dateien (*.*)|*.*"
  std::string defaultExt; // "asc": added when the learner types none
  bool promptOverwrite = true;
};

// Full Windows-1252 name the learner chose, or nothing when he cancelled.
std::optional<std::string> askFileName(const TFileDialogRequest& request);
// The 0-based filter of `request.filter` that was chosen in the last dialog answered;
// -1 when it is not known.
int lastChosenFilter();

// The colour dialog preset with `initial` (0x00BBGGRR); the chosen colour in the same order,
// or nothing when the learner cancelled.
std::optional<std::uint32_t> askColor(std::uint32_t initial);

namespace zek {

using MessageAnswerer = std::function<int(const TMessageRequest&)>;
using FileDialogAnswerer = std::function<std::optional<std::string>(const TFileDialogRequest&)>;
using ColorDialogAnswerer = std::function<std::optional<std::uint32_t>(std::uint32_t initial)>;

// Replace the real boxes and dialogs (nullptr restores them).
void setMessageAnswerer(MessageAnswerer answerer);
void setFileDialogAnswerer(FileDialogAnswerer answerer);
void setColorDialogAnswerer(ColorDialogAnswerer answerer);

// The answer a box gives when nobody chooses: OK, else Cancel or No.
int defaultAnswer(int flags);

// Test helper: records every box and dialog and answers from queues while it lives.
class ScriptedDialogs {
 public:
  ScriptedDialogs();
  ~ScriptedDialogs();
  ScriptedDialogs(const ScriptedDialogs&) = delete;
  ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

  void answer(int id) { m_answers.push_back(id); }
  void chooseFile(std::optional<std::string> name, int filter = -1) {
    m_files.push_back(std::move(name));
    m_filters.push_back(filter);
  }
  // Colour dialogs with no queued answer are cancelled.
  void chooseColor(std::optional<std::uint32_t> color) { m_colors.push_back(color); }

  const std::vector<TMessageRequest>& messages() const { return m_messages; }
  const std::vector<TFileDialogRequest>& fileDialogs() const { return m_dialogs; }
  // The preset colour of every colour dialog asked.
  const std::vector<std::uint32_t>& colorDialogs() const { return m_colorDialogs; }
  std::vector<std::string> texts() const;
  void clear() { m_messages.clear(); m_dialogs.clear(); m_colorDialogs.clear(); }

 private:
  std::deque<int> m_answers;
  std::deque<std::optional<std::string>> m_files;
  std::deque<int> m_filters;
  std::deque<std::optional<std::uint32_t>> m_colors;
  std::vector<std::uint32_t> m_colorDialogs;
  std::vector<TMessageRequest> m_messages;
  std::vector<TFileDialogRequest> m_dialogs;
};

}  // namespace zek
