#include "route/HepburnRomanizer.h"

#include <QTest>

// Stop names as the signs of Japanese bus stops write them, made from their
// readings.
class tst_HepburnRomanizer : public QObject
{
    Q_OBJECT

private slots:
    void stopNames_data();
    void stopNames();
    void styles();
    void readingsItCannotWrite();
};

void tst_HepburnRomanizer::stopNames_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("reading");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *written, const char *reading, const char *expected) {
        QTest::newRow(expected) << QString::fromUtf8(written) << QString::fromUtf8(reading) << QString::fromUtf8(expected);
    };
    row("市役所前", "しやくしょまえ", "Shiyakusho-mae");
    row("川崎駅西口", "かわさきえきにしぐち", "Kawasaki-eki Nishiguchi");
    row("矢向", "やこう", "Yako");
    row("末吉橋", "すえよしばし", "Sueyoshibashi");
    row("川崎駅西口５９番のりば", "かわさきえきにしぐち59ばんのりば", "Kawasaki-eki Nishiguchi Stop 59");
    row("尻手駅前", "しってえきまえ", "Shitte-ekimae");
    row("南幸町二丁目", "みなみさいわいちょうにちょうめ", "Minamisaiwaicho 2-chome");
    row("銀座４丁目", "ぎんざよんちょうめ", "Ginza 4-chome");
    row("夢見ヶ崎動物公園前", "ゆめみがさきどうぶつこうえんまえ", "Yumemigasakidobutsukoen-mae");
    row("電気の史料館入口", "でんきのしりょうかんいりぐち", "Denkinoshiryokan-iriguchi");
    row("ロクゴー前", "ロクゴーマエ", "Rokugo-mae");
    row("東京駅", "とうきょうえき", "Tokyo-eki");
    row("大森", "おおもり", "Omori");
    row("郡山", "こおりやま", "Koriyama");
    row("新大阪", "しんおおさか", "Shin'osaka");
    row("新百合ヶ丘", "しんゆりがおか", "Shin'yurigaoka");
    row("新橋", "しんばし", "Shinbashi");
    row("六本木", "ろっぽんぎ", "Roppongi");
    row("八丁堀", "はっちょうぼり", "Hatchobori");
    row("渋谷駅東口", "しぶやえきひがしぐち", "Shibuya-eki Higashiguchi");
    row("公園入口", "こうえんいりぐち", "Koen-iriguchi");
    row("京急蒲田", "けいきゅうかまた", "Keikyukamata");
    row("ヴィーナス通り", "ヴィーナスどおり", "Vinasu-dori");
    row("茶屋町", "ちゃやまち", "Chayamachi");
    // An ending that is the whole name stays the name.
    row("駅前", "えきまえ", "Ekimae");
}

void tst_HepburnRomanizer::stopNames()
{
    QFETCH(QString, written);
    QFETCH(QString, reading);
    QFETCH(QString, expected);
    QCOMPARE(HepburnRomanizer().stopName(written, reading), expected);
}

void tst_HepburnRomanizer::styles()
{
    const HepburnRomanizer marked({true, true});
    QCOMPARE(marked.stopName(QStringLiteral("東京駅"), QStringLiteral("とうきょうえき")), QStringLiteral("Tōkyō-eki"));
    QCOMPARE(marked.stopName(QStringLiteral("大森"), QStringLiteral("おおもり")), QStringLiteral("Ōmori"));
    QCOMPARE(marked.stopName(QStringLiteral("新橋"), QStringLiteral("しんばし")), QStringLiteral("Shimbashi"));
    QCOMPARE(marked.stopName(QStringLiteral("ロクゴー前"), QStringLiteral("ロクゴーマエ")), QStringLiteral("Rokugō-mae"));
    // ん before a vowel keeps its apostrophe whatever the style.
    QCOMPARE(marked.reading(QStringLiteral("かんおん")), QStringLiteral("Kan'on"));
}

void tst_HepburnRomanizer::readingsItCannotWrite()
{
    // A reading with kanji left in it gives no name rather than a mixed one.
    QCOMPARE(HepburnRomanizer().stopName(QStringLiteral("南幸町"), QStringLiteral("みなみ幸町")), QString());
    QCOMPARE(HepburnRomanizer().stopName(QStringLiteral("南幸町"), QString()), QString());
}

QTEST_APPLESS_MAIN(tst_HepburnRomanizer)
#include "tst_HepburnRomanizer.moc"
