#pragma once

#include "import/spreadsheetimport.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QTableView;
class StatusHints;
class ImportTableModel;

// Members from a spreadsheet into the archive: the file's rows in a grid,
// each judged (ready, missing mandatory fields, wrong fiscal code, already
// there, too long) before anything is written; the user chooses the field of
// each column and which kinds of row besides the ready ones go in, then
// imports them in one write, or nothing.
class TfrmImportaSoci : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmImportaSoci(QWidget *parent = nullptr);
    ~TfrmImportaSoci() override;

    const SpreadsheetImport &import() const { return m_import; }
    // The problems whose rows go in besides the ready ones, as ticked.
    quint8 accepted() const;
    // Members written to the archive since the window opened.
    qint64 importedCount() const { return m_imported; }

    // The colour that marks a row by its first problem (0: ready).

public slots:
    void cmdApriClick();
    void cmdConfermaClick();
    void cmdChiudiClick();
    void cmdValoriClick();
    void cmdAnnullaImportazioneClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showFile();
    void showCounts();
    // The current row's judgement, whole, under the grid.
    void showCurrent();
    void chooseField(int section);
    void saveReport(const QString &report);

    SpreadsheetImport m_import;
    ImportTableModel *m_model;
    QString m_path;
    qint64 m_imported = 0;
    QTableView *grdImport;
    QMenu *mnuCampi;
    QLabel *lblFile;
    QLabel *lblEsito;
    QLabel *lblRiepilogo;
    QLabel *lblPronte;
    std::array<QCheckBox *, SpreadsheetImport::ProblemCount> m_kinds{};
    QCheckBox *chkVersamenti = nullptr;
    QPushButton *cmdConferma;
    QLabel *panInfo;
    StatusHints *m_hints;
};
