#pragma once

#include "sheets/sheetrows.h"

#include <QIODevice>
#include <QString>

#include <memory>

struct zip;

// The zip around the XML parts of an .xlsx or .ods file. A part is read as it
// is unpacked, never whole; a part that would unpack to more than the limits
// allow (in all, or for its packed size) is refused before or while it is
// read, whatever sizes the zip claims.
class SheetZip
{
public:
    SheetZip(const QString &path, const SpreadsheetFile::Limits &limits);
    ~SheetZip();
    SheetZip(const SheetZip &) = delete;
    SheetZip &operator=(const SheetZip &) = delete;

    bool open();
    bool has(const QString &name);
    // The part ready to be read; null when it is missing, cannot be unpacked
    // or is too large (then tooLarge() says so). One part at a time.
    std::unique_ptr<QIODevice> part(const QString &name);
    // The last part asked for unpacks, or unpacked, to more than allowed.
    bool tooLarge() const { return *m_tooLarge; }

private:
    QString m_path;
    const SpreadsheetFile::Limits &m_limits;
    zip *m_zip = nullptr;
    qint64 m_fileSize = 0;
    std::shared_ptr<bool> m_tooLarge;
};

// What the .xlsx and .ods readers share: the zip, the limits, the row being
// filled and where the rows go, and what a read that failed tells.
class ZippedSheetReader
{
public:
    ZippedSheetReader(const QString &path, const SpreadsheetFile::RowVisitor &visit,
                      const SpreadsheetFile::Limits &limits)
        : m_zip(path, limits)
        , m_limits(limits)
        , m_cells(limits)
        , m_sink(visit, limits)
    {
    }

protected:
    // Too many rows, a part too large (also when `tooLarge`), or else a file
    // that cannot be read.
    SpreadsheetFile::Result failure(bool tooLarge = false) const
    {
        if (m_sink.tooMany())
            return {false, SpreadsheetFile::tooManyRows(m_limits), {}};
        if (tooLarge || m_zip.tooLarge())
            return {false, SpreadsheetFile::tooLarge(), {}};
        return {false, SpreadsheetFile::unreadable(), {}};
    }

    SheetZip m_zip;
    const SpreadsheetFile::Limits &m_limits;
    SpreadsheetFile::RowCells m_cells;
    SpreadsheetFile::RowSink m_sink;
};
