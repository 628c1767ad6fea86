#include "sound/KanaReader.h"
#include "sound/KanaText.h"
#include "sound/MecabTagger.h"

#include <QTest>

// Readings through the real MeCab and IPA dictionary.
class tst_KanaReader : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MecabTagger> m_tagger;

private slots:
    void initTestCase()
    {
        m_tagger = MecabTagger::create();
        QVERIFY2(m_tagger, "MeCab with the UTF-8 IPA dictionary must be installed");
    }

    void readsSentences_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reading");
        // The particle は is spoken ワ; long vowels come as ー.
        QTest::newRow("next stop") << QStringLiteral("次は、市役所前です。") << QStringLiteral("ツギワ、シヤクショマエデス。");
        QTest::newRow("dictionary word") << QStringLiteral("お降りの方は、ボタンを押してください。")
                                         << QStringLiteral("オオリノカタワ、ボタンヲオシテクダサイ。");
        QTest::newRow("full-width digits") << QStringLiteral("１２番のりば") << QStringLiteral("12バンノリバ");
        QTest::newRow("half-width kana") << QStringLiteral("ﾊﾞｽ停") << QStringLiteral("バステイ");
        QTest::newRow("hiragana") << QStringLiteral("ありがとうございます") << QStringLiteral("アリガトーゴザイマス");
        QTest::newRow("spaces kept") << QStringLiteral("JR 線") << QStringLiteral("JR セン");
        QTest::newRow("empty") << QString() << QString();
    }

    void readsSentences()
    {
        QFETCH(QString, text);
        QFETCH(QString, reading);
        KanaReader reader(*m_tagger);
        reader.setDictionary(ReadingDictionary::forFolder(QStringLiteral("/nonexistent")));
        QCOMPARE(reader.reading(text), reading);
    }

    void kanjiWithoutReadingAreLeftOut()
    {
        QCOMPARE(KanaText::withoutKanji(QStringLiteral("ア齉イ々ウ")), QStringLiteral("アイウ"));
        QCOMPARE(KanaText::toKatakana(QStringLiteral("ゔぁ、ヴ")), QStringLiteral("ヴァ、ヴ"));
    }

    // Half-width katakana are made full-width a letter at a time (a whole
    // run at once takes time in the square of its length); the marks still
    // join the letter before them, and stray marks stay as they were.
    void halfWidthKanaReadAsAWholeRunWould()
    {
        const QString run = QStringLiteral("ﾞｶﾞｷﾟﾊﾟﾋﾞﾞｱﾞｳﾞｰﾝﾟ｡ﾞ");
        QCOMPARE(KanaText::normalise(run), run.normalized(QString::NormalizationForm_KC));
        QCOMPARE(KanaText::normalise(QStringLiteral("市ﾞﾊﾞｽ停")), QStringLiteral("市ﾞバス停").normalized(QString::NormalizationForm_KC));
    }
};

QTEST_APPLESS_MAIN(tst_KanaReader)
#include "tst_KanaReader.moc"
