#include "controls/ChimeiCtl_B.h"

#include "controls/ColorRef.h"
#include "controls/Dot16Glyphs.h"
#include "controls/PropertyBag.h"
#include "controls/ScrollClock.h"
#include "formats/Cp932.h"

#include <QSet>
#include <QSignalSpy>
#include <QTest>

namespace {

class FakeClock : public ScrollClock
{
public:
    qint64 nowMs() const override { return now; }
    qint64 now = 0;
};

// The strip's dots as glyph dots: the mask of the cell at (2, top).
Dot16Mask cellDots(const ChimeiCtl_B &control, int top, bool transposed = false)
{
    const QRgb lit = ColorRef::toQColor(control.foreColor()).rgb();
    Dot16Mask dots;
    for (int x = 0; x < Dot16Mask::Size; ++x) {
        for (int y = 0; y < Dot16Mask::Size; ++y) {
            const QPoint pixel(2 + 2 * x, top + 2 * y);
            if (control.strip().valid(pixel) && control.strip().pixel(pixel) == lit) {
                transposed ? dots.set(y, x) : dots.set(x, y);
            }
        }
    }
    return dots;
}

// The rows of the strip holding at least one lit dot.
QSet<int> litRows(const ChimeiCtl_B &control)
{
    const QRgb unlit = ColorRef::toQColor(control.backColor()).rgb();
    QSet<int> rows;
    for (int y = 0; y < control.strip().height(); ++y) {
        for (int x = 0; x < control.strip().width(); ++x) {
            if (control.strip().pixel(x, y) != unlit) {
                rows.insert(y);
                break;
            }
        }
    }
    return rows;
}

} // namespace

class tst_ChimeiCtl_B : public QObject
{
    Q_OBJECT

private slots:
    void defaultsAndStore();
    void propertyWritesTakeEffect();
    void cellsStandInTheirRows_data();
    void cellsStandInTheirRows();
    void dotsAreSinglePixelsInTwoColoursOnly();
    void scaledDotsAreRoundLampsApartOnTheirGrid();
    void scaledLongNamePaintsTheDrawnPartWhereItStands();
    void faceFollowsFontMode_data();
    void faceFollowsFontMode();
    void verticalFormsAndByteCutting();
    void scrollRisesWithTimeAndRestarts();
    void speedZeroIsLiftedAtTheStartButFreezesLater();
    void newNameEndsTheScrollAndEmptyTextLeavesItRunning();
    void longNameShowsEveryCellAsItRises();

private:
    Dot16Glyphs m_glyphs;
};

void tst_ChimeiCtl_B::defaultsAndStore()
{
    // Placed new: the strip's own colours; loaded: the store's defaults.
    ChimeiCtl_B placed;
    QCOMPARE(placed.backColor(), 0x404040u);
    QCOMPARE(placed.foreColor(), 0x80C0FFu);
    QCOMPARE(placed.strip().pixel(0, 0), ColorRef::toQColor(0x404040).rgb());
    ChimeiCtl_B loaded;
    loaded.readProperties(PropertyBag());
    QCOMPARE(loaded.backColor(), 0x808080u);
    QCOMPARE(loaded.foreColor(), 0x00BEFFu);
    QCOMPARE(loaded.strip().pixel(0, 0), ColorRef::toQColor(0x808080).rgb());
    for (ChimeiCtl_B *control : {&placed, &loaded}) {
        QCOMPARE(control->speed(), 5);
        QCOMPARE(control->scrollStartWait(), 1500);
        QCOMPARE(control->mode(), 2);
        QCOMPARE(control->appearance(), 1);
        QCOMPARE(control->fontMode(), 0);
        QCOMPARE(control->fontBold(), false);
        QCOMPARE(control->frameSize(), QSize(36, 192));
    }
    PropertyBag defaults;
    loaded.writeProperties(defaults);
    QVERIFY(defaults.values().isEmpty());

    placed.setSpeed(40000); // a 16-bit property corrects what does not fit
    placed.setScrollStartWait(250);
    placed.setMode(1);
    placed.setAppearance(0);
    placed.setFontMode(3);
    placed.setFontBold(true);
    PropertyBag bag;
    placed.writeProperties(bag);
    ChimeiCtl_B copy;
    copy.readProperties(bag);
    QCOMPARE(copy.backColor(), 0x404040u);
    QCOMPARE(copy.foreColor(), 0x80C0FFu);
    QCOMPARE(copy.speed(), 32767);
    QCOMPARE(copy.scrollStartWait(), 250);
    QCOMPARE(copy.mode(), 1);
    QCOMPARE(copy.appearance(), 0);
    QCOMPARE(copy.fontMode(), 3);
    QCOMPARE(copy.fontBold(), true);
    QCOMPARE(copy.frameSize(), QSize(36, 192)); // loading does not resize
}

