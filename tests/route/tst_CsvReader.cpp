#include "formats/CsvReader.h"

#include <QTest>

class tst_CsvReader : public QObject
{
    Q_OBJECT

private slots:
    void readsRealFeedQuirks()
    {
        // BOM, CR LF, quoted commas, doubled quotes, a line break inside
        // quotes, blanks around fields, a quote inside an unquoted field.
        const QString text = QStringLiteral("\uFEFF id , name\r\n"
                                            "\"A1\" ,\"本町, \"\"北\"\"\"\r\n"
                                            "B2,\"two\nlines\"\n"
                                            "C3,5\"\r\n"
                                            "D4,");
        CsvReader reader(text, {.trimBlanks = true});
        const QList<QStringList> expected{{"id", "name"},
                                          {"A1", QStringLiteral("本町, \"北\"")},
                                          {"B2", "two\nlines"},
                                          {"C3", "5\""},
                                          {"D4", ""}};
        const int lines[] = {1, 2, 3, 5, 6};
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QVERIFY(!reader.atEnd());
            const CsvReader::Record record = reader.next();
            QCOMPARE(record.problem, CsvReader::Problem::None);
            QCOMPARE(record.fields, expected.at(i));
            QCOMPARE(record.line, lines[i]);
        }
        QVERIFY(reader.atEnd());
    }

    void refusesBrokenQuotesAndGoesOn()
    {
        CsvReader reader(u"\"a\"b,c\nok,1\n\"open,2\nmore", {});
        CsvReader::Record record = reader.next();
        QCOMPARE(record.problem, CsvReader::Problem::TextAfterQuote);
        record = reader.next();
        QCOMPARE(record.problem, CsvReader::Problem::None);
        QCOMPARE(record.fields, QStringList({"ok", "1"}));
        record = reader.next();
        QCOMPARE(record.problem, CsvReader::Problem::OpenQuote);
        QCOMPARE(record.line, 3);
        QVERIFY(reader.atEnd());
    }

    void keepsBlanksUnlessTrimmingAndCountsFieldsItDoesNotKeep()
    {
        // Untrimmed, a quote after a blank does not open a quoted field.
        const CsvReader::Record kept = CsvReader::splitLine(u" a ,\t\"b\" ", {});
        QCOMPARE(kept.fields, QStringList({" a ", "\t\"b\" "}));
        const CsvReader::Record trimmed = CsvReader::splitLine(u" a ,\t\"b\" ", {.trimBlanks = true});
        QCOMPARE(trimmed.fields, QStringList({"a", "b"}));
        const CsvReader::Record many = CsvReader::splitLine(QString(100000, u','), {.keepFields = 3});
        QCOMPARE(many.fields.size(), 3);
        QCOMPARE(many.count, 100001);
    }
};

QTEST_GUILESS_MAIN(tst_CsvReader)
#include "tst_CsvReader.moc"
