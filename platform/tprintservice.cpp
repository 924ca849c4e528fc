// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/tprintservice.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <QCursor>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

namespace {

TPrinterSetup& setupSlot() {
  static TPrinterSetup setup;
  return setup;
}

std::function<TPrintStart(const TPrintRequest&)>& jobFactory() {
  static std::function<TPrintStart(const TPrintRequest&)> factory;
  return factory;
}

class TQtPrintSurface : public TPrintSurface {
 public:
  explicit TQtPrintSurface(std::unique_ptr<QPrinter> printer) : m_printer(std::move(printer)) {}
  ~TQtPrintSurface() override {
    if (m_painter.isActive()) m_painter.end();
  }

  // False when the device did not open (a PDF that cannot be written, a printer gone).
  bool begin() {
    if (!m_painter.begin(m_printer.get())) return false;
    m_sx = m_printer->logicalDpiX() / 254.0;
    m_sy = m_printer->logicalDpiY() / 254.0;
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    setFont(TPrintFont{});
    return true;
  }

  int width() const override {
    return static_cast<int>(m_printer->pageLayout().paintRect(QPageLayout::Millimeter).width() * 10);
  }
  int height() const override {
    return static_cast<int>(m_printer->pageLayout().paintRect(QPageLayout::Millimeter).height() * 10);
  }
  int dpiX() const override { return m_printer->logicalDpiX(); }
  int dpiY() const override { return m_printer->logicalDpiY(); }

  void setFont(const TPrintFont& f) override {
    QFont font(zek::toQString(f.face));
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setPixelSize(pixelSizeFor(font, f.height));
    m_font = font;
    m_painter.setFont(font);
    m_metrics.emplace(font, m_printer.get());
  }

  int textWidth(std::string_view text) override {
    return static_cast<int>(std::lround(m_metrics->horizontalAdvance(zek::toQString(text)) / m_sx));
  }

  void text(int x, int y, std::string_view text, std::uint32_t color) override {
    m_painter.setPen(QColor::fromRgb(color));
    m_painter.drawText(QPointF(dx(x), dy(y) + m_metrics->ascent()), zek::toQString(text));
  }

  void line(int x1, int y1, int x2, int y2, bool dashed) override {
    m_painter.setPen(pen(dashed));
    m_painter.drawLine(QPointF(dx(x1), dy(y1)), QPointF(dx(x2), dy(y2)));
  }

  void frame(int x1, int y1, int x2, int y2) override {
    m_painter.setPen(pen(false));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(rect(x1, y1, x2, y2));
  }

  void fill(int x1, int y1, int x2, int y2, std::uint32_t color) override {
    m_painter.fillRect(rect(x1, y1, x2, y2), QColor::fromRgb(color));
  }

  void newPage() override {
    if (!m_printer->newPage()) m_error = "Die n\xE4" "chste Seite lie\xDF sich nicht beginnen.";
  }

  bool finish() override {
    if (m_painter.isActive() && !m_painter.end() && m_error.empty()) m_error = "Der Druckauftrag lie\xDF sich nicht abschlie\xDF" "en.";
    if (m_printer->printerState() == QPrinter::Error && m_error.empty()) m_error = "Der Drucker meldet einen Fehler.";
    return m_error.empty();
  }
  std::string error() const override { return m_error; }

 private:
  double dx(int x) const { return x * m_sx; }
  double dy(int y) const { return -y * m_sy; }
  QRectF rect(int x1, int y1, int x2, int y2) const {
    return QRectF(QPointF(dx(x1), dy(y1)), QPointF(dx(x2), dy(y2))).normalized();
  }
  // One unit (0.1 mm) wide; the dashes of the cutting grid 1.2 mm with gaps of 0.6 mm.
  QPen pen(bool dashed) const {
    QPen p(Qt::black);
    p.setWidthF(std::max(1.0, m_sx));
    p.setCapStyle(Qt::FlatCap);
    if (dashed) p.setDashPattern({12, 6});
    return p;
  }
  // The pixel size whose character cell is `units` high on this device.
  int pixelSizeFor(QFont font, int units) {
    const QString key = font.key();
    auto it = m_cellPerPixel.find(key);
    if (it == m_cellPerPixel.end()) {
      font.setPixelSize(1000);
      it = m_cellPerPixel.emplace(key, QFontMetricsF(font, m_printer.get()).height() / 1000.0).first;
    }
    return std::max(1, static_cast<int>(std::lround(units * m_sy / it->second)));
  }