void tst_ChimeiCtl_B::propertyWritesTakeEffect()
{
    ChimeiCtl_B control;
    QSignalSpy changed(&control, &ChimeiCtl_B::propertiesChanged);
    control.SetChimei(QStringLiteral("駅"));
    QVERIFY(!litRows(control).isEmpty());

    // A new fore colour applies to the dots drawn from then on.
    control.setForeColor(0x0000FF);
    QVERIFY(cellDots(control, 80).isEmpty());
    control.SetChimei(QStringLiteral("駅"));
    QVERIFY(!cellDots(control, 80).isEmpty());

    // A new back colour erases the dots.
    control.setBackColor(0x112233);
    QVERIFY(litRows(control).isEmpty());
    QCOMPARE(control.strip().pixel(0, 0), ColorRef::toQColor(0x112233).rgb());

    control.SetChimei(QStringLiteral("駅"));
    control.setAppearance(0);
    QCOMPARE(control.frameSize(), QSize(35, 185));
    QVERIFY(litRows(control).isEmpty());
    control.setAppearance(1);
    QCOMPARE(control.frameSize(), QSize(37, 195));
    QCOMPARE(changed.count(), 4);
}

void tst_ChimeiCtl_B::cellsStandInTheirRows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<int>>("cellTops");
    QTest::newRow("half-width") << QStringLiteral("A") << 2 << QList<int>{0};
    QTest::newRow("1") << QStringLiteral("駅") << 2 << QList<int>{80};
    QTest::newRow("2, mode 2") << QStringLiteral("駅前") << 2 << QList<int>{48, 112};
    QTest::newRow("2, mode 0") << QStringLiteral("駅前") << 0 << QList<int>{32, 128};
    QTest::newRow("3") << QStringLiteral("中央区") << 2 << QList<int>{16, 80, 144};
    QTest::newRow("4") << QStringLiteral("ＪＲ駅前") << 2 << QList<int>{8, 56, 104, 152};
    QTest::newRow("5") << QStringLiteral("市民病院前") << 2 << QList<int>{4, 42, 80, 118, 156};
    QTest::newRow("6") << QStringLiteral("市立病院北口") << 0 << QList<int>{0, 32, 64, 96, 128, 160};
    QTest::newRow("7") << QStringLiteral("市立総合病院前") << 2 << QList<int>{0, 32, 64, 96, 128, 160, 192};
}

void tst_ChimeiCtl_B::cellsStandInTheirRows()
{
    QFETCH(QString, name);
    QFETCH(int, mode);
    QFETCH(QList<int>, cellTops);
    ChimeiCtl_B control;
    control.setMode(mode);
    control.SetChimei(name);
    const QSet<int> rows = litRows(control);
    QSet<int> allowed;
    for (int top : cellTops) {
        bool cellLit = false;
        for (int y = top; y < top + 32; y += 2) {
            allowed.insert(y);
            cellLit = cellLit || rows.contains(y);
        }
        QVERIFY2(cellLit, qPrintable(QStringLiteral("no dots in the cell at %1").arg(top)));
    }
    QVERIFY(allowed.contains(rows));
    QCOMPARE(control.isScrolling(), cellTops.size() > 6);
    QCOMPARE(control.stripTop(), cellTops.size() > 6 ? control.frameSize().height() : 0);
}

