#include "import/importfields.h"

#include "base/carddate.h"
#include "base/blanks.h"
#include "checks/codicefiscale.h"
#include "checks/partitaiva.h"
#include "sheets/spreadsheetfile.h"

#include <QHash>
#include <QLocale>

#include <algorithm>

using S = TSchedaAnagrafica;

namespace ImportFields {

namespace {

struct Known
{
    int target;
    const char *label;
    std::vector<const char *> headings; // besides the label
};

// The labels are the export grid's headings; the headings, those of the
// export file and those volunteers write.
const std::vector<Known> &known()
{
    static const std::vector<Known> table = {
        {S::fCandidato, "Cognome e nome", {"Cognome nome", "Nominativo", "Cognome e nome del socio", "Nome e cognome",
                                           "Nome cognome", "Socio"}},
        {Surname, "Cognome", {}},
        {FirstName, "Nome", {}},
        {S::fSesso, "Sesso", {"Genere", "M/F"}},
        {S::fDataNasc, "Data nascita", {"Data di nascita", "Data nasc.", "Nato il", "Nata il", "Nato/a il",
                                        "Nascita"}},
        {S::fCittadinanza, "Cittadinanza", {"Nazionalità"}},
        {S::fLuogoNasc, "Luogo nascita", {"Luogo di nascita", "Luogo nasc.", "Nato a", "Nata a", "Nato/a a",
                                          "Comune di nascita"}},
        {S::fIndirizzo, "Indirizzo residenza", {"Indirizzo", "Indirizzo di residenza", "Via", "Via e numero",
                                                "Residenza"}},
        {S::fCitta, "Città", {"Comune", "Città di residenza", "Comune di residenza", "Località"}},
        {S::fCap, "CAP", {"C.A.P.", "Codice postale"}},
        {S::fSettore, "Qualifica", {"Professione", "Ruolo", "Tipo socio", "Carica"}},
        {S::fCodFisc, "Codice fiscale", {"C.F.", "CF", "Cod. fisc.", "Cod. fiscale", "Codice fisc."}},
        {S::fPartitaIva, "Partita IVA", {"P. IVA", "P.I.", "Partita I.V.A."}},
        {S::fPatente, "Tessera n.", {"Tessera", "N. tessera", "Numero tessera", "Tessera numero", "N. tess."}},
        {S::fStudio, "Titolo di studio", {"Titolo studio", "Studio", "Studi"}},
        {S::fLingue, "Lingue conosciute", {"Lingue", "Lingue straniere"}},
        {S::fEmail, "E-mail", {"Email", "Posta elettronica", "Mail", "Indirizzo e-mail", "Indirizzo email"}},
        {S::fTel, "Tel. casa", {"Telefono casa", "Telefono di casa", "Telefono fisso", "Tel. fisso",
                                "Tel. abitazione", "Tel. casa"}},
        {S::fCel, "Tel. cellulare", {"Cellulare", "Cell.", "Cel.", "Telefono cellulare", "Tel. cell.",
                                     "Cellulare personale", "Mobile"}},
        {S::fDocumento, "Documento", {"Documento (tipo e numero)", "Documento di identità", "Documento identità",
                                      "Tipo e numero documento"}},
        {S::fEnteRil, "Ente di rilascio", {"Ente rilascio", "Rilasciato da"}},
        {S::fInizioTes, "Data rilascio", {"Data di rilascio", "Rilasciato il"}},
        {S::fFineTes, "Data scadenza", {"Data di scadenza", "Scadenza", "Scadenza documento"}},
        {S::fEsperienze, "Quota associativa", {"Quota", "Quota associativa e modalità di pagamento",
                                               "Quota e pagamento", "Quota annuale", "Quota sociale", "Quote"}},
        {S::fCompetenze, "Data ammissione", {"Data di ammissione", "Ammissione", "Data iscrizione",
                                             "Data di iscrizione", "Iscrizione", "Iscritto il", "Socio dal"}},
        {S::fDisponibilita, "Data cessazione", {"Data di cessazione", "Cessazione", "Cessato il", "Data uscita",
                                                "Data dimissioni"}},
        {S::fNote, "Note", {"Annotazioni", "Osservazioni"}},
        {S::fRicontatta, "Da ricontattare", {"Ricontattare", "Ricontatta", "Richiamare"}},
    };
    return table;
}

// Headings that name a telephone without saying which: the mobile number
// when the sheet has no other column for it, the home number otherwise.
const char *const kAnyPhone[] = {"Telefono", "Tel.", "Tel", "Telefoni", "Recapito telefonico", "N. telefono",
                                 "Numero di telefono", "Numero telefono", "Recapito"};

// Words of a heading, as they are compared; a year ("Quota 2026") and the
// word "anno" say when, not what, and are left out.
QStringList headingWords(const QString &heading)
{
    const QString decomposed = heading.normalized(QString::NormalizationForm_D);
    QStringList words;
    QString word;
    const auto flush = [&] {
        const bool year = word.size() == 4 && (word.startsWith(QLatin1String("19")) || word.startsWith(QLatin1String("20")))
            && word.toInt() > 0;
        if (!word.isEmpty() && !year && word != QLatin1String("anno"))
            words << word;
        word.clear();
    };
    for (QChar c : decomposed) {
        if (c.isLetterOrNumber())
            word += c.toLower();
        else if (c.category() != QChar::Mark_NonSpacing)
            flush();
    }
    flush();
    return words;
}

const QHash<QString, int> &headingTable()
{
    static const QHash<QString, int> table = [] {
        QHash<QString, int> t;
        for (const Known &k : known()) {
            t.insert(headingWords(QString::fromUtf8(k.label)).join(QString()), k.target);
            for (const char *h : k.headings)
                t.insert(headingWords(QString::fromUtf8(h)).join(QString()), k.target);
        }
        for (const char *h : kAnyPhone)
            t.insert(headingWords(QString::fromUtf8(h)).join(QString()), AnyPhone);
        return t;
    }();
    return table;
}

// Months by name and their short forms, in Italian and English ("gennaio",
// "gen", "January", "Jan").
int monthOf(QStringView word)
{
    static const QHash<QString, int> months = [] {
        QHash<QString, int> table;
        for (const QLocale::Language language : {QLocale::Italian, QLocale::English}) {
            const QLocale locale(language);
            for (int m = 1; m <= 12; ++m)
                for (const QLocale::FormatType form : {QLocale::LongFormat, QLocale::ShortFormat})
                    table.insert(locale.monthName(m, form).toLower().remove(u'.'), m);
        }
        return table;
    }();
    return months.value(word.toString().toLower());
}

bool allDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

int twoDigitYear(int yy, int month, int day, const QDate &today, bool future)
{
    if (future)
        return 2000 + yy > today.year() + 50 ? 1900 + yy : 2000 + yy;
    const QDate recent(2000 + yy, month, day);
    return recent.isValid() && recent > today ? 1900 + yy : 2000 + yy;
}

} // namespace

const std::vector<int> &targets()
{
    static const std::vector<int> list = [] {
        std::vector<int> t{Ignored};
        for (const Known &k : known())
            t.push_back(k.target);
        return t;
    }();
    return list;
}

QString label(int target)
{
    for (const Known &k : known())
        if (k.target == target)
            return QString::fromUtf8(k.label);
    if (target == AnyPhone)
        return QStringLiteral("Telefono (cellulare o casa)");
    return QStringLiteral("(ignorata)");
}

int targetOf(const QString &label)
{
    for (int target : targets())
        if (ImportFields::label(target) == label)
            return target;
    return Ignored;
}

int fieldOf(int target)
{
    if (target == Surname || target == FirstName)
        return S::fCandidato;
    return target >= 0 && target <= S::fRicontatta ? target : -1;
}

QString comparable(const QString &heading)
{
    const QString decomposed = heading.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (QChar c : decomposed)
        if (c.isLetterOrNumber())
            out += c.toLower();
    return out;
}

int match(const QString &heading)
{
    // The whole heading first; then its first words, so that "Data
    // iscrizione al circolo" is the date of admission, as long as they are
    // more than one word ("Nome del padre" is no first name).
    const QStringList words = headingWords(heading);
    for (qsizetype n = words.size(); n >= 1; --n) {
        if (n == 1 && words.size() > 1)
            break;
        const auto found = headingTable().constFind(words.mid(0, n).join(QString()));
        if (found != headingTable().constEnd())
            return *found;
    }
    return Ignored;
}

std::optional<QDate> date(QStringView text, const QDate &today, bool future)
{
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 40)
        return std::nullopt;
    // A time after the date does not count.
    for (qsizetype i = 1; i + 4 <= text.size(); ++i) {
        if (text.at(i) != u' ' && text.at(i) != u'T')
            continue;
        const QStringView rest = text.mid(i + 1);
        qsizetype digits = 0;
        while (digits < rest.size() && digits < 3 && rest.at(digits).isDigit())
            ++digits;
        if ((digits == 1 || digits == 2) && rest.size() >= digits + 3
            && (rest.at(digits) == u':' || rest.at(digits) == u'.') && rest.at(digits + 1).isDigit()
            && rest.at(digits + 2).isDigit()) {
            text = text.left(i).trimmed();
            break;
        }
    }

