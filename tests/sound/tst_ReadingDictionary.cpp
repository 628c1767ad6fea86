#include "formats/Cp932.h"
#include "sound/ReadingDictionary.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_ReadingDictionary : public QObject
{
    Q_OBJECT

private slots:
    void longestWrittenFormWins()
    {
        const ReadingDictionary dictionary = ReadingDictionary::parse(QStringLiteral(
            "# 注釈\n"
            "お降り,おおり\r\n"
            "お降りの方, おおりのかた \n"
            "上町\tかみまち\n"
            "読みなし,\n"
            "区切りなし\n"));
        QCOMPARE(dictionary.size(), 3);
        QCOMPARE(dictionary.apply(QStringLiteral("お降りの方は上町で")), QStringLiteral("オオリノカタは" "カミマチで"));
        QCOMPARE(dictionary.apply(QStringLiteral("お降りは")), QStringLiteral("オオリは"));
        QCOMPARE(ReadingDictionary().apply(QStringLiteral("そのまま")), QStringLiteral("そのまま"));
    }

    void overlongWrittenFormsAreSkipped()
    {
        // Every place of a text is looked up at every length up to the
        // longest entry, so one long line would slow every announcement.
        const QString longest(ReadingDictionary::MaxWrittenLength, u'長');
        QList<qsizetype> skipped;
        const ReadingDictionary dictionary = ReadingDictionary::parse(
            longest + QStringLiteral(",ながい\n") + longest + QStringLiteral("す,ながいす\n"), &skipped);
        QCOMPARE(dictionary.size(), 1);
        QCOMPARE(skipped, QList<qsizetype>{2});
    }

    void writtenFormsAreNormalised()
    {
        // Entries and texts meet in one spelling of digits.
        const ReadingDictionary dictionary = ReadingDictionary::parse(QStringLiteral("１番線,いちばんせん"));
        QCOMPARE(dictionary.apply(QStringLiteral("1番線")), QStringLiteral("イチバンセン"));
    }

    void theFolderOverridesTheBuiltInTable()
    {
        const ReadingDictionary builtIn = ReadingDictionary::forFolder(QStringLiteral("/nonexistent"));
        QVERIFY(builtIn.size() > 10);
        QCOMPARE(builtIn.apply(QStringLiteral("お降り")), QStringLiteral("オオリ"));

        QTemporaryDir dir;
        QFile file(dir.filePath(ReadingDictionary::fileName()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Cp932::encode(QStringLiteral("お降り,おりる\r\n新田,しんでん\r\n")));
        file.close();
        const ReadingDictionary operatorTable = ReadingDictionary::forFolder(dir.path());
        QCOMPARE(operatorTable.apply(QStringLiteral("新田でお降り")), QStringLiteral("シンデンでオリル"));
        QCOMPARE(operatorTable.apply(QStringLiteral("両替")), QStringLiteral("リョウガエ"));
    }
};

QTEST_APPLESS_MAIN(tst_ReadingDictionary)
#include "tst_ReadingDictionary.moc"
