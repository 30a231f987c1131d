#include "import/spreadsheetimport.h"

#include "base/carddate.h"
#include "base/blanks.h"
#include "base/clock.h"
#include "base/fixedtext.h"
#include "base/formats.h"
#include "checks/codicefiscale.h"
#include "import/importfields.h"
#include "import/importhistory.h"
#include "members/memberarchive.h"

#include <QRegularExpression>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <cstring>

using S = TSchedaAnagrafica;
using namespace ImportFields;

namespace {

// Bytes kept of a cell: one more than the longest field holds, so that a
// longer text is known to be one.
constexpr int kKept = 251;
// Rows read before the headings are taken to be the first row's.
constexpr int kHeadingRows = 10;
// Bytes kept of a whole sheet; a file that holds more is refused.
constexpr quint64 kMaxKept = 384ULL << 20;

QString columnLetters(int column)
{
    QString letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

quint64 digest(const QByteArray &bytes)
{
    return quint64(qHash(QByteArrayView(bytes), 0x51A7E5EEDULL));
}

QString fieldLabel(int field)
{
    return label(field);
}

QString joined(const QString &first, const QString &second)
{
    if (first.isEmpty())
        return second;
    if (second.isEmpty())
        return first;
    return first + u' ' + second;
}

// Why a row is no member: a title above the list, a total or subtotal, a
// footer. A row with a valid fiscal code is a member whatever its name says.
enum NotMemberReason : quint8 { IsMember, NoName, Total, Title, Digits };

quint8 notMemberReason(const S &m)
{
    if (validCode(m.CodFisc))
        return IsMember;
    if (Blanks::isBlank(m.Candidato))
        return NoName;
    static const QStringList totals = {"totale", "totali", "subtotale", "subtotali", "tot", "somma", "complessivo",
                                       "complessivi", "totalesoci"};
    static const QStringList titles = {"elenco", "lista", "soci", "iscritti", "pagina", "pag", "stampato", "stampa",
                                       "riepilogo", "aggiornato", "aggiornamento", "generato", "fonte", "anno",
                                       "associazione", "note", "nota", "legenda"};
    // The first word, in small letters; the words looked for are plain ASCII.
    QString first;
    for (QChar c : m.Candidato) {
        if (c.isLetter())
            first += c.toLower();
        else if (!first.isEmpty())
            break;
    }
    if (totals.contains(first))
        return Total;
    if (titles.contains(first))
        return Title;
    for (QChar c : m.Candidato)
        if (c.isDigit())
            return Digits;
    return IsMember;
}

QString notMemberText(quint8 reason)
{
    switch (reason) {
    case NoName: return QStringLiteral("senza nome");
    case Total: return QStringLiteral("riga di totale");
    case Title: return QStringLiteral("riga di titolo o di nota");
    case Digits: return QStringLiteral("il nome contiene cifre");
    default: return QString();
    }
}

} // namespace

// The rows' cells, packed in blocks that never move: each row a count of
// cells, their lengths, then their bytes.
class SpreadsheetImport::Arena
{
public:
    static constexpr quint64 Block = 4 << 20;

