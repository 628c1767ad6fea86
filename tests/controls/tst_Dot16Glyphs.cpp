#include "controls/Dot16Glyphs.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

using Face = Dot16Glyphs::Face;

int litCount(const Dot16Mask &mask)
{
    int count = 0;
    for (int y = 0; y < Dot16Mask::Size; ++y) {
        for (int x = 0; x < Dot16Mask::Size; ++x) {
            count += mask.lit(x, y);
        }
    }
    return count;
}

bool columnsLit(const Dot16Mask &mask, int from, int to)
{
    for (int y = 0; y < Dot16Mask::Size; ++y) {
        for (int x = from; x < to; ++x) {
            if (mask.lit(x, y)) {
                return true;
            }
        }
    }
    return false;
}

bool contains(const Dot16Mask &outer, const Dot16Mask &inner)
{
    Dot16Mask joined = outer;
    joined |= inner;
    return joined == outer;
}

} // namespace

class tst_Dot16Glyphs : public QObject
{
    Q_OBJECT

private slots:
    void kanjiDifferByFace();
    void halfWidthCharactersShareTheCell();
    void backslashAndTildeAreAsciiButKanaIsHalfWidthKana();
    void fallbackCoversCharactersTheShinonomeFontsLack_data();
    void fallbackCoversCharactersTheShinonomeFontsLack();
    void boldIsHeavier_data();
    void boldIsHeavier();
    void longVowelAndStrokeRunAcrossAndDown();
    void missingFontsDrawNothing();

private:
    Dot16Glyphs m_glyphs;
};

void tst_Dot16Glyphs::kanjiDifferByFace()
{
    const Dot16Mask gothic = m_glyphs.glyph(QStringLiteral("駅"), Face::Gothic, false);
    const Dot16Mask mincho = m_glyphs.glyph(QStringLiteral("駅"), Face::Mincho, false);
    QVERIFY(litCount(gothic) > 30);
    QVERIFY(litCount(mincho) > 30);
    QVERIFY(gothic != mincho);
    QVERIFY(gothic != m_glyphs.glyph(QStringLiteral("前"), Face::Gothic, false));
}

void tst_Dot16Glyphs::halfWidthCharactersShareTheCell()
{
    const Dot16Mask a = m_glyphs.glyph(QStringLiteral("A"), Face::Gothic, false);
    const Dot16Mask b = m_glyphs.glyph(QStringLiteral("B"), Face::Gothic, false);
    QVERIFY(columnsLit(a, 0, 8));
    QVERIFY(!columnsLit(a, 8, 16));
    Dot16Mask both = a;
    both |= b.shifted(8, 0);
    QCOMPARE(m_glyphs.glyph(QStringLiteral("AB"), Face::Gothic, false), both);
    // There is one half-width face: mincho draws the same letters.
    QCOMPARE(m_glyphs.glyph(QStringLiteral("A"), Face::Mincho, false), a);
}

void tst_Dot16Glyphs::backslashAndTildeAreAsciiButKanaIsHalfWidthKana()
{
    // A backslash falls from upper left to lower right; the yen sign of the
    // JIS X 0201 font would be symmetric.
    const Dot16Mask backslash = m_glyphs.glyph(QStringLiteral("\\"), Face::Gothic, false);
    int topLeft = 0, topRight = 0;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 4; ++x) {
            topLeft += backslash.lit(x, y);
            topRight += backslash.lit(x + 4, y);
        }
    }
    QVERIFY(topLeft > topRight);
    // A tilde sits in the middle rows, an overline would be in the top ones.
    const Dot16Mask tilde = m_glyphs.glyph(QStringLiteral("~"), Face::Gothic, false);
    QVERIFY(litCount(tilde) > 0);
    for (int x = 0; x < 8; ++x) {
        QVERIFY(!tilde.lit(x, 0) && !tilde.lit(x, 1));
    }
    const Dot16Mask kana = m_glyphs.glyph(QStringLiteral("ｱ"), Face::Gothic, false);
    QVERIFY(columnsLit(kana, 0, 8));
    QVERIFY(!columnsLit(kana, 8, 16));
}

void tst_Dot16Glyphs::fallbackCoversCharactersTheShinonomeFontsLack_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("font");
    const QString jiskan = QStringLiteral("jiskan16-2004-1.pcf.gz");
    QTest::newRow("stroke") << QStringLiteral("丨") << jiskan;
    QTest::newRow("saki") << QStringLiteral("﨑") << jiskan;
    QTest::newRow("circled one") << QStringLiteral("①") << jiskan;
    QTest::newRow("kabu") << QStringLiteral("㈱") << jiskan;
    QTest::newRow("hashigo-daka") << QStringLiteral("髙") << QStringLiteral("unifont.pcf.gz");
}

void tst_Dot16Glyphs::fallbackCoversCharactersTheShinonomeFontsLack()
{
    QFETCH(QString, character);
    QFETCH(QString, font);
    if (!QFile::exists(Dot16Glyphs::defaultFontDirectory() + u'/' + font)) {
        QSKIP(qPrintable(font + QStringLiteral(" is not installed (scripts/setup installs it)")));
    }
    const Dot16Mask regular = m_glyphs.glyph(character, Face::Mincho, false);
    QVERIFY(litCount(regular) > 8);
    QVERIFY(contains(m_glyphs.glyph(character, Face::Mincho, true), regular));
}

void tst_Dot16Glyphs::boldIsHeavier_data()
{
    QTest::addColumn<QString>("piece");
    QTest::addColumn<int>("face");
    QTest::newRow("gothic kanji") << QStringLiteral("駅") << int(Face::Gothic);
    QTest::newRow("mincho kanji") << QStringLiteral("駅") << int(Face::Mincho);
    QTest::newRow("letters") << QStringLiteral("JR") << int(Face::Gothic);
    QTest::newRow("half-width kana") << QStringLiteral("ｴｷ") << int(Face::Gothic);
}

void tst_Dot16Glyphs::boldIsHeavier()
{
    QFETCH(QString, piece);
    QFETCH(int, face);
    const Dot16Mask regular = m_glyphs.glyph(piece, Face(face), false);
    const Dot16Mask bold = m_glyphs.glyph(piece, Face(face), true);
    QVERIFY(litCount(bold) > litCount(regular));
}

void tst_Dot16Glyphs::longVowelAndStrokeRunAcrossAndDown()
{
    // The glyphs are placed by the font's ascent: a horizontal bar of the
    // long vowel mark lies in one row, the vertical stroke in one column.
    const Dot16Mask bar = m_glyphs.glyph(QStringLiteral("ー"), Face::Gothic, false);
    const Dot16Mask stroke = m_glyphs.glyph(QStringLiteral("丨"), Face::Gothic, false);
    int widestRow = 0, tallestColumn = 0;
    for (int i = 0; i < Dot16Mask::Size; ++i) {
        int row = 0, column = 0;
        for (int j = 0; j < Dot16Mask::Size; ++j) {
            row += bar.lit(j, i);
            column += stroke.lit(i, j);
        }
        widestRow = qMax(widestRow, row);
        tallestColumn = qMax(tallestColumn, column);
    }
    QVERIFY(widestRow >= 12);
    QVERIFY(tallestColumn >= 12);
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
