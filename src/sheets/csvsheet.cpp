#include "sheets/csvsheet.h"

#include "base/fixedtext.h"

#include <QFile>
#include <QStringDecoder>

#include <csv.h>

#include <cstdlib>

using namespace SpreadsheetFile;

namespace {

constexpr qint64 kChunk = 1 << 20;
// libcsv gathers a whole cell before it hands it over: a cell larger than
// this (an unclosed quote at the top of a large file, say) ends the reading.
constexpr size_t kCellBytes = 1 << 20;

void *boundedRealloc(void *buffer, size_t size)
{
    return size > kCellBytes ? nullptr : std::realloc(buffer, size);
}

// The separator of the first row: the most frequent outside quotes. A row
// with none (a title above the headings), or with as many commas as
// semicolons, gives way to the next, up to ten.
char firstRowSeparator(const QByteArray &text)
{
    bool quoted = false;
    int semicolons = 0, commas = 0, tabs = 0, rows = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '"') {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == '\n' || c == '\r') {
            // As many commas as semicolons: the rows below tell.
            const bool tied = semicolons == commas && commas > tabs;
            if ((semicolons + commas + tabs > 0 && !tied) || ++rows == 10)
                break;
            if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n')
                ++i;
        } else if (c == ';') {
            ++semicolons;
        } else if (c == ',') {
            ++commas;
        } else if (c == '\t') {
            ++tabs;
        }
    }
    if (commas > semicolons && commas >= tabs)
        return ',';
    if (tabs > semicolons && tabs > commas)
        return '\t';
    return ';';
}

// Turns the file's bytes into the bytes libcsv reads: UTF-16 becomes UTF-8,
// the others pass as they are.
class TextSource
{
public:
    TextSource(QFile &file, const CsvSheet::Dialect &dialect)
        : m_file(file)
    {
        if (dialect.encoding == CsvSheet::Encoding::Utf16LE)
            m_decoder = QStringDecoder(QStringDecoder::Utf16LE);
        else if (dialect.encoding == CsvSheet::Encoding::Utf16BE)
            m_decoder = QStringDecoder(QStringDecoder::Utf16BE);
        m_utf16 = dialect.encoding == CsvSheet::Encoding::Utf16LE || dialect.encoding == CsvSheet::Encoding::Utf16BE;
        m_file.seek(dialect.markBytes);
    }

    // The next piece; empty at the end.
    QByteArray next()
    {
        const QByteArray bytes = m_file.read(kChunk);
        if (!m_utf16 || bytes.isEmpty())
            return bytes;
        const QString text = m_decoder(bytes);
        return text.toUtf8();
    }
    bool failed() const { return m_file.error() != QFileDevice::NoError; }

private:
    QFile &m_file;
    QStringDecoder m_decoder;
    bool m_utf16 = false;
};

struct Parse
{
    Parse(const RowVisitor &visit, const Limits &limits, bool windows1252)
        : cells(limits)
        , sink(visit, limits)
        , limits(limits)
        , windows1252(windows1252)
    {
    }

    RowCells cells;
    RowSink sink;
    const Limits &limits;
    bool windows1252;
    qint64 number = 0;
    int fields = 0;
    int lastEnd = 0;
};

void onField(void *field, size_t size, void *data)
{
    auto *p = static_cast<Parse *>(data);
    ++p->fields;
    if (p->sink.over() || p->cells.nextColumn() >= p->limits.columns)
        return;
    const auto *bytes = static_cast<const char *>(field);
    const qsizetype length = qsizetype(qMin<size_t>(size, size_t(p->limits.cellChars) * 4));
    p->cells.append(p->windows1252 ? FixedText::fromWindows1252(bytes, length)
                                   : QString::fromUtf8(bytes, length));
}

