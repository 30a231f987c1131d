#pragma once

// What the spreadsheet targets share: the limits they read within (small,
// so that a repeat count cannot keep one input busy for long), the checks
// every row a reader hands over must pass, and the import run over the
// same file.

#include "fuzzsupport.h"

#include "base/clock.h"
#include "sheets/sheetrows.h"
#include "import/spreadsheetimport.h"

#include <zip.h>

#include <QFile>

#include <cstdlib>
#include <functional>

namespace SheetFuzz {

inline SpreadsheetFile::Limits limits()
{
    SpreadsheetFile::Limits l;
    l.rows = 2000;
    l.columns = 64;
    l.cellChars = 300;
    l.entryBytes = 8 << 20;
    l.sharedStrings = 5000;
    l.sharedChars = 1 << 20;
    return l;
}

using Reader = std::function<SpreadsheetFile::Result(const QString &, const SpreadsheetFile::RowVisitor &,
                                                     const SpreadsheetFile::Limits &)>;

// Reads the file with `read`, checking every row, then imports it.
inline void check(const QString &path, const Reader &read)
{
    const SpreadsheetFile::Limits l = limits();
    qint64 last = 0, rows = 0;
    const auto result = read(
        path,
        [&](qint64 number, const QStringList &cells) {
            if (number <= last || cells.isEmpty() || cells.size() > l.columns)
                std::abort();
            // Trailing empty cells are left out: the last one has content.
            bool lastHasContent = false;
            for (QChar ch : cells.last())
                lastHasContent = lastHasContent || ch.unicode() > 32;
            for (const QString &c : cells)
                if (c.size() > l.cellChars)
                    std::abort();
            if (!lastHasContent)
                std::abort();
            last = number;
            ++rows;
            return true;
        },
        l);
    if (rows > l.rows || (!result.ok && result.reason.isEmpty()) || (result.ok && result.description.isEmpty()))
        std::abort();

    // The import goes by the file's content, which may make another format
    // of it than the reader above.
    SpreadsheetImport import;
    if (!import.load(path, l).ok)
        return;
    if (import.rowCount() > l.rows || !import.judge(QDate(2025, 6, 15)))
        std::abort();
    for (qint64 i = 0; i < import.rowCount(); ++i) {
        if (import.status(i).isEmpty() || import.member(i).toBytes().size() != TSchedaAnagrafica::RecordSize)
            std::abort();
        for (size_t c = 0; c < import.columns().size(); ++c) {
            bool cut = false;
            import.cell(i, int(c), nullptr, &cut);
        }
    }
    // Every box ticked lets every row in but those that are no members.
    if (import.keptCount(0xF) != import.rowCount() - import.countWith(SpreadsheetImport::NotMember)
        || import.keptRows(0).size() != size_t(import.keptCount(0)))
        std::abort();
}

// A zip of the given parts, written as `name` in the program folder.
inline QString zipOf(const QString &name, const QList<QPair<const char *, QByteArray>> &parts)
{
    const QString path = Fuzz::writeInput(name, nullptr, 0);
    QFile::remove(path);
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        std::abort();
    for (const auto &[part, bytes] : parts)
        zip_file_add(archive, part, zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0), 0);
    if (zip_close(archive) != 0)
        std::abort();
    return path;
}

} // namespace SheetFuzz