    // A number alone: a year is not a date; eight digits are the date run
    // together; anything else is the spreadsheet's day number.
    bool isNumber = false;
    const double number = text.toString().replace(u',', u'.').toDouble(&isNumber);
    if (isNumber) {
        // Whole days from 100 on (April 1900): "1.5" or "12,5" is no date.
        qsizetype point = 0;
        while (point < text.size() && text.at(point) != u'.' && text.at(point) != u',')
            ++point;
        const QStringView whole = text.left(point);
        if (!allDigits(whole) || whole.size() < 3)
            return std::nullopt;
        if (text.size() == 4 && number >= 1800 && number <= 2200)
            return std::nullopt;
        if (text.size() == 8 && allDigits(text)) {
            const int a = text.left(4).toInt(), b = text.mid(4, 2).toInt(), c = text.mid(6, 2).toInt();
            const QDate ymd(a, b, c);
            if (a >= 1800 && ymd.isValid())
                return ymd;
            const QDate dmy(text.mid(4, 4).toInt(), text.mid(2, 2).toInt(), text.left(2).toInt());
            return dmy.isValid() ? std::optional<QDate>(dmy) : std::nullopt;
        }
        if (number < 1 || number >= 2958466) // up to the year 9999
            return std::nullopt;
        return SpreadsheetFile::dateFromSerial(number);
    }