  std::unique_ptr<QPrinter> m_printer;
  QPainter m_painter;
  QFont m_font;
  std::optional<QFontMetricsF> m_metrics;
  std::map<QString, double> m_cellPerPixel;
  double m_sx = 600 / 254.0, m_sy = 600 / 254.0;
  std::string m_error;
};

TPrintStart started(std::unique_ptr<QPrinter> printer, const std::string& what) {
  TPrintStart r;
  auto surface = std::make_unique<TQtPrintSurface>(std::move(printer));
  if (!surface->begin()) {
    r.error = what;
    return r;
  }
  r.surface = std::move(surface);
  return r;
}

// "karten-vorn.pdf", else "karten-vorn-2.pdf", ...: an earlier print stays.
std::filesystem::path freeName(const std::filesystem::path& dir, const std::string& name) {
  std::filesystem::path p = dir / zek::toPath(name);
  std::error_code ec;
  const std::string stem = zek::fromPath(p.stem()), ext = zek::fromPath(p.extension());
  for (int n = 2; std::filesystem::exists(p, ec) && n < 10000; ++n) p = dir / zek::toPath(stem + "-" + std::to_string(n) + ext);
  return p;
}

}  // namespace

TPrintStart pdfPrintJob(const std::string& path, const std::string& docName, int dpi) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(zek::toQString(path));
  printer->setResolution(dpi);
  printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                                     QPageLayout::Millimeter));
  printer->setDocName(zek::toQString(docName));
  printer->setCreator("zek englisch");
  return started(std::move(printer), "Die Datei \"" + path + "\" l\xE4sst sich nicht schreiben.");
}

TPrintStart beginPrintJob(const TPrintRequest& request) {
  if (jobFactory()) return jobFactory()(request);
  if (const std::string dir = printDirectory(); !dir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(zek::toPath(dir), ec);
    return pdfPrintJob(zek::fromPath(freeName(zek::toPath(dir), request.fileName)), request.docName);
  }
  const TPrinterSetup& setup = printerSetup();
  const QList<QPrinterInfo> printers = setup.pdf ? QList<QPrinterInfo>{} : QPrinterInfo::availablePrinters();
  if (!printers.isEmpty()) {
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!setup.printer.empty()) {
      // A printer chosen earlier that has gone since: the default one prints.
      const QPrinterInfo chosen = QPrinterInfo::printerInfo(zek::toQString(setup.printer));
      if (!chosen.isNull()) info = chosen;
    }
    if (info.isNull()) info = printers.front();
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    printer->setDocName(zek::toQString(request.docName));
    printer->setCreator("zek englisch");
    printer->setPageSize(QPageSize(setup.letter ? QPageSize::Letter : QPageSize::A4));
    return started(std::move(printer), "Der Drucker \"" + zek::fromQString(info.printerName()) + "\" ist nicht bereit.");
  }
  TFileDialogRequest dialog;
  dialog.save = true;
  dialog.title = "Als PDF-Datei drucken";
  dialog.fileName = request.fileName;
  dialog.filter = "PDF-Dateien (*.pdf)|*.pdf";
  dialog.defaultExt = "pdf";
  const auto chosen = askFileName(dialog);
  if (!chosen) {
    TPrintStart r;
    r.cancelled = true;
    return r;
  }
  return pdfPrintJob(*chosen, request.docName);
}

const TPrinterSetup& printerSetup() { return setupSlot(); }

void setPrinterSetup(const TPrinterSetup& setup) { setupSlot() = setup; }

std::vector<std::string> availablePrinterNames() {
  std::vector<std::string> names;
  const QString standard = QPrinterInfo::defaultPrinterName();
  for (const QString& n : QPrinterInfo::availablePrinterNames()) {
    if (n == standard) {
      names.insert(names.begin(), zek::fromQString(n));
    } else {
      names.push_back(zek::fromQString(n));
    }
  }
  return names;
}

std::string printDirectory() {
  const char* dir = std::getenv("ZEK_PRINT_DIR");
  return dir && *dir ? zek::fromPath(std::filesystem::path(dir)) : std::string();
}

void setPrintJobFactory(std::function<TPrintStart(const TPrintRequest&)> factory) { jobFactory() = std::move(factory); }

TBusyCursor::TBusyCursor() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

TBusyCursor::~TBusyCursor() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) QGuiApplication::restoreOverrideCursor();
}
