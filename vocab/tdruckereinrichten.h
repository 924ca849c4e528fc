// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/tprintservice.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QLabel;

// "Drucker einrichten": which printer the lists and flash cards go to for the rest of the
// session, and its paper, or always a PDF file. Without a printer it says that prints
// become PDF files.
class TDruckerEinrichten : public QDialog {
  Q_OBJECT
 public:
  // `drucker`: the system's printers, its default first; `pdfOrdner`: the folder every
  // print goes to without asking (empty: none).
  TDruckerEinrichten(std::vector<std::string> drucker, const TPrinterSetup& jetzt, std::string pdfOrdner,
                     QWidget* parent = nullptr);

  TPrinterSetup Wahl() const;
  QComboBox* DruckerListe() const { return m_drucker; }
  QComboBox* PapierListe() const { return m_papier; }
  QString Hinweis() const;

  // Modal over the system's printers; on "OK" the choice holds for the following prints.
  static void einrichten(QWidget* parent);

 private:
  void anzeigen();

  std::vector<std::string> m_namen;
  std::string m_ordner;
  QComboBox* m_drucker = nullptr;
  QComboBox* m_papier = nullptr;
  QLabel* m_hinweis = nullptr;
};