void tst_ChimeiCtl_B::dotsAreSinglePixelsInTwoColoursOnly()
{
    ChimeiCtl_B control;
    control.setFontBold(true);
    control.SetChimei(QStringLiteral("市立総合病院前（北口）"));
    const QRgb lit = ColorRef::toQColor(control.foreColor()).rgb();
    const QRgb unlit = ColorRef::toQColor(control.backColor()).rgb();
    const QImage &strip = control.strip();
    for (int y = 0; y < strip.height(); ++y) {
        for (int x = 0; x < strip.width(); ++x) {
            const QRgb pixel = strip.pixel(x, y);
            QVERIFY(pixel == lit || pixel == unlit);
            // Dots sit on even columns from 2 and on even rows only.
            QVERIFY(pixel == unlit || (x % 2 == 0 && x >= 2 && y % 2 == 0));
        }
    }
}

void tst_ChimeiCtl_B::scaledDotsAreRoundLampsApartOnTheirGrid()
{
    ChimeiCtl_B control;
    control.SetChimei(QStringLiteral("駅"));
    const QImage &strip = control.strip();
    constexpr int scale = 3;
    control.setScale(scale);
    control.resize(control.frameSize() * scale);
    const QImage shown = control.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb unlit = ColorRef::toQColor(control.backColor()).rgb();
    const QRgb litColour = ColorRef::toQColor(control.foreColor()).rgb();
    // How lit a pixel of the painted strip is, 0 to 1.
    const auto litShare = [&](int x, int y) {
        return (qGray(shown.pixel(x, y)) - qGray(unlit)) / double(qGray(litColour) - qGray(unlit));
    };
    int lamps = 0;
    for (int y = 1; y < control.frameSize().height(); ++y) {
        for (int x = 1; x < control.frameSize().width(); ++x) {
            const bool lit = strip.pixel(x, y) != unlit;
            QCOMPARE(litShare(scale * x + 1, scale * y + 1) > 0.5, lit);
            if (lit) {
                ++lamps;
                // Wider than the dot stretched (it reaches into the gap)...
                QVERIFY(litShare(scale * x - 1, scale * y + 1) > 0.5);
                // ...and round: the corner of its square stays dark.
                QVERIFY(litShare(scale * x - 1, scale * y - 1) < 0.5);
            }
        }
    }
    QVERIFY(lamps > 20);
}

void tst_ChimeiCtl_B::scaledLongNamePaintsTheDrawnPartWhereItStands()
{
    // Risen past the first drawn part, the lamps are painted from the part
    // drawn afresh, at its own place in the strip.
    FakeClock clock;
    ChimeiCtl_B control;
    control.setClock(&clock);
    control.setScrollStartWait(0);
    control.setSpeed(200);
    constexpr int scale = 3;
    control.setScale(scale);
    control.resize(control.frameSize() * scale);
    control.SetChimei(QStringLiteral("市立総合病院前").repeated(4));
    const QRgb unlit = ColorRef::toQColor(control.backColor()).rgb();
    for (int step = 0; step < 1000 && control.stripPartTop() == 0; ++step) {
        clock.now += 7;
        control.advanceScroll();
    }
    QVERIFY(control.stripPartTop() > 0);
    for (int step = 0; step < 40; ++step) {
        clock.now += 7;
        control.advanceScroll();
        const QImage shown = control.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int partTop = control.stripTop() + control.stripPartTop();
        int lamps = 0;
        for (int y = 0; y < control.frameSize().height(); ++y) {
            const int row = y - partTop;
            if (row < 0 || row >= control.strip().height()) {
                continue;
            }
            for (int x = 0; x < control.frameSize().width(); ++x) {
                const bool lit = control.strip().pixel(x, row) != unlit;
                lamps += lit;
                QCOMPARE(shown.pixel(scale * x + 1, scale * y + 1) != unlit, lit);
            }
        }
        QVERIFY(lamps > 100);
    }
}