    QList<QStringView> parts;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool separator =
            i == text.size() || text.at(i).isSpace() || QStringView(u"/.-,").contains(text.at(i));
        if (separator && start >= 0) {
            parts << text.mid(start, i - start);
            start = -1;
        } else if (!separator && start < 0) {
            start = i;
        }
    }
    if (parts.size() != 3)
        return std::nullopt;
    int day = 0, month = 0, year = 0;
    if (parts[0].size() == 4 && allDigits(parts[0])) { // year first
        year = parts[0].toInt();
        month = allDigits(parts[1]) ? parts[1].toInt() : monthOf(parts[1]);
        day = allDigits(parts[2]) && parts[2].size() <= 2 ? parts[2].toInt() : 0;
    } else {
        day = allDigits(parts[0]) && parts[0].size() <= 2 ? parts[0].toInt() : 0;
        month = allDigits(parts[1]) ? (parts[1].size() <= 2 ? parts[1].toInt() : 0) : monthOf(parts[1]);
        if (!allDigits(parts[2]) || (parts[2].size() != 2 && parts[2].size() != 4))
            return std::nullopt;
        year = parts[2].toInt();
        if (parts[2].size() == 2)
            year = twoDigitYear(year, month, day, today, future);
    }
    const QDate result(year, month, day);
    if (!result.isValid() || year < 1800)
        return std::nullopt;
    return result;
}

