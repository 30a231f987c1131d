#include "import/importtablemodel.h"
#include "import/importfields.h"

#include <QFont>
#include <QWidget>

using S = TSchedaAnagrafica;

QColor ImportTableModel::kindColour(int problem)
{
    switch (problem) {
    case SpreadsheetImport::Missing: return QColor(0xF6, 0xC6, 0xCB);
    case SpreadsheetImport::BadCode: return QColor(0xFF, 0xD8, 0xA8);
    case SpreadsheetImport::Duplicate: return QColor(0xD4, 0xD4, 0xF6);
    case SpreadsheetImport::TooLong: return QColor(0xFF, 0xF0, 0x9A);
    case SpreadsheetImport::NotMember: return QColor(0xDD, 0xDD, 0xDD);
    default: return QColor(0xCB, 0xEB, 0xCF);
    }
}

void ImportTableModel::reset()
{
    beginResetModel();
    m_cachedRow = -1;
    endResetModel();
}

void ImportTableModel::changed()
{
    m_cachedRow = -1;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QVariant ImportTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const qint64 row = index.row();
    const int column = index.column() - FixedColumns;
    if (index.column() == 0) {
        if (role == Qt::DisplayRole)
            return QString::number(m_import.rowNumber(row));
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant();
    }
    if (index.column() == 1) {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole: return m_import.status(row);
        case Qt::BackgroundRole: return kindColour(m_import.firstProblem(row));
        case Qt::ForegroundRole: return QColor(Qt::black);
        default: return QVariant();
        }
    }
    const int target = m_import.columns()[size_t(column)].target;
    if (target == ImportFields::Ignored)
        return role == Qt::DisplayRole || role == Qt::ToolTipRole ? QVariant(m_import.cell(row, column))
             : role == Qt::ForegroundRole                         ? QVariant(QColor(0x90, 0x90, 0x90))
                                                                  : QVariant();
    bool cut = false;
    const QString shown = m_import.cell(row, column, &card(row), &cut);
    // A sex or birth date the fiscal code gave.
    const bool derived = target < S::FieldCount && (m_derived & (1u << target));
    switch (role) {
    case Qt::DisplayRole: return shown;
    case Qt::ForegroundRole:
        return cut ? QColor(0xB0, 0x00, 0x20) : derived ? QColor(0x2F, 0x65, 0x94) : QVariant();
    case Qt::FontRole: {
        if (!derived)
            return QVariant();
        QFont italic = grid()->font();
        italic.setItalic(true);
        return italic;
    }
    case Qt::ToolTipRole:
        if (cut)
            return QStringLiteral("Testo troppo lungo: sarà tagliato a %1 caratteri.")
                .arg(S::fields()[size_t(target)].capacity);
        return derived ? QStringLiteral("Ricavato dal codice fiscale.") : shown;
    default: return QVariant();
    }
}

QVariant ImportTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QVariant();
    if (section < FixedColumns) {
        if (role == Qt::DisplayRole)
            return section == 0 ? QStringLiteral("Riga") : QStringLiteral("Esito");
        return QVariant();
    }
    const SpreadsheetImport::Column &c = m_import.columns()[size_t(section - FixedColumns)];
    switch (role) {
    case Qt::DisplayRole:
        return c.heading + u'\n'
            + (c.target == ImportFields::Ignored ? ImportFields::label(c.target)
                                                 : QStringLiteral("→ ") + ImportFields::label(c.target));
    case Qt::ToolTipRole:
        return QStringLiteral("Fare clic per scegliere il campo della scheda in cui importare la colonna.");
    case Qt::ForegroundRole:
        return c.target == ImportFields::Ignored ? QColor(0x90, 0x90, 0x90) : QColor(0x1F, 0x3B, 0x57);
    default:
        return QVariant();
    }
}

const TSchedaAnagrafica & ImportTableModel::card(qint64 row) const
{
    if (row != m_cachedRow) {
        m_card = m_import.member(row, &m_derived);
        m_cachedRow = row;
    }
    return m_card;
}
