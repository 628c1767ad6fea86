#include "controls/Dot16CellRules.h"

#include "formats/Cp932.h"

#include <QTest>

using Face = Dot16Glyphs::Face;

class tst_Dot16CellRules : public QObject
{
    Q_OBJECT

private slots:
    void faceByFontMode_data();
    void faceByFontMode();
    void placement_data();
    void placement();
};

void tst_Dot16CellRules::faceByFontMode_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("facesForModes0To5"); // G gothic, M mincho
    QTest::newRow("kanji") << QStringLiteral("駅") << QStringLiteral("GMGMMG");
    QTest::newRow("first kanji") << QStringLiteral("亜") << QStringLiteral("GMGMMG");
    QTest::newRow("hiragana") << QStringLiteral("え") << QStringLiteral("GMMGMG");
    QTest::newRow("full-width zero") << QStringLiteral("０") << QStringLiteral("GMMGGG");
    QTest::newRow("full-width z") << QStringLiteral("ｚ") << QStringLiteral("GMMGGG");
    QTest::newRow("half-width letter") << QStringLiteral("A") << QStringLiteral("GMGMMG");
}

void tst_Dot16CellRules::faceByFontMode()
{
    QFETCH(QString, character);
    QFETCH(QString, facesForModes0To5);
    const qint16 code = Cp932::firstCharCode(character);
    for (int mode = 0; mode <= 5; ++mode) {
        const Face expected = facesForModes0To5.at(mode) == u'G' ? Face::Gothic : Face::Mincho;
        QVERIFY2(Dot16CellRules::faceFor(mode, code) == expected, qPrintable(QString::number(mode)));
    }
    // Nothing chosen in the options gives -1, drawn gothic.
    QVERIFY(Dot16CellRules::faceFor(-1, code) == Face::Gothic);
}

void tst_Dot16CellRules::placement_data()
{
    QTest::addColumn<QString>("piece");
    QTest::addColumn<int>("fontMode");
    QTest::addColumn<QString>("drawn");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<bool>("transposed");
    QTest::newRow("long vowel") << QStringLiteral("ー") << 0 << QStringLiteral("丨") << QPoint() << false;
    QTest::newRow("shin gothic") << QStringLiteral("申") << 0 << QStringLiteral("申") << QPoint(1, 0) << false;
    QTest::newRow("yama kanji gothic") << QStringLiteral("山") << 2 << QStringLiteral("山") << QPoint(1, 0) << false;
    QTest::newRow("yama mincho") << QStringLiteral("山") << 1 << QStringLiteral("山") << QPoint() << false;
    QTest::newRow("bracket") << QStringLiteral("（") << 0 << QStringLiteral("（") << QPoint() << true;
    QTest::newRow("wave") << QStringLiteral("～") << 0 << QStringLiteral("～") << QPoint() << true;
    QTest::newRow("arrow") << QStringLiteral("⇔") << 0 << QStringLiteral("⇔") << QPoint() << true;
    QTest::newRow("full stop") << QStringLiteral("。") << 0 << QStringLiteral("。") << QPoint(10, -10) << false;
    QTest::newRow("comma") << QStringLiteral("、") << 4 << QStringLiteral("、") << QPoint(10, -10) << false;
    // The whole piece is compared: two half-width brackets stay as they are.
    QTest::newRow("half-width pair") << QStringLiteral("()") << 0 << QStringLiteral("()") << QPoint() << false;
}

void tst_Dot16CellRules::placement()
{
    QFETCH(QString, piece);
    QFETCH(int, fontMode);
    QFETCH(QString, drawn);
    QFETCH(QPoint, offset);
    QFETCH(bool, transposed);
    const Dot16CellRules::Placement placement = Dot16CellRules::placementFor(piece, fontMode);
    QCOMPARE(piece, drawn);
    QCOMPARE(placement.offset, offset);
    QCOMPARE(placement.transposed, transposed);
}

QTEST_GUILESS_MAIN(tst_Dot16CellRules)
#include "tst_Dot16CellRules.moc"