bool isDateField(int field)
{
    return field == S::fDataNasc || field == S::fInizioTes || field == S::fFineTes || field == S::fCompetenze
        || field == S::fDisponibilita;
}

QString clean(int field, const QString &text, const QDate &today)
{
    // Every field of the card is one line: the lines of a cell go side by side.
    const QString trimmed = Blanks::trimmed(withoutControls(text));
    if (isDateField(field)) {
        const auto d = date(trimmed, today, field == S::fFineTes);
        return d ? CardDate::text(*d) : trimmed;
    }
    switch (field) {
    case S::fSesso: {
        static const QStringList men = {QStringLiteral("m"), QStringLiteral("maschio"), QStringLiteral("maschile"),
                                        QStringLiteral("uomo"), QStringLiteral("male")};
        static const QStringList women = {QStringLiteral("f"), QStringLiteral("femmina"),
                                          QStringLiteral("femminile"), QStringLiteral("donna"),
                                          QStringLiteral("female")};
        const QString word = comparable(trimmed);
        if (men.contains(word))
            return QStringLiteral("M");
        if (women.contains(word))
            return QStringLiteral("F");
        return trimmed;
    }
    case S::fCodFisc: {
        QString code;
        for (QChar c : trimmed)
            if (c.unicode() > 32)
                code += c;
        return Blanks::upperAscii(code);
    }
    case S::fCap: {
        // A spreadsheet keeps 00012 as the number 12, or 12.0.
        QString digits = trimmed;
        if (digits.endsWith(QLatin1String(".0")) || digits.endsWith(QLatin1String(",0")))
            digits.chop(2);
        return allDigits(digits) && digits.size() < 5 ? digits.rightJustified(5, u'0') : trimmed;
    }
    case S::fRicontatta: {
        static const QStringList yes = {QStringLiteral("si"), QStringLiteral("s"), QStringLiteral("yes"),
                                        QStringLiteral("y"), QStringLiteral("x"), QStringLiteral("1"),
                                        QStringLiteral("vero"), QStringLiteral("true")};
        return yes.contains(comparable(trimmed)) ? S::RicontattaSi : S::RicontattaNo;
    }
    default:
        return trimmed;
    }
}

bool italianPostcode(const QString &cap)
{
    // From 00010 (the province of Rome) to 98168 (Messina).
    return cap.size() == 5 && allDigits(cap) && cap.toInt() >= 10 && cap.toInt() <= 98168;
}

QString withoutControls(const QString &text)
{
    // Most cells have none: they go back untouched, without a copy.
    const auto control = [](QChar c) { return c.unicode() < 32 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F)
                                                  || c.unicode() == 0x2028 || c.unicode() == 0x2029; };
    if (std::none_of(text.begin(), text.end(), control))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            continue; // the line feed that follows stands for both
        if (c == u'\r' || c == u'\n' || c == u'\t' || c == QChar(0x2028) || c == QChar(0x2029))
            out += u' ';
        else if (c.category() != QChar::Other_Control)
            out += c;
    }
    return out;
}

bool validCode(const QString &code)
{
    return CodFiscValido(code) || (code.size() == 11 && allDigits(code) && PartitaIvaValida(code));
}

QByteArray folded(QByteArrayView windows1252)
{
    QByteArray out;
    out.reserve(windows1252.size());
    for (char ch : windows1252) {
        auto c = static_cast<unsigned char>(ch);
        if (c <= 32)
            continue;
        if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            c -= 0x20;
        else if (c == 0x9A || c == 0x9C || c == 0x9E)
            c -= 0x10;
        else if (c == 0xFF)
            c = 0x9F;
        out += char(c);
    }
    return out;
}

qsizetype storedLength(const QString &text)
{
    qsizetype n = text.size();
    for (QChar c : text)
        if (c.isLowSurrogate())
            --n;
    return n;
}

} // namespace ImportFields
