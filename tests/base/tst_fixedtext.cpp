#include "base/blanks.h"
#include "base/fixedtext.h"

#include <QStringDecoder>
#include <QTest>

class TestFixedText : public QObject
{
    Q_OBJECT

private slots:
    void encodes_data();
    void encodes();
    void agreesWithPlatformCodec();
    void writesField_data();
    void writesField();
    void zeroesUnusedBytesOverEarlierContent();
    void readsClampedLength();
    void blanks_data();
    void blanks();
    void upperAsciiOnly();
};

void TestFixedText::encodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("yes") << QStringLiteral("Sì") << QByteArray("\x53\xEC");
    QTest::newRow("accented town") << QStringLiteral("Città") << QByteArray("Citt\xE0");
    QTest::newRow("euro and quotes") << QStringLiteral("€ “x” – …") << QByteArray("\x80 \x93x\x94 \x96 \x85");
    QTest::newRow("outside code page") << QStringLiteral("Łódź") << QByteArray("?\xF3""d?");
    QTest::newRow("arrow") << QStringLiteral("a→b") << QByteArray("a?b");
    QTest::newRow("surrogate pair is one character") << QStringLiteral("a😀b") << QByteArray("a?b");
    QTest::newRow("undefined byte round trip") << QString(QChar(0x81)) << QByteArray("\x81");
    QTest::newRow("C1 control not in code page") << QString(QChar(0x80)) << QByteArray("?");
}

void TestFixedText::encodes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(FixedText::toWindows1252(text), bytes);
    // Every byte the code page holds comes back as the same character.
    if (!bytes.contains('?'))
        QCOMPARE(FixedText::fromWindows1252(bytes.constData(), bytes.size()), text);
}

void TestFixedText::agreesWithPlatformCodec()
{
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid())
        QSKIP("this Qt has no windows-1252 codec to compare with");
    for (int b = 0; b < 256; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            continue; // undefined in the code page
        const char byte = char(b);
        const QString ours = FixedText::fromWindows1252(&byte, 1);
        const QString theirs = decoder.decode(QByteArrayView(&byte, 1));
        QVERIFY2(ours == theirs, qPrintable(QString::number(b, 16)));
        QCOMPARE(FixedText::toWindows1252(ours), QByteArray(1, byte));
    }
}

void TestFixedText::writesField_data()
{
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("Sì in a field of 2") << 2 << QStringLiteral("Sì") << QByteArray("\x02\x53\xEC", 3);
    QTest::newRow("No") << 2 << QStringLiteral("No") << QByteArray("\x02No", 3);
    QTest::newRow("blanks trimmed at both ends only")
        << 20 << QStringLiteral(" \t Rossi  Mario\r\n") << QByteArray("\x0C" "Rossi  Mario");
    QTest::newRow("control characters are blanks")
        << 4 << QString(QChar(1)) + QStringLiteral("ab") + QChar(31) << QByteArray("\x02" "ab\0\0", 5);
    QTest::newRow("empty") << 3 << QString() << QByteArray(4, '\0');
    QTest::newRow("cut to capacity") << 5 << QStringLiteral("abcdefg") << QByteArray("\x05" "abcde", 6);
}

void TestFixedText::writesField()
{
    QFETCH(int, capacity);
    QFETCH(QString, text);
    QFETCH(QByteArray, field);
    QByteArray buffer(capacity + 1, '\xAA');
    FixedText::write(buffer.data(), capacity, text);
    QByteArray expected = field;
    expected.resize(capacity + 1, '\0');
    QCOMPARE(buffer, expected);
}

void TestFixedText::zeroesUnusedBytesOverEarlierContent()
{
    QByteArray buffer(51, '\0');
    const QString fifty_one = QString(51, QChar(u'x'));
    FixedText::write(buffer.data(), 50, fifty_one);
    QCOMPARE(uchar(buffer.at(0)), uchar(50));
    QCOMPARE(FixedText::read(buffer.constData(), 50), QString(50, QChar(u'x')));

    FixedText::write(buffer.data(), 50, QStringLiteral("Bo"));
    QCOMPARE(buffer.left(3), QByteArray("\x02" "Bo"));
    QCOMPARE(buffer.mid(3), QByteArray(48, '\0'));
}

void TestFixedText::readsClampedLength()
{
    // A damaged length byte larger than the capacity reads the whole field and
    // nothing beyond it.
    const QByteArray bytes("\xFF" "abc" "NEXT", 8);
    QCOMPARE(FixedText::read(bytes.constData(), 3), QStringLiteral("abc"));
    QCOMPARE(FixedText::read("\x02" "Citt\xE0", 5), QStringLiteral("Ci"));
}

void TestFixedText::blanks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::addColumn<bool>("blank");
    QTest::newRow("inner blanks kept") << QStringLiteral("  a  b  ") << QStringLiteral("a  b") << false;
    QTest::newRow("tabs and newlines") << QStringLiteral("\t\na\r") << QStringLiteral("a") << false;
    QTest::newRow("only blanks") << QStringLiteral(" \t ") << QString() << true;
    QTest::newRow("empty") << QString() << QString() << true;
    QTest::newRow("no-break space is not a blank") << QStringLiteral("\u00A0a") << QStringLiteral("\u00A0a") << false;
    QTest::newRow("code 32 and 0") << QString(QChar(0)) + QStringLiteral("x ") << QStringLiteral("x") << false;
}

void TestFixedText::blanks()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QFETCH(bool, blank);
    QCOMPARE(Blanks::trimmed(text), trimmed);
    QCOMPARE(Blanks::isBlank(text), blank);
}

void TestFixedText::upperAsciiOnly()
{
    QCOMPARE(Blanks::upperAscii(QStringLiteral("rssmra85t10à ß-z")), QStringLiteral("RSSMRA85T10à ß-Z"));
}

QTEST_GUILESS_MAIN(TestFixedText)
#include "tst_fixedtext.moc"
