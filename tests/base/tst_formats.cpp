#include "base/carddate.h"
#include "base/clock.h"
#include "base/formats.h"

#include <QLocale>
#include <QProcess>
#include <QTest>

class TestFormats : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Formats::applyProcessWide(); }
    void cleanup() { Clock::setForTesting(QDateTime()); }

    void shortDateOfToday()
    {
        Clock::setForTesting(QDateTime(QDate(2026, 3, 5), QTime(9, 30)));
        const QString sep = QString(Formats::dateSeparator());
        QCOMPARE(Formats::shortDate(Clock::today()), QStringLiteral("05") + sep + QStringLiteral("03") + sep
                     + QStringLiteral("2026"));
        QCOMPARE(Formats::shortDate(QDate(1999, 12, 31)).remove(Formats::dateSeparator()), QStringLiteral("31121999"));
    }

    void decimalSeparatorIsComma()
    {
        QCOMPARE(QLocale().toString(1234.5, 'f', 2), QStringLiteral("1234,50"));
        bool ok = false;
        QCOMPARE(QLocale().toDouble(QStringLiteral("3,25"), &ok), 3.25);
        QVERIFY(ok);
    }

    void cardDates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("as the card writes it") << "01/02/1980" << QDate(1980, 2, 1);
        QTest::newRow("one-digit day and month") << "1/2/1980" << QDate(1980, 2, 1);
        QTest::newRow("dots") << "1.2.1980" << QDate(1980, 2, 1);
        QTest::newRow("dashes") << "01-02-1980" << QDate(1980, 2, 1);
        QTest::newRow("blanks around") << " 01/02/1980  " << QDate(1980, 2, 1);
        QTest::newRow("two kinds of separator") << "01/02.1980" << QDate();
        QTest::newRow("no such day") << "31/02/1990" << QDate();
        QTest::newRow("a year only") << "2015" << QDate();
        QTest::newRow("two-digit year") << "01/02/80" << QDate();
        QTest::newRow("year first") << "1980/02/01" << QDate();
        QTest::newRow("words") << "fine 2023" << QDate();
        QTest::newRow("empty") << "" << QDate();
        QTest::newRow("three-digit day") << "001/02/1980" << QDate();
        QTest::newRow("a fourth part") << "01/02/1980/1" << QDate();
    }

    void cardDates()
    {
        // Read alike from a text and from a field's bytes, and written back
        // in the one form.
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(CardDate::read(text).value_or(QDate()), date);
        QCOMPARE(CardDate::read(QByteArrayView(text.toLatin1())).value_or(QDate()), date);
        if (date.isValid())
            QCOMPARE(CardDate::text(date), QStringLiteral("%1/%2/%3").arg(date.day(), 2, 10, QChar(u'0'))
                                               .arg(date.month(), 2, 10, QChar(u'0')).arg(date.year()));
    }

    void systemLocaleIsItalian_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("after"); // LC_ALL|LANG|LC_TIME once started
        QTest::newRow("no language") << QStringList{QStringLiteral("LANG=C.UTF-8")} << QStringLiteral("/")
                                     << QStringLiteral("|C.UTF-8|");
        QTest::newRow("English desktop") << QStringList{QStringLiteral("LANG=en_US.UTF-8")} << QStringLiteral("/")
                                         << QStringLiteral("|en_US.UTF-8|");
        QTest::newRow("German dates") << QStringList{QStringLiteral("LANG=en_US.UTF-8"), QStringLiteral("LC_TIME=de_DE.UTF-8")}
                                      << QStringLiteral(".") << QStringLiteral("|en_US.UTF-8|de_DE.UTF-8");
        QTest::newRow("all named at once") << QStringList{QStringLiteral("LC_ALL=de_DE.UTF-8")} << QStringLiteral(".")
                                           << QStringLiteral("de_DE.UTF-8||");
        // LC_ALL outranks LC_TIME.
        QTest::newRow("all named at once, dates apart")
            << QStringList{QStringLiteral("LC_ALL=de_DE.UTF-8"), QStringLiteral("LC_TIME=en_US.UTF-8")}
            << QStringLiteral(".") << QStringLiteral("de_DE.UTF-8||en_US.UTF-8");
    }

    void systemLocaleIsItalian()
    {
        // Qt's own dialogs read the system locale: Italian whatever the
        // desktop's language, while the program's dates keep the user's
        // separator and the programs opened from it the user's environment.
        QFETCH(QStringList, environment);
        QFETCH(QString, separator);
        QFETCH(QString, after);
        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LC_ALL", "LANG", "LC_TIME", "LC_NUMERIC", "LC_MESSAGES", "LANGUAGE"})
            env.remove(QString::fromLatin1(name));
        for (const QString &pair : environment)
            env.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        probe.setProcessEnvironment(env);
        probe.start(QStringLiteral(QUORVEL_PROBE), {QStringLiteral("locale")});
        QVERIFY(probe.waitForFinished(30000));
        const QStringList printed = QString::fromUtf8(probe.readAllStandardOutput()).trimmed().split(u'|');
        QCOMPARE(printed.size(), 6);
        QCOMPARE(printed.mid(0, 2), (QStringList{QStringLiteral("it_IT"), QStringLiteral("11/12/26 09:05")}));
        QCOMPARE(printed.at(2), separator);
        QCOMPARE(printed.mid(3).join(u'|'), after);
    }

    void clockRunsWhenNotSet()
    {
        QCOMPARE(Clock::today(), QDate::currentDate());
    }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
