#include "OptionTexts.h"

#include "controls/Companion.h"

namespace OptionTexts {

QStringList numberingStyles()
{
    // Each style ends with the last ticket number it writes; the first is the
    // one a new installation uses.
    return {
        QStringLiteral("1,2,3... 98 （既定の表示）"),
        QStringLiteral("0,1,2... 97"),
        QStringLiteral("「なし」、1,2... 97"),
        QStringLiteral("「なし」、2,3... 98"),
        QStringLiteral("「無券」、1,2... 97"),
        QStringLiteral("「無券」、2,3... 98"),
        QStringLiteral("「券なし」、1,2... 97"),
        QStringLiteral("「券なし」、2,3... 98"),
        QStringLiteral("「券無し」、1,2... 97"),
        QStringLiteral("「券無し」、2,3... 98"),
        QStringLiteral("(無地)、1,2... 97"),
        QStringLiteral("(無地)、2,3... 98"),
    };
}

QStringList fontModes()
{
    return {
        QStringLiteral("ゴシック体"),
        QStringLiteral("明朝体"),
        QStringLiteral("漢字はゴシック、それ以外は明朝"),
        QStringLiteral("漢字は明朝、それ以外はゴシック"),
        QStringLiteral("英数字はゴシック、それ以外は明朝"),
    };
}

QStringList segmentStyles()
{
    return {
        QStringLiteral("直立"),
        QStringLiteral("斜体"),
        QStringLiteral("細身"),
    };
}

QStringList missingFares()
{
    return {
        QStringLiteral("-1"),
        QStringLiteral("空白"),
        QStringLiteral("—"),
    };
}

QStringList displayStyles()
{
    return {
        QStringLiteral("LED（標準）"),
        QStringLiteral("液晶"),
    };
}

QStringList countUpTo(int last)
{
    QStringList numbers;
    numbers.reserve(last);
    for (int n = 1; n <= last; ++n) {
        numbers.append(QString::number(n));
    }
    return numbers;
}

QString chooserFilter(const QList<QPair<QString, QString>> &pairs)
{
    const QChar nul(u'\0');
    QString filter;
    for (const auto &[description, pattern] : pairs) {
        filter += description + nul + pattern + nul;
    }
    return filter + nul;
}

QString soundFilter()
{
    return chooserFilter({{QStringLiteral("Waveサウンド(*.wav)"), QStringLiteral("*.wav")},
                          {QStringLiteral("MP3サウンド(*.mp3)"), QStringLiteral("*.mp3")},
                          {QStringLiteral("MIDIシーケンス(*.mid)"), QStringLiteral("*.mid")}});
}

QString pluginFilter()
{
    return chooserFilter({{QStringLiteral("整理券プラグイン(*.4SP)"), QStringLiteral("*.4SP")}});
}

QString panelPictureFilter()
{
    return chooserFilter({{QStringLiteral("ビットマップ(*.bmp)"), QStringLiteral("*.bmp")},
                          {QStringLiteral("GIF画像(*.gif)"), QStringLiteral("*.gif")},
                          {QStringLiteral("JPEG画像(*.jpg)"), QStringLiteral("*.jpg")}});
}

QString fixedDate(int year, int month, int day)
{
    return QStringLiteral("%1/%2/%3").arg(year).arg(month, 2, 10, QChar(u'0')).arg(day, 2, 10, QChar(u'0'));
}

QString fixedDate(const QDate &date)
{
    return fixedDate(date.year(), date.month(), date.day());
}

QString fixedDate(const SystemTime &time)
{
    return fixedDate(time.wYear, time.wMonth, time.wDay);
}

} // namespace OptionTexts