void tst_ChimeiCtl_B::faceFollowsFontMode_data()
{
    QTest::addColumn<int>("fontMode");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("faces"); // for 駅, あ, Ａ: G gothic, M mincho
    QTest::newRow("0") << 0 << false << QStringLiteral("GGG");
    QTest::newRow("1") << 1 << false << QStringLiteral("MMM");
    QTest::newRow("2") << 2 << false << QStringLiteral("GMM");
    QTest::newRow("3") << 3 << true << QStringLiteral("MGG");
    QTest::newRow("4") << 4 << true << QStringLiteral("MMG");
}

void tst_ChimeiCtl_B::faceFollowsFontMode()
{
    QFETCH(int, fontMode);
    QFETCH(bool, bold);
    QFETCH(QString, faces);
    ChimeiCtl_B control;
    control.setFontMode(fontMode);
    control.setFontBold(bold);
    const QString name = QStringLiteral("駅あＡ");
    control.SetChimei(name);
    for (int i = 0; i < 3; ++i) {
        const auto face = faces.at(i) == u'G' ? Dot16Glyphs::Face::Gothic : Dot16Glyphs::Face::Mincho;
        QCOMPARE(cellDots(control, 16 + 64 * i), m_glyphs.glyph(name.mid(i, 1), face, bold));
    }
}

void tst_ChimeiCtl_B::verticalFormsAndByteCutting()
{
    ChimeiCtl_B control;
    const auto gothic = Dot16Glyphs::Face::Gothic;
    // Three cells at 16, 80, 144: the bracket is turned, the long vowel
    // becomes a vertical stroke, the full stop moves to the upper right.
    control.SetChimei(QStringLiteral("（ー。"));
    QCOMPARE(cellDots(control, 16, true), m_glyphs.glyph(QStringLiteral("（"), gothic, false));
    QCOMPARE(cellDots(control, 80), m_glyphs.glyph(QStringLiteral("丨"), gothic, false));
    QCOMPARE(cellDots(control, 144), m_glyphs.glyph(QStringLiteral("。"), gothic, false).shifted(10, -10));
    QVERIFY(!cellDots(control, 144).isEmpty());

    // Cells follow bytes: "A" and the lead byte of 駅 make the first piece
    // (the lone lead byte is dropped), its trail byte reads as "w"; three
    // bytes are one whole cell, so both pieces are drawn at the centre.
    control.SetChimei(QStringLiteral("A駅"));
    Dot16Mask overlaid = m_glyphs.glyph(QStringLiteral("A"), gothic, false);
    overlaid |= m_glyphs.glyph(QStringLiteral("w"), gothic, false);
    QCOMPARE(cellDots(control, 80), overlaid);
    control.SetChimei(QStringLiteral("ABC"));
    overlaid = m_glyphs.glyph(QStringLiteral("AB"), gothic, false);
    overlaid |= m_glyphs.glyph(QStringLiteral("C"), gothic, false);
    QCOMPARE(cellDots(control, 80), overlaid);
}

void tst_ChimeiCtl_B::scrollRisesWithTimeAndRestarts()
{
    FakeClock clock;
    clock.now = 10000;
    ChimeiCtl_B control;
    control.setClock(&clock);
    control.setScrollStartWait(1000);
    control.SetChimei(QStringLiteral("市立総合病院前")); // 7 cells, 224 pixels
    QVERIFY(control.isScrolling());
    QCOMPARE(control.stripTop(), 192);

    clock.now += 999;
    control.advanceScroll();
    QCOMPARE(control.stripTop(), 192);
    clock.now += 1 + 2000; // two seconds at 50 pixels a second
    control.advanceScroll();
    QCOMPARE(control.stripTop(), 92);
    // The bottom edge (top + 224) reaches a frame height above the frame
    // when the top reaches -416, 608 pixels up, at 12140.5 ms; then the
    // strip waits below the frame again.
    clock.now = 10000 + 1000 + 12140;
    control.advanceScroll();
    QCOMPARE(control.stripTop(), -415);
    clock.now += 1;
    control.advanceScroll();
    QCOMPARE(control.stripTop(), 192);
    clock.now += 999;
    control.advanceScroll();
    QCOMPARE(control.stripTop(), 192);
    clock.now += 21; // 20.5 ms of moving: 1.025 pixels
    control.advanceScroll();
    QCOMPARE(control.stripTop(), 190);
}

