#pragma once

#include "platform/tprintsurface.h"

#include <functional>
#include <memory>
#include <string>

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
