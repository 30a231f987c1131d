#include "sheets/sheetrows.h"

#include <QLocale>

#include <cmath>

namespace SpreadsheetFile {

QString unreadable()
{
    return QStringLiteral("Il file non è un foglio di calcolo che il programma sa leggere (CSV, Excel .xlsx, "
                          "LibreOffice .ods o Archivio_Soci.xls), oppure è danneggiato.");
}

QString tooManyRows(const Limits &limits)
{
    return QStringLiteral("Il file contiene più di %1 righe.").arg(QLocale(QLocale::Italian).toString(limits.rows));
}

QString tooLarge()
{
    return QStringLiteral("Il contenuto del file è troppo grande per essere importato.");
}

std::optional<QDate> dateFromSerial(double serial, bool from1904)
{
    if (!std::isfinite(serial) || serial < 0 || serial > 3e6)
        return std::nullopt;
    const qint64 days = qint64(std::floor(serial));
    QDate date;
    if (from1904)
        date = QDate(1904, 1, 1).addDays(days);
    else if (days >= 61)
        date = QDate(1899, 12, 30).addDays(days);
    else if (days >= 1)
        date = QDate(1899, 12, 31).addDays(days); // before the leap day 1900 never had
    if (!date.isValid() || date.year() < 1900 || date.year() > 9999)
        return std::nullopt;
    return date;
}

QString numberText(double value)
{
    if (!std::isfinite(value))
        return QString();
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    QString text = QString::number(value, 'g', 15);
    text.replace(u'.', u',');
    return text;
}

void RowCells::set(int column, const QString &text)
{
    if (column < 0)
        return;
    m_next = qMin(column, m_limits.columns) + 1;
    if (column >= m_limits.columns)
        return;
    bool blank = true;
    for (QChar c : text)
        if (c.unicode() > 32) {
            blank = false;
            break;
        }
    if (blank)
        return;
    while (m_cells.size() < column)
        m_cells.append(QString());
    const QString cut = text.size() > m_limits.cellChars ? text.left(m_limits.cellChars) : text;
    if (m_cells.size() == column)
        m_cells.append(cut);
    else
        m_cells[column] = cut;
    m_content = true;
}

void RowCells::clear()
{
    m_cells.clear();
    m_next = 0;
    m_content = false;
}

bool RowSink::deliver(qint64 number, RowCells &cells)
{
    return deliverRepeated(number, 1, cells);
}

bool RowSink::deliverRepeated(qint64 number, qint64 times, RowCells &cells)
{
    if (over()) {
        cells.clear();
        return false;
    }
    if (cells.hasContent() && times > 0) {
        if (times > m_limits.rows - m_delivered) {
            m_tooMany = true;
        } else {
            for (qint64 i = 0; i < times && !m_stopped; ++i) {
                ++m_delivered;
                if (!m_visit(number + i, cells.cells()))
                    m_stopped = true;
            }
        }
    }
    cells.clear();
    return !over();
}

} // namespace SpreadsheetFile
