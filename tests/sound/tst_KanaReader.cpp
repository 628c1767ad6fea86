#include "sound/KanaReader.h"
#include "sound/KanaText.h"
#include "sound/KanjiReadings.h"
#include "sound/MecabTagger.h"

#include <QTest>

// Readings through the real MeCab, IPA dictionary and KANJIDIC.
class tst_KanaReader : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MecabTagger> m_tagger;
    KanjiReadings m_kanji;

    // What the synthesiser says as it should: katakana, a long-vowel mark
    // right after a kana that is not one, pauses.
    static bool isSpeakable(const QString &reading)
    {
        for (qsizetype i = 0; i < reading.size(); ++i) {
            const QChar c = reading.at(i);
            const bool lengthens = c == u'ー' && i > 0 && KanaText::isKatakana(reading.at(i - 1).unicode());
            if (!KanaText::isKatakana(c.unicode()) && !lengthens && !QStringLiteral("、。！？ ").contains(c)) {
                return false;
            }
        }
        return true;
    }

private slots:
    void initTestCase()
    {
        m_tagger = MecabTagger::create();
        QVERIFY2(m_tagger, "MeCab with the UTF-8 IPA dictionary must be installed");
        m_kanji = KanjiReadings::load();
        QVERIFY2(m_kanji.size() > 6000, "KANJIDIC (Debian's kanjidic) must be installed");
    }

    void readsSentences_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reading");
        // The particle は is spoken ワ; long vowels come as ー.
        QTest::newRow("next stop") << QStringLiteral("次は、市役所前です。") << QStringLiteral("ツギワ、シヤクショマエデス。");
        QTest::newRow("dictionary word") << QStringLiteral("お降りの方は、ボタンを押してください。")
                                         << QStringLiteral("オオリノカタワ、ボタンヲオシテクダサイ。");
        QTest::newRow("full-width digits") << QStringLiteral("１２番のりば") << QStringLiteral("ジューニバンノリバ");
        QTest::newRow("half-width kana") << QStringLiteral("ﾊﾞｽ停") << QStringLiteral("バステイ");
        QTest::newRow("hiragana") << QStringLiteral("ありがとうございます") << QStringLiteral("アリガトーゴザイマス");
        QTest::newRow("spaces kept") << QStringLiteral("JR 線") << QStringLiteral("ジェーアール セン");
        QTest::newRow("empty") << QString() << QString();
        // A word MeCab does not know, read kanji by kanji.
        QTest::newRow("unknown word") << QStringLiteral("小鳥遊公園") << QStringLiteral("コトリユーコーエン");
        QTest::newRow("letters") << QStringLiteral("NHK前") << QStringLiteral("エヌエイチケーマエ");
        QTest::newRow("numbers") << QStringLiteral("2026年、1,000円、3.14、8000、10000、007")
                                 << QStringLiteral("ニセンニジューロクネン、センエン、サンテンイチヨン、ハッセン、イチマン、ゼロゼロナナ");
        QTest::newRow("counters") << QStringLiteral("1丁目、8分、6本、6歳、10回、1時、1キロ")
                                  << QStringLiteral("イッチョーメ、ハップン、ロッポン、ロクサイ、ジュッカイ、イチジ、イチキロ");
        QTest::newRow("long vowels") << QStringLiteral("東京ーー、ｾﾝﾀｰ") << QStringLiteral("トーキョーオー、センター");
    }

    void readsSentences()
    {
        QFETCH(QString, text);
        QFETCH(QString, reading);
        KanaReader reader(*m_tagger, m_kanji);
        reader.setDictionary(ReadingDictionary::forFolder(QStringLiteral("/nonexistent")));
        QCOMPARE(reader.reading(text), reading);
    }

    // No character of an announcement may go unheard: every word is
    // spoken as something the synthesiser says, and the words together are
    // the whole text.
    void everyCharacterIsHeard_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("kanji MeCab does not know") << QStringLiteral("小鳥遊公園、鬱陵島、佐々木、嵜");
        QTest::newRow("Latin letters") << QStringLiteral("NHK前、ｎｈｋ、ＪＲ線");
        QTest::newRow("digits") << QStringLiteral("２０２６年1,000円3.5km、①番");
        QTest::newRow("long vowels") << QStringLiteral("東京ーー、ｾﾝﾀｰｰ、ー");
        QTest::newRow("kana forms") << QStringLiteral("ﾊﾞｽいすゞヽ八ヶ岳ヵ");
        QTest::newRow("symbols") << QStringLiteral("「市民病院」・図書館〜駅前＆ABC% ＃1");
    }

    void everyCharacterIsHeard()
    {
        QFETCH(QString, text);
        KanaReader reader(*m_tagger, m_kanji);
        const QList<MecabTagger::Word> words = reader.words(text);
        QString written;
        for (const MecabTagger::Word &word : words) {
            written += word.written;
            QVERIFY2(!word.spoken.isEmpty(), qPrintable(word.written));
        }
        QCOMPARE(written, KanaText::normalise(text).remove(u' '));
        const QString reading = reader.reading(text);
        QVERIFY2(isSpeakable(reading), qPrintable(reading));
    }

    void kanjiReadingsFromKanjidicLines()
    {
        // On readings first, said with their long vowels; a kanji with none
        // takes its first kun reading that stands alone; name readings
        // (after T1) and meanings are no readings.
        const KanjiReadings table = KanjiReadings::parse(QStringLiteral(
            "# KANJIDIC\n"
            "公 3878 U516c B12 G2 コウ ク おおやけ T1 あきら {public}\n"
            "畑 4829 U7551 B102 -ばたけ はた.け はた {field}\n"
            "丙 4A3A U4e19 B1 T1 ひのえ {third class}\n"));
        QCOMPARE(table.size(), 2);
        QCOMPARE(table.reading(U'公'), QStringLiteral("コー"));
        QCOMPARE(table.reading(U'畑'), QStringLiteral("ハタケ"));
        QCOMPARE(table.reading(U'丙'), QString());
    }

    void kanaConversions()
    {
        QCOMPARE(KanaText::toKatakana(QStringLiteral("ゔぁ、ヴゝ")), QStringLiteral("ヴァ、ヴヽ"));
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