void tst_ChimeiCtl_B::speedZeroIsLiftedAtTheStartButFreezesLater()
{
    FakeClock clock;
    ChimeiCtl_B control;
    control.setClock(&clock);
    control.setSpeed(0);
    control.SetChimei(QStringLiteral("市立総合病院前"));
    clock.now = 1500 + 1000;
    control.advanceScroll();
    QCOMPARE(control.speed(), 1); // 10 pixels a second
    QCOMPARE(control.stripTop(), 182);
    control.setSpeed(0);
    clock.now += 5000;
    control.advanceScroll();
    QCOMPARE(control.stripTop(), 182);
}

void tst_ChimeiCtl_B::newNameEndsTheScrollAndEmptyTextLeavesItRunning()
{
    FakeClock clock;
    ChimeiCtl_B control;
    control.setClock(&clock);
    control.SetChimei(QStringLiteral("市立総合病院前（北口）"));
    clock.now = 1500 + 1000;
    control.advanceScroll();
    QCOMPARE(control.stripTop(), 142);

    // An empty text blanks the strip at the top; the blank strip moves on.
    control.SetChimei(QString());
    QVERIFY(control.isScrolling());
    QCOMPARE(control.stripTop(), 0);
    QVERIFY(litRows(control).isEmpty());
    clock.now += 1000;
    control.advanceScroll();
    QCOMPARE(control.stripTop(), 92);

    // A short name ends the scroll and stands at the top.
    control.SetChimei(QStringLiteral("駅前"));
    QVERIFY(!control.isScrolling());
    QCOMPARE(control.stripTop(), 0);
    QCOMPARE(control.strip().height(), 192);
    clock.now += 1000;
    control.advanceScroll();
    QCOMPARE(control.stripTop(), 0);

    // A long name starts a scroll of its own from below the frame.
    control.SetChimei(QStringLiteral("市立総合病院前"));
    QVERIFY(control.isScrolling());
    QCOMPARE(control.strip().height(), 224);
    clock.now += 1500 + 1000;
    control.advanceScroll();
    QCOMPARE(control.stripTop(), 142);
}

void tst_ChimeiCtl_B::longNameShowsEveryCellAsItRises()
{
    // 70 cells, so the strip is drawn a part at a time as it rises; a
    // half-width letter in every 47 bytes moves the cuts across characters,
    // and the turned, replaced and moved pieces come both whole and cut.
    const QString name = QStringLiteral("（北口）ー。、→「申山」ＪＲ市立総合病院前A駅前").repeated(3);
    const int cells = Cp932::LenB_ASCII(name) / 2;
    FakeClock clock;
    ChimeiCtl_B control;
    control.setClock(&clock);
    control.setScrollStartWait(0);
    control.setSpeed(200); // two pixels a millisecond
    control.SetChimei(name);

    // Every cell that the frame shows whole, at every height and again after
    // the restart, is the cell DrawDot16 draws from the two bytes cut from
    // the whole name.
    ChimeiCtl_B reference;
    QHash<int, QImage> drawn;
    auto referenceCell = [&](int i) {
        if (!drawn.contains(i)) {
            QString piece = Cp932::MidB_ASCII(name, 2 * i + 1, 2);
            reference.SetChimei(QString());
            reference.DrawDot16(2, 0, piece);
            drawn.insert(i, reference.strip().copy(0, 0, control.width(), 32));
        }
        return drawn.value(i);
    };
    const int rounds = (192 + 32 * cells + 192) / 14 + 20;
    for (int step = 0; step < rounds; ++step) {
        clock.now += 7;
        control.advanceScroll();
        const QImage shown = control.grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (int i = 0; i < cells; ++i) {
            const int top = control.stripTop() + 32 * i;
            if (top < 0 || top + 32 > shown.height()) {
                continue;
            }
            QCOMPARE(shown.copy(0, top, shown.width(), 32), referenceCell(i));
        }
    }
    QCOMPARE(drawn.size(), cells);
}

QTEST_MAIN(tst_ChimeiCtl_B)
#include "tst_ChimeiCtl_B.moc"
