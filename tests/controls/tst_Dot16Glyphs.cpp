#include "controls/Dot16Glyphs.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

using Face = Dot16Glyphs::Face;

int litCount(const Dot16Mask &mask, int fromColumn = 0, int toColumn = Dot16Mask::Size, int toRow = Dot16Mask::Size)
{
    int count = 0;
    for (int y = 0; y < toRow; ++y) {
        for (int x = fromColumn; x < toColumn; ++x) {
            count += mask.lit(x, y);
        }
    }
    return count;
}

// How many separate runs of rows (or, turned, of columns) hold lit dots, and
// how many rows (columns) that is.
QPair<int, int> runsAndLines(const Dot16Mask &mask, bool columns)
{
    int runs = 0, lines = 0;
    bool previous = false;
    for (int i = 0; i < Dot16Mask::Size; ++i) {
        const bool lit = columns ? litCount(mask, i, i + 1) > 0 : litCount(mask.shifted(0, -i), 0, 16, 1) > 0;
        runs += lit && !previous;
        lines += lit;
        previous = lit;
    }
    return {runs, lines};
}

} // namespace

class tst_Dot16Glyphs : public QObject
{
    Q_OBJECT

private slots:
    void facesAndWidths();
    void shapesShowTheRightJisCell();
    void asciiAndKanaComeFromTheirOwnFonts();
    void fallbackAndBold_data();
    void fallbackAndBold();
    void missingFontsDrawNothing();

private:
    Dot16Glyphs m_glyphs;
};

void tst_Dot16Glyphs::facesAndWidths()
{
    const Dot16Mask gothic = m_glyphs.glyph(QStringLiteral("駅"), Face::Gothic, false);
    const Dot16Mask mincho = m_glyphs.glyph(QStringLiteral("駅"), Face::Mincho, false);
    QVERIFY(litCount(gothic) > 30 && litCount(mincho) > 30);
    QVERIFY(gothic != mincho);
    // Half-width characters take 8 dots each; both faces share them.
    const Dot16Mask a = m_glyphs.glyph(QStringLiteral("A"), Face::Gothic, false);
    QVERIFY(litCount(a, 0, 8) > 0 && litCount(a, 8) == 0);
    Dot16Mask pair = a;
    pair |= m_glyphs.glyph(QStringLiteral("B"), Face::Gothic, false).shifted(8, 0);
    QCOMPARE(m_glyphs.glyph(QStringLiteral("AB"), Face::Gothic, false), pair);
    QCOMPARE(m_glyphs.glyph(QStringLiteral("A"), Face::Mincho, false), a);
}

void tst_Dot16Glyphs::shapesShowTheRightJisCell()
{
    // One character from each way a code page 932 trail byte maps to a JIS
    // cell (below 0x7F, from 0x80, from 0x9F), told apart by its strokes.
    const Dot16Mask bar = m_glyphs.glyph(QStringLiteral("｜"), Face::Gothic, false);   // 0x8162
    const Dot16Mask equals = m_glyphs.glyph(QStringLiteral("＝"), Face::Gothic, false); // 0x8181
    const Dot16Mask one = m_glyphs.glyph(QStringLiteral("一"), Face::Gothic, false);    // 0x88EA
    QCOMPARE(runsAndLines(bar, true).first, 1);
    QVERIFY(runsAndLines(bar, false).second >= 12);
    QCOMPARE(runsAndLines(equals, false).first, 2);
    QCOMPARE(runsAndLines(one, false).first, 1);
    QVERIFY(runsAndLines(one, true).second >= 12);
}

void tst_Dot16Glyphs::asciiAndKanaComeFromTheirOwnFonts()
{
    // The JIS X 0201 font would draw a symmetric yen sign and an overline.
    const Dot16Mask backslash = m_glyphs.glyph(QStringLiteral("\\"), Face::Gothic, false);
    QVERIFY(litCount(backslash, 0, 4, 8) > litCount(backslash, 4, 8, 8));
    const Dot16Mask tilde = m_glyphs.glyph(QStringLiteral("~"), Face::Gothic, false);
    QVERIFY(litCount(tilde) > 0 && litCount(tilde, 0, 8, 3) == 0);
    const Dot16Mask kana = m_glyphs.glyph(QStringLiteral("ｱ"), Face::Gothic, false);
    QVERIFY(litCount(kana, 0, 8) > 0 && litCount(kana, 8) == 0);
}

void tst_Dot16Glyphs::fallbackAndBold_data()
{
    QTest::addColumn<QString>("piece");
    QTest::addColumn<QString>("font");
    QTest::newRow("gothic kanji") << QStringLiteral("駅") << QStringLiteral("shnmk16b.pcf.gz");
    QTest::newRow("letters") << QStringLiteral("JR") << QStringLiteral("shnm8x16ab.pcf.gz");
    QTest::newRow("half-width kana") << QStringLiteral("ｴｷ") << QStringLiteral("shnm8x16rb.pcf.gz");
    // Characters the shinonome fonts lack.
    const QString jiskan = QStringLiteral("jiskan16-2004-1.pcf.gz");
    QTest::newRow("stroke") << QStringLiteral("丨") << jiskan;
    QTest::newRow("saki") << QStringLiteral("﨑") << jiskan;
    QTest::newRow("circled one") << QStringLiteral("①") << jiskan;
    QTest::newRow("kabu") << QStringLiteral("㈱") << jiskan;
    QTest::newRow("hashigo-daka") << QStringLiteral("髙") << QStringLiteral("unifont.pcf.gz");
}

void tst_Dot16Glyphs::fallbackAndBold()
{
    QFETCH(QString, piece);
    QFETCH(QString, font);
    if (!QFile::exists(Dot16Glyphs::defaultFontDirectory() + u'/' + font)) {
        QSKIP(qPrintable(font + QStringLiteral(" is not installed (scripts/setup installs it)")));
    }
    const Dot16Mask regular = m_glyphs.glyph(piece, Face::Mincho, false);
    const Dot16Mask bold = m_glyphs.glyph(piece, Face::Mincho, true);
    QVERIFY(litCount(regular) > 8);
    QVERIFY(litCount(bold) > litCount(regular));
}

void tst_Dot16Glyphs::missingFontsDrawNothing()
{
    Dot16Glyphs nowhere(QStringLiteral("/nonexistent/fonts"));
    // The kanji font, then both fallbacks, each reported once.
    for (int font = 0; font < 3; ++font) {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot open the bitmap font"));
    }
    QVERIFY(nowhere.glyph(QStringLiteral("駅"), Face::Gothic, false).isEmpty());
    QVERIFY(nowhere.glyph(QStringLiteral("駅前"), Face::Gothic, false).isEmpty());
}

QTEST_GUILESS_MAIN(tst_Dot16Glyphs)
#include "tst_Dot16Glyphs.moc"
