#pragma once

#include "documents/archivetable.h"

#include <QDialog>

class QLabel;
class QTableView;
class StatusHints;
class ArchiveTableModel;

// The whole archive in a grid, written on request to Archivio_Soci.xls or
// Archivio_Soci.xlsx and opened in the spreadsheet program.
class TfrmExpCandidati : public QDialog
{
    Q_OBJECT
public:
    static const QString FileName;         // "Archivio_Soci.xls"
    static const QString WorkbookFileName; // "Archivio_Soci.xlsx"

    explicit TfrmExpCandidati(QWidget *parent = nullptr);
    ~TfrmExpCandidati() override;

    QTableView *grid() const { return grdRecords; }

public slots:
    void cmdEsportaClick();
    void cmdEsportaXlsxClick();
    void cmdEsciClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Both exports: the same questions, checks and messages around the
    // writer of each file.
    void exportTo(const QString &fileName, bool (ArchiveTable::*write)(const QString &, const Progress &) const);

    ArchiveTable m_table;
    ArchiveTableModel *m_model;
    QTableView *grdRecords;
    QLabel *panInfo;
    StatusHints *m_hints;
};
