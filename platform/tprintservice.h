// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/tprintsurface.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Print jobs. The output is the system's default printer when one exists; otherwise, and
// always when ZEK_PRINT_DIR is set, an A4 PDF at 600 dpi: into ZEK_PRINT_DIR under the
// job's file name without asking, else where the learner saves it.
struct TPrintRequest {
  std::string docName;   // the job's title
  std::string fileName;  // "karten-vorn.pdf": the PDF's name
};

struct TPrintStart {
  std::unique_ptr<TPrintSurface> surface;  // null: not started
  bool cancelled = false;                  // the learner cancelled the save dialog
  std::string error;                       // why it could not start (Windows-1252)
};

TPrintStart beginPrintJob(const TPrintRequest& request);

// What "Drucker einrichten..." chose for this session: a printer by name (empty: the
// system's default), or always a PDF file.
struct TPrinterSetup {
  std::string printer;  // Windows-1252
  bool pdf = false;
  bool letter = false;  // the printer's paper is US Letter rather than A4
};
const TPrinterSetup& printerSetup();
void setPrinterSetup(const TPrinterSetup& setup);
// The printers the system offers, its default first; empty when there is none.
std::vector<std::string> availablePrinterNames();
// Set: every job goes as a PDF into this folder without a dialog (ZEK_PRINT_DIR).
std::string printDirectory();

// A PDF job straight into a file (A4, 5 mm margins).
TPrintStart pdfPrintJob(const std::string& path, const std::string& docName, int dpi = 600);

// Tests: where jobs go instead (nullptr restores the real service).
void setPrintJobFactory(std::function<TPrintStart(const TPrintRequest&)> factory);

// The hourglass while something prints.
class TBusyCursor {
 public:
  TBusyCursor();
  ~TBusyCursor();
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};
