#include "base/clock.h"
#include "base/formats.h"

#include <QLocale>
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

    void clockRunsWhenNotSet()
    {
        QCOMPARE(Clock::today(), QDate::currentDate());
    }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