void onRowEnd(int end, void *data)
{
    auto *p = static_cast<Parse *>(data);
    // Every line end is reported, so that empty lines count as rows as they
    // do in a spreadsheet; the LF of a CR LF pair is not a row of its own.
    const bool secondHalf = end == '\n' && p->lastEnd == '\r' && p->fields == 0;
    p->lastEnd = end;
    p->fields = 0;
    if (secondHalf)
        return;
    ++p->number;
    p->sink.deliver(p->number, p->cells);
}

} // namespace

std::optional<CsvSheet::Dialect> CsvSheet::dialect(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    Dialect d;
    const QByteArray head = file.read(kChunk);
    QByteArray firstText = head;
    if (head.startsWith("\xEF\xBB\xBF")) {
        d.encoding = Encoding::Utf8;
        d.markBytes = 3;
        firstText = head.mid(3);
    } else if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF")) {
        d.encoding = head.startsWith("\xFF\xFE") ? Encoding::Utf16LE : Encoding::Utf16BE;
        d.markBytes = 2;
        QStringDecoder decoder(d.encoding == Encoding::Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        firstText = QString(decoder(head.mid(2))).toUtf8();
    } else {
        // UTF-8 throughout, or else Windows-1252. The decoder keeps a
        // character cut between two pieces; a line end after the last piece
        // shows one cut by the end of the file.
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString decoded = utf8(head);
        QByteArray chunk;
        while (!utf8.hasError() && !(chunk = file.read(kChunk)).isEmpty())
            decoded = utf8(chunk);
        if (file.error() != QFileDevice::NoError)
            return std::nullopt;
        decoded = utf8(QByteArrayView("\n"));
        d.encoding = utf8.hasError() ? Encoding::Windows1252 : Encoding::Utf8;
    }
    d.separator = firstRowSeparator(firstText);
    return d;
}

QString CsvSheet::describe(const Dialect &dialect)
{
    const QString separator = dialect.separator == ';'   ? QStringLiteral("punto e virgola")
                              : dialect.separator == ',' ? QStringLiteral("virgola")
                                                         : QStringLiteral("tabulazione");
    QString encoding;
    switch (dialect.encoding) {
    case Encoding::Utf8: encoding = QStringLiteral("UTF-8"); break;
    case Encoding::Utf16LE:
    case Encoding::Utf16BE: encoding = QStringLiteral("UTF-16"); break;
    case Encoding::Windows1252: encoding = QStringLiteral("Windows-1252"); break;
    }
    return QStringLiteral("testo CSV, separatore %1, codifica %2").arg(separator, encoding);
}

Result CsvSheet::read(const QString &path, const RowVisitor &visit, const Limits &limits)
{
    const auto d = dialect(path);
    QFile file(path);
    if (!d || !file.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("Il file non può essere letto: accertarsi che esista e di avere il permesso di "
                                      "leggerlo."), {}};

    csv_parser parser;
    if (csv_init(&parser, CSV_REPALL_NL) != 0)
        return {false, unreadable(), {}};
    csv_set_delim(&parser, static_cast<unsigned char>(d->separator));
    csv_set_realloc_func(&parser, boundedRealloc);
    csv_set_blk_size(&parser, 4096);

    Parse parse(visit, limits, d->encoding == Encoding::Windows1252);
    TextSource source(file, *d);
    bool failed = false;
    for (QByteArray piece = source.next(); !piece.isEmpty() && !parse.sink.over(); piece = source.next()) {
        if (csv_parse(&parser, piece.constData(), size_t(piece.size()), onField, onRowEnd, &parse)
            != size_t(piece.size())) {
            failed = true;
            break;
        }
    }
    if (!failed && !parse.sink.over())
        failed = csv_fini(&parser, onField, onRowEnd, &parse) != 0;
    csv_free(&parser);

    if (parse.sink.tooMany())
        return {false, tooManyRows(limits), {}};
    if (failed || source.failed())
        return {false, unreadable(), {}};
    return {true, {}, describe(*d)};
}