    quint64 add(const QByteArray &record)
    {
        if (m_blocks.empty() || m_used + quint64(record.size()) > Block) {
            m_blocks.push_back(std::make_unique<char[]>(Block));
            m_used = 0;
        }
        const quint64 start = quint64(m_blocks.size() - 1) * Block + m_used;
        std::memcpy(m_blocks.back().get() + m_used, record.constData(), size_t(record.size()));
        m_used += quint64(record.size());
        return start;
    }
    const char *at(quint64 start) const { return m_blocks[size_t(start / Block)].get() + start % Block; }
    quint64 bytes() const { return quint64(m_blocks.size()) * Block; }

private:
    std::vector<std::unique_ptr<char[]>> m_blocks;
    quint64 m_used = 0;
};

SpreadsheetImport::SpreadsheetImport()
    : m_arena(std::make_unique<Arena>())
    , m_today(Clock::today())
{
}

SpreadsheetImport::~SpreadsheetImport() = default;

void SpreadsheetImport::clear()
{
    m_arena = std::make_unique<Arena>();
    m_rows = std::vector<Row>();
    m_columns.clear();
    m_common = {};
    m_path.clear();
    m_archiveStamp.clear();
    m_judged = false;
}

SpreadsheetFile::Result SpreadsheetImport::load(const QString &path, const SpreadsheetFile::Limits &limits,
                                                const Progress &progress)
{
    clear();
    m_today = Clock::today();

    std::vector<std::pair<qint64, QStringList>> above;
    bool headed = false;
    bool tooLarge = false;
    bool stopped = false;
    qint64 rowsRead = 0;
    const auto headingsFrom = [this, &above](size_t index) {
        setColumns(above[index].second);
        for (size_t i = index + 1; i < above.size(); ++i)
            keepRow(above[i].first, above[i].second);
        above.clear();
    };
    auto result = SpreadsheetFile::read(
        path,
        [&](qint64 number, const QStringList &cells) {
            if (headed) {
                keepRow(number, cells);
            } else {
                int named = 0;
                for (const QString &c : cells)
                    named += match(c) != Ignored ? 1 : 0;
                above.emplace_back(number, cells);
                if (named >= 2) {
                    headingsFrom(above.size() - 1);
                    headed = true;
                } else if (above.size() == size_t(kHeadingRows)) {
                    headingsFrom(0);
                    headed = true;
                }
            }
            tooLarge = m_arena->bytes() > kMaxKept;
            stopped = !tooLarge && progress && !progress(++rowsRead, 0);
            return !tooLarge && !stopped;
        },
        limits);
    if (result.ok && tooLarge)
        result = {false, SpreadsheetFile::tooLarge(), {}};
    if (result.ok && stopped)
        result = {false, QStringLiteral("Lettura interrotta."), {}};
    if (result.ok && !headed && !above.empty())
        headingsFrom(0);
    if (!result.ok)
        clear();
    else
        m_path = path;
    return result;
}

void SpreadsheetImport::setColumns(const QStringList &headings)
{
    // What the user chose for a heading before wins over what it names.
    const QHash<QString, int> chosen = ImportHistory::chosenTargets();
    std::vector<int> targets;
    for (const QString &heading : headings) {
        const auto remembered = chosen.constFind(comparable(heading));
        targets.push_back(remembered != chosen.constEnd() && !heading.isEmpty() ? *remembered : match(heading));
    }
    // A telephone that does not say which is the mobile number, the one a
    // card needs, unless another column gives that.
    const bool mobile = std::find(targets.begin(), targets.end(), int(S::fCel)) != targets.end();
    bool anyPhoneSeen = false;
    for (int &target : targets) {
        if (target != AnyPhone)
            continue;
        target = !mobile && !anyPhoneSeen ? int(S::fCel) : int(S::fTel);
        anyPhoneSeen = true;
    }
    m_columns.clear();
    std::vector<bool> taken(size_t(FirstName + 1), false);
    for (qsizetype i = 0; i < headings.size(); ++i) {
        int target = targets[size_t(i)];
        if (target != Ignored && taken[size_t(target)])
            target = Ignored; // the first column of a field fills it
        if (target != Ignored)
            taken[size_t(target)] = true;
        const QString heading = Blanks::trimmed(headings[i]).simplified();
        m_columns.push_back({heading.isEmpty() ? QStringLiteral("Colonna ") + columnLetters(int(i)) : heading, target});
    }
}

void SpreadsheetImport::keepRow(qint64 number, const QStringList &cells)
{
    const int count = int(cells.size());
    while (m_columns.size() < size_t(count))
        m_columns.push_back({QStringLiteral("Colonna ") + columnLetters(int(m_columns.size())), Ignored});
    QByteArray record(2 + count, '\0');
    record[0] = char(count & 0xFF);
    record[1] = char(count >> 8);
    for (int c = 0; c < count; ++c) {
        const QByteArray bytes = FixedText::toWindows1252(Blanks::trimmed(withoutControls(cells[c]))).left(kKept);
        record[2 + c] = char(bytes.size());
        record += bytes;
    }
    m_rows.push_back({m_arena->add(record), quint32(qMin<qint64>(number, 0xFFFFFFFF)), 0, 0});
}

QByteArrayView SpreadsheetImport::bytes(qint64 row, int column) const
{
    const char *record = m_arena->at(m_rows[size_t(row)].start);
    const int count = static_cast<unsigned char>(record[0]) | static_cast<unsigned char>(record[1]) << 8;
    if (column < 0 || column >= count)
        return {};
    qsizetype at = 2 + count;
    for (int c = 0; c < column; ++c)
        at += static_cast<unsigned char>(record[2 + c]);
    return QByteArrayView(record + at, static_cast<unsigned char>(record[2 + column]));
}

QString SpreadsheetImport::text(qint64 row, int column) const
{
    const QByteArrayView b = bytes(row, column);
    return FixedText::fromWindows1252(b.data(), b.size());
}

void SpreadsheetImport::setTarget(int column, int target)
{
    if (column < 0 || size_t(column) >= m_columns.size())
        return;
    if (target != Ignored)
        for (Column &c : m_columns)
            if (c.target == target)
                c.target = Ignored;
    m_columns[size_t(column)].target = target;
    ImportHistory::rememberTarget(comparable(m_columns[size_t(column)].heading), target);
    if (m_judged)
        judgeRows();
}

std::vector<int> SpreadsheetImport::unfilledFields() const
{
    std::vector<bool> filled(size_t(S::FieldCount), false);
    for (const Column &c : m_columns)
        if (fieldOf(c.target) >= 0)
            filled[size_t(fieldOf(c.target))] = true;
    std::vector<int> fields;
    for (int field = S::fCandidato; field <= S::fRicontatta; ++field)
        if (!filled[size_t(field)] && field != S::fCandidato && field != S::fCodFisc)
            fields.push_back(field);
    return fields;
}

void SpreadsheetImport::setCommonValue(int field, const QString &value)
{
    if (field < 0 || field >= S::FieldCount)
        return;
    m_common[size_t(field)] = Blanks::trimmed(withoutControls(value));
    if (m_judged)
        judgeRows();
}

QString SpreadsheetImport::commonValue(int field) const
{
    return field >= 0 && field < S::FieldCount ? m_common[size_t(field)] : QString();
}

bool SpreadsheetImport::anyColumnMatched() const
{
    for (const Column &c : m_columns)
        if (c.target != Ignored)
            return true;
    return false;
}

TSchedaAnagrafica SpreadsheetImport::member(qint64 row, quint32 *derived) const
{
    S s;
    QString surname, firstName;
    for (size_t c = 0; c < m_columns.size(); ++c) {
        const int target = m_columns[c].target;
        if (target == Ignored)
            continue;
        const QString cell = text(row, int(c));
        if (target == Surname)
            surname = cell;
        else if (target == FirstName)
            firstName = cell;
        else
            s.*S::fields()[size_t(target)].member = clean(target, cell, m_today);
    }
    if (s.Candidato.isEmpty())
        s.Candidato = joined(surname, firstName);
    if (std::any_of(m_common.begin(), m_common.end(), [](const QString &v) { return !v.isEmpty(); }))
        for (int field : unfilledFields())
            if (!m_common[size_t(field)].isEmpty())
                s.*S::fields()[size_t(field)].member = clean(field, m_common[size_t(field)], m_today);
    quint32 fromCode = 0;
    if (s.Sesso.isEmpty()) {
        if (const auto sex = FiscalCode::sex(s.CodFisc)) {
            s.Sesso = *sex;
            fromCode |= 1u << S::fSesso;
        }
    }
    // A date of birth that is no date (a year alone, the 31st of February)
    // gives way to the one a valid fiscal code holds, as a missing one does.
    if (!CardDate::read(s.DataNasc)) {
        if (const auto birth = FiscalCode::birthDate(s.CodFisc, m_today)) {
            s.DataNasc = CardDate::text(*birth);
            fromCode |= 1u << S::fDataNasc;
        }
    }
    if (derived)
        *derived = fromCode;
    return s;
}

QString SpreadsheetImport::cell(qint64 row, int column, const TSchedaAnagrafica *built, bool *cut) const
{
    if (cut)
        *cut = false;
    const int target = m_columns[size_t(column)].target;
    if (target == Ignored || target == Surname || target == FirstName)
        return text(row, column);
    const S own = built ? S() : member(row);
    const S &m = built ? *built : own;
    const S::Field &field = S::fields()[size_t(target)];
    const QString value = m.*field.member;
    if (!cut || storedLength(value) <= field.capacity)
        return value;
    *cut = true;
    return FixedText::fromWindows1252(FixedText::toWindows1252(value).constData(), field.capacity);
}

quint8 SpreadsheetImport::problemsOf(const S &m, quint32 *missing, quint32 *tooLong) const
{
    quint8 problems = 0;
    quint32 lacking = 0, over = 0;
    // A mandatory date that cannot be read as one is not there.
    for (const S::Mandatory &f : S::mandatory()) {
        const QString &value = m.*S::fields()[size_t(f.id)].member;
        if (Blanks::isBlank(value) || (ImportFields::isDateField(f.id) && !CardDate::read(value)))
            lacking |= 1u << f.id;
    }
    if (lacking)
        problems |= Missing;
    if (!m.CodFisc.isEmpty() && !validCode(m.CodFisc))
        problems |= BadCode;
    for (int id = S::fCandidato; id <= S::fRicontatta; ++id) {
        const S::Field &f = S::fields()[size_t(id)];
        if (storedLength(m.*f.member) > f.capacity)
            over |= 1u << id;
    }
    if (over)
        problems |= TooLong;
    if (missing)
        *missing = lacking;
    if (tooLong)
        *tooLong = over;
    return problems;
}

bool SpreadsheetImport::readArchive(const std::function<bool(const RecordFile::Visitor &)> &forEach)
{
    std::unordered_map<quint64, qint64> codes, names;
    const bool read = forEach([&](qint64 index, const char *record) {
        const QByteArray code = folded(S::storedText(record, S::fCodFisc));
        if (!code.isEmpty())
            codes.emplace(digest(code), index + 1);
        const QByteArray name = folded(S::storedText(record, S::fCandidato));
        const QByteArrayView birthBytes = S::storedText(record, S::fDataNasc);
        if (!name.isEmpty() && !birthBytes.isEmpty()) {
            const auto d = CardDate::read(birthBytes);
            names.emplace(digest(name + '|' + (d ? CardDate::text(*d).toLatin1() : folded(birthBytes))),
                          index + 1);
        }
        return true;
    });
    if (!read)
        return false;
    m_archiveCodes = std::move(codes);
    m_archiveNames = std::move(names);
    return true;
}

bool SpreadsheetImport::judge(const QDate &today, const Progress &progress)
{
    m_today = today;
    MemberArchive archive;
    // Equal stamps before and after: nobody wrote while the archive was read.
    const QByteArray before = archive.file().stamp();
    if (!readArchive([&archive](const RecordFile::Visitor &visit) { return archive.forEach(visit); }))
        return false;
    m_archiveStamp = archive.file().stamp() == before ? before : QByteArray();
    m_judged = judgeRows(progress);
    return m_judged;
}

bool SpreadsheetImport::judgeRows(const Progress &progress)
{
    // The rows above, by the same keys, with their numbers in the sheet.
    std::unordered_map<quint64, qint64> codes, names;
    for (Row &row : m_rows) {
        const qint64 index = qint64(&row - m_rows.data());
        if (progress && index % 1024 == 1023 && !progress(index + 1, rowCount()))
            return false;
        const S m = member(index);
        row.duplicateOf = 0;
        row.remarks = !m.Cap.isEmpty() && !italianPostcode(m.Cap) ? ForeignPostcode : 0;
        row.notMember = notMemberReason(m);
        if (row.notMember) {
            row.problems = NotMember;
            continue;
        }
        row.problems = problemsOf(m, nullptr, nullptr);
        const QByteArray code = folded(FixedText::toWindows1252(m.CodFisc));
        const QByteArray name = folded(FixedText::toWindows1252(m.Candidato));
        const QByteArray birth = folded(FixedText::toWindows1252(m.DataNasc));
        const quint64 codeKey = code.isEmpty() ? 0 : digest(code);
        const quint64 nameKey = name.isEmpty() || birth.isEmpty() ? 0 : digest(name + '|' + birth);
        const auto look = [&row](const std::unordered_map<quint64, qint64> &map, quint64 key, qint64 sign) {
            if (!key || row.duplicateOf)
                return;
            const auto found = map.find(key);
            if (found != map.end())
                row.duplicateOf = sign * found->second;
        };
        look(m_archiveCodes, codeKey, 1);
        look(m_archiveNames, nameKey, 1);
        look(codes, codeKey, -1);
        look(names, nameKey, -1);
        if (row.duplicateOf)
            row.problems |= Duplicate;
        if (codeKey)
            codes.emplace(codeKey, row.number);
        if (nameKey)
            names.emplace(nameKey, row.number);
    }
    return true;
}

SpreadsheetImport::Problem SpreadsheetImport::firstProblem(qint64 row) const
{
    if (problems(row) & NotMember)
        return NotMember;
    for (Problem p : Problems)
        if (problems(row) & p)
            return p;
    return Problem(0);
}

QString SpreadsheetImport::status(qint64 row) const
{
    return statusOf(row, problems(row));
}

QString SpreadsheetImport::statusOf(qint64 row, quint8 problems) const
{
    if (problems & NotMember)
        return QStringLiteral("Non è un socio: ") + notMemberText(m_rows[size_t(row)].notMember);
    const QString remark = remarks(row) & ForeignPostcode ? QStringLiteral("CAP non valido (importato così com'è)")
                                                          : QString();
    if (!problems)
        return remark.isEmpty() ? QStringLiteral("Pronta") : QStringLiteral("Pronta; ") + remark;
    quint32 missing = 0, tooLong = 0;
    problemsOf(member(row), &missing, &tooLong);
    QStringList said;
    if (problems & Missing) {
        QStringList names;
        for (const S::Mandatory &f : S::mandatory())
            if (missing & (1u << f.id))
                names << QString::fromUtf8(f.name);
        said << (names.size() == 1 ? QStringLiteral("Manca: ") : QStringLiteral("Mancano: ")) + names.join(u", ");
    }
    if (problems & BadCode)
        said << QStringLiteral("codice fiscale errato");
    if (problems & Duplicate) {
        const qint64 of = duplicateOf(row);
        said << (of > 0 ? QStringLiteral("già in archivio (scheda %1)").arg(of)
                        : QStringLiteral("ripete la riga %1").arg(-of));
    }
    if (problems & TooLong) {
        QStringList names;
        for (int id = S::fCandidato; id <= S::fRicontatta; ++id)
            if (tooLong & (1u << id))
                names << fieldLabel(id);
        said << QStringLiteral("testo troppo lungo: ") + names.join(u", ");
    }
    if (!remark.isEmpty())
        said << remark;
    QString text = said.join(QStringLiteral("; "));
    text[0] = text[0].toUpper();
    return text;
}

qint64 SpreadsheetImport::keptCount(quint8 accepted) const
{
    qint64 n = 0;
    for (const Row &row : m_rows)
        n += kept(row.problems, accepted) ? 1 : 0;
    return n;
}

qint64 SpreadsheetImport::countWith(Problem problem) const
{
    qint64 n = 0;
    for (const Row &row : m_rows)
        n += (problem ? (row.problems & problem) != 0 : row.problems == 0) ? 1 : 0;
    return n;
}

std::vector<qint64> SpreadsheetImport::keptRows(quint8 accepted) const
{
    std::vector<qint64> rows;
    rows.reserve(size_t(keptCount(accepted)));
    for (qint64 i = 0; i < rowCount(); ++i)
        if (kept(problems(i), accepted))
            rows.push_back(i);
    return rows;
}

std::array<qint64, SpreadsheetImport::ProblemCount> SpreadsheetImport::skippedBy(quint8 accepted) const
{
    std::array<qint64, ProblemCount> counts{};
    for (const Row &row : m_rows)
        for (int p = 0; p < ProblemCount; ++p)
            if ((row.problems & Problems[p]) && !(accepted & Problems[p])) {
                ++counts[size_t(p)];
                break;
            }
    return counts;
}

std::optional<int> SpreadsheetImport::feeYear() const
{
    static const QRegularExpression year(QStringLiteral("(?<!\\d)(19\\d\\d|20\\d\\d)(?!\\d)"));
    for (const Column &c : m_columns)
        if (c.target == S::fEsperienze)
            if (const auto m = year.match(c.heading); m.hasMatch())
                return m.captured(1).toInt();
    return std::nullopt;
}

QString SpreadsheetImport::problemText(Problem problem)
{
    switch (problem) {
    case Missing: return QStringLiteral("con dati obbligatori mancanti");
    case BadCode: return QStringLiteral("con codice fiscale errato");
    case Duplicate: return QStringLiteral("già in archivio o ripetute nel file");
    case TooLong: return QStringLiteral("con testi troppo lunghi");
    case NotMember: return QStringLiteral("che non sono soci");
    }
    return QString();
}

QString SpreadsheetImport::report(const QString &path, quint8 accepted, qint64 firstIndex) const
{
    const QLocale italian(QLocale::Italian);
    const qint64 imported = keptCount(accepted);
    const qint64 skipped = rowCount() - imported;
    const QDateTime now = Clock::now();
    QStringList lines;
    lines << QStringLiteral("Importazione soci da foglio di calcolo")
          << QStringLiteral("File: ") + path
          << QStringLiteral("Data: ") + Formats::shortDate(now.date()) + now.time().toString(QStringLiteral(" HH:mm"))
          << QString();
    lines << QStringLiteral("Righe lette: ") + italian.toString(rowCount());
    lines << QStringLiteral("Soci importati in archivio: ") + italian.toString(imported)
                 + (imported == 1 ? QStringLiteral(" (scheda %1)").arg(firstIndex + 1)
                    : imported    ? QStringLiteral(" (schede da %1 a %2)").arg(firstIndex + 1).arg(firstIndex + imported)
                                  : QString());
    lines << QStringLiteral("Righe non importate: ") + italian.toString(skipped);
    const auto by = skippedBy(accepted);
    for (int p = 0; p < ProblemCount; ++p)
        if (by[size_t(p)])
            lines << QStringLiteral("  ") + problemText(Problems[p]) + QStringLiteral(": ")
                         + italian.toString(by[size_t(p)]);
    if (const qint64 others = countWith(NotMember))
        lines << QStringLiteral("  ") + problemText(NotMember) + QStringLiteral(": ") + italian.toString(others);
    const auto listRows = [&](bool keptRows, const QString &title) {
        bool any = false;
        for (qint64 i = 0; i < rowCount(); ++i) {
            if ((!problems(i) && !remarks(i)) || kept(problems(i), accepted) != keptRows)
                continue;
            if (!any)
                lines << QString() << title;
            any = true;
            lines << QStringLiteral("Riga %1 - %2: %3")
                         .arg(rowNumber(i))
                         .arg(member(i).Candidato.isEmpty() ? QStringLiteral("(senza nome)") : member(i).Candidato,
                              status(i));
        }
    };
    listRows(false, QStringLiteral("Righe non importate:"));
    listRows(true, QStringLiteral("Righe importate con avvertenze:"));
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

SpreadsheetImport::Outcome SpreadsheetImport::importInto(quint8 accepted, const Progress &progress)
{
    Outcome outcome;
    bool unread = false;
    ImportHistory::Digest digest;
    const ImportHistory::Import noted{0, Clock::now(), QFileInfo(m_path).fileName(), 0, 0, {}};
    qint64 first = 0;
    // The cards are made before the archive is locked, so that other copies
    // of the program wait only for the writing; those of a sheet too large to
    // keep them in memory are made while they are written.
    constexpr qint64 MadeAhead = 64 << 20;
    std::vector<qint64> rows = keptRows(accepted);
    QByteArray made;
    if (qint64(rows.size()) * S::RecordSize <= MadeAhead) {
        made.reserve(qsizetype(rows.size()) * S::RecordSize);
        for (qint64 row : rows)
            made += member(row).toBytes();
    }
    QElapsedTimer locked;
    locked.start();
    const RecordFile::Appended appended = MemberArchive().file().appendAll(
        [&](const RecordFile::Locked &archive) -> qint64 {
            // Judged again unless nobody wrote since the archive was read.
            if (m_archiveStamp.isEmpty() || archive.stamp() != m_archiveStamp) {
                if (!readArchive([&archive](const RecordFile::Visitor &visit) { return archive.forEach(visit); })) {
                    unread = true;
                    return 0;
                }
                judgeRows();
                std::vector<qint64> now = keptRows(accepted);
                if (now != rows) {
                    rows = std::move(now);
                    made.clear();
                }
            }
            return qint64(rows.size());
        },
        [&](qint64 i) {
            const QByteArray record = made.isEmpty() ? member(rows[size_t(i)]).toBytes()
                                                     : made.mid(i * S::RecordSize, S::RecordSize);
            digest.add(record);
            return record;
        },
        {}, &first, progress);
    outcome.lockedMs = locked.elapsed();
    switch (appended) {
    case RecordFile::Appended::Yes: break;
    case RecordFile::Appended::Stopped: outcome.kind = Outcome::Stopped; return outcome;
    case RecordFile::Appended::Nothing: outcome.kind = unread ? Outcome::Failed : Outcome::NoRows; return outcome;
    case RecordFile::Appended::Failed: outcome.kind = Outcome::Failed; return outcome;
    }
    // Noted once the archive is free again: should this fail, or the program
    // die first, the import stands and only cannot be taken back (a card
    // another copy adds or saves meanwhile keeps it from being taken back too).
    ImportHistory::Import import = noted;
    import.first = first;
    import.count = qint64(rows.size());
    import.digest = digest.result();
    outcome.undoable = ImportHistory::record(import);
    outcome.kind = Outcome::Imported;
    outcome.first = first;
    outcome.count = qint64(rows.size());
    outcome.report = report(m_path, accepted, first);
    outcome.skipped = skippedBy(accepted);
    outcome.notMembers = countWith(NotMember);
    clear();
    return outcome;
}
