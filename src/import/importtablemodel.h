#pragma once

#include "import/spreadsheetimport.h"
#include "members/schedaanagrafica.h"

#include <QAbstractTableModel>
#include <QColor>

class QWidget;

// The grid's view of the rows: number, judgement, then every column of the
// file as it goes into its field. The card of the row last asked for is
// kept, as the grid asks for one row's cells one after the other.
class ImportTableModel : public QAbstractTableModel
{
public:
    static constexpr int FixedColumns = 2; // the row's number and its judgement
    // The colour of a row of that first problem (0: ready), in the grid and
    // in the window's legend.
    static QColor kindColour(int problem);

    explicit ImportTableModel(const SpreadsheetImport &import, QObject *parent)
        : QAbstractTableModel(parent)
        , m_import(import)
    {
    }

    void setGrid(QWidget *grid) { m_grid = grid; }
    QWidget *grid() const { return m_grid; }

    void reset();
    // The same rows, judged again or with other fields.
    void changed();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_import.rowCount());
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : FixedColumns + int(m_import.columns().size());
    }

    QVariant data(const QModelIndex &index, int role) const override;

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const TSchedaAnagrafica &card(qint64 row) const;

    const SpreadsheetImport &m_import;
    mutable qint64 m_cachedRow = -1;
    mutable TSchedaAnagrafica m_card;
    mutable quint32 m_derived = 0;
    QWidget *m_grid = nullptr;
};
