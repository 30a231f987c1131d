#include "sheets/htmltablesheet.h"

#include "base/fixedtext.h"

#include <QFile>

using namespace SpreadsheetFile;

namespace {

constexpr qint64 kChunk = 1 << 16;
constexpr qsizetype kMaxTag = 4096; // a longer tag is skipped, not kept

class Reader
{
public:
    Reader(const RowVisitor &visit, const Limits &limits)
        : m_limits(limits)
        , m_cells(limits)
        , m_sink(visit, limits)
    {
    }

    Result read(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {false, unreadable(), {}};
        QByteArray chunk;
        while (!m_done && !m_sink.over() && !(chunk = file.read(kChunk)).isEmpty())
            feed(chunk);
        if (file.error() != QFileDevice::NoError)
            return {false, unreadable(), {}};
        if (!m_done && !m_sink.over()) {
            if (m_state == State::Cell || m_state == State::CellEnd)
                endCell();
            endRow();
        }
        if (m_sink.tooMany())
            return {false, tooManyRows(m_limits), {}};
        if (!m_sawTable)
            return {false, unreadable(), {}};
        return {true, {}, QStringLiteral("tabella HTML (Archivio_Soci.xls)")};
    }

private:
    enum class State { Text, Tag, Cell, CellEnd };

    void feed(const QByteArray &chunk)
    {
        for (const char c : chunk) {
            if (m_done || m_sink.over())
                return;
            switch (m_state) {
            case State::Text:
                if (c == '<') {
                    m_tag.clear();
                    m_state = State::Tag;
                }
                break;
            case State::Tag:
                if (c == '>') {
                    m_state = State::Text;
                    tag();
                } else if (m_tag.size() < kMaxTag) {
                    m_tag += c;
                }
                break;
            case State::Cell:
                // The cell's text runs to its end tag, whatever else it holds;
                // past the limit only the end tag is looked for.
                if (m_cell.size() < m_cellBytes)
                    m_cell += c;
                ++m_seen;
                m_tail = (m_tail << 8) | static_cast<unsigned char>(c);
                if (m_seen >= 4 && isCellEnd(m_tail)) {
                    const qint64 kept = qMin<qint64>(m_seen, m_cellBytes);
                    m_cell.chop(qsizetype(qMax<qint64>(0, kept - (m_seen - 4))));
                    m_state = State::CellEnd;
                }
                break;
            case State::CellEnd:
                if (c == '>') {
                    endCell();
                    m_state = State::Text;
                }
                break;
            }
        }
    }

    // The last four bytes read are "</td" or "</th", in any case.
    static bool isCellEnd(quint32 tail)
    {
        const quint32 lower = tail | 0x00002020u;
        return (tail & 0xFFFF0000u) == 0x3C2F0000u && (lower == 0x3C2F7464u || lower == 0x3C2F7468u);
    }

    void tag()
    {
        const QByteArray lower = m_tag.toLower();
        const QByteArray name = lower.left(lower.indexOf(' ') < 0 ? lower.size() : lower.indexOf(' ')).trimmed();
        if (name == "meta") {
            if (lower.contains("charset=utf-8"))
                m_utf8 = true;
        } else if (name == "table") {
            m_sawTable = true;
        } else if (name == "/table") {
            if (m_sawTable) {
                endRow();
                m_done = true;
            }
        } else if (!m_sawTable) {
            return;
        } else if (name == "tr") {
            endRow();
            m_inRow = true;
        } else if (name == "/tr") {
            endRow();
        } else if (name == "td" || name == "th") {
            m_inRow = true;
            m_escaped = lower.contains("mso-number-format");
            m_cell.clear();
            m_seen = 0;
            m_tail = 0;
            m_state = State::Cell;
        }
    }

    void endCell()
    {
        QString text = m_utf8 ? QString::fromUtf8(m_cell) : FixedText::fromWindows1252(m_cell.constData(), m_cell.size());
        m_cells.append(m_escaped ? HtmlTableSheet::unescaped(text) : text);
        m_cell.clear();
    }

    void endRow()
    {
        if (!m_inRow)
            return;
        m_inRow = false;
        m_sink.deliver(++m_number, m_cells);
    }

    const Limits &m_limits;
    RowCells m_cells;
    RowSink m_sink;
    State m_state = State::Text;
    QByteArray m_tag;
    QByteArray m_cell;
    const qsizetype m_cellBytes = qsizetype(m_limits.cellChars) * 4;
    qint64 m_seen = 0;
    quint32 m_tail = 0;
    qint64 m_number = 0;
    bool m_utf8 = false;
    bool m_escaped = false;
    bool m_sawTable = false;
    bool m_inRow = false;
    bool m_done = false;
};

} // namespace

QString HtmlTableSheet::unescaped(const QString &text)
{
    if (!text.contains(u'&'))
        return text;
    static const struct
    {
        const char *name;
        char16_t character;
    } named[] = {{"amp", u'&'}, {"lt", u'<'}, {"gt", u'>'}, {"quot", u'"'}, {"apos", u'\''}, {"nbsp", 0xA0}};
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype semicolon = text.at(i) == u'&' ? text.indexOf(u';', i + 1) : -1;
        if (semicolon < 0 || semicolon - i > 10) {
            out += text.at(i);
            continue;
        }
        const QStringView entity = QStringView(text).mid(i + 1, semicolon - i - 1);
        char32_t code = 0;
        if (entity.startsWith(u'#')) {
            bool ok = false;
            const bool hex = entity.size() > 1 && (entity.at(1) == u'x' || entity.at(1) == u'X');
            const uint value = (hex ? entity.mid(2) : entity.mid(1)).toUInt(&ok, hex ? 16 : 10);
            if (ok && value > 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF))
                code = value;
        } else {
            for (const auto &n : named)
                if (entity == QLatin1StringView(n.name))
                    code = n.character;
        }
        if (!code) {
            out += text.at(i);
            continue;
        }
        out += QString::fromUcs4(&code, 1);
        i = semicolon;
    }
    return out;
}

Result HtmlTableSheet::read(const QString &path, const RowVisitor &visit, const Limits &limits)
{
    return Reader(visit, limits).read(path);
}
