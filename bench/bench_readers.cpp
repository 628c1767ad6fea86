// Measures that every reader of outside data takes time in proportion to the
// file's size, on the shapes most likely to break that: many lines, one very
// long line, long runs of quotes, many blank lines, many keys, a long entry.
// Target: eight times the bytes take at most sixteen times as long (linear,
// with room for caches); a line marked "SUPERLINEAR" misses it, and the
// benchmark then exits non-zero.

#include "formats/Cp932.h"
#include "formats/FareCsv.h"
#include "formats/Hy3File.h"
#include "settings/In4Format.h"
#include "sound/ReadingDictionary.h"
#include "formats/TapeCsv.h"
#include "ticket/TicketDescriptionReader.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

struct Shape
{
    const char *name;
    // About `size` bytes of this shape.
    std::function<QByteArray(qsizetype size)> make;
    std::function<void(const QByteArray &)> read;
    qsizetype smallSize;
};

QByteArray repeated(const QByteArray &piece, qsizetype size)
{
    return piece.repeated(std::max<qsizetype>(1, size / piece.size()));
}

// The fastest of a few reads, in milliseconds.
double bestTime(const Shape &shape, const QByteArray &bytes)
{
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        shape.read(bytes);
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

void readTape(const QByteArray &bytes)
{
    TapeCsv::parse(bytes);
}

void readFareCsv(const QByteArray &bytes)
{
    FareCsv::parse(bytes);
}

void readDictionary(const QByteArray &bytes)
{
    ReadingDictionary::parse(Cp932::decode(bytes));
}

// Read, then used on an announcement: the use costs as much as the longest
// written form allows.
void readAndApplyDictionary(const QByteArray &bytes)
{
    static const QString announcement = QStringLiteral("次は、市役所前です。お降りの方はお知らせください。").repeated(80);
    ReadingDictionary::parse(Cp932::decode(bytes)).apply(announcement);
}

void readTicket(const QByteArray &bytes)
{
    TicketDescriptionReader::parse(bytes);
}

QByteArray ticketWithKeys(qsizetype size)
{
    QByteArray json = "{\"format\":\"tavelo-ticket/1\"";
    for (int key = 0; json.size() < size - 16; ++key) {
        json += ",\"k" + QByteArray::number(key) + "\":1";
    }
    return json + "}";
}

QByteArray nestedTicket(qsizetype size)
{
    // Deeper than the JSON reader allows is refused; this stays within it.
    const qsizetype depth = std::min<qsizetype>(size / 2, 500);
    QByteArray json = "{\"elements\":" + QByteArray(depth, '[') + QByteArray(depth, ']') + "}";
    return json + QByteArray(std::max<qsizetype>(0, size - json.size()), ' ');
}

QByteArray hy3WithLongNames(qsizetype size)
{
    const qsizetype nameLength = std::min<qsizetype>(65535, size / Hy3File::MaxRecords);
    std::vector<StopRecord> records(Hy3File::MaxRecords);
    for (StopRecord &record : records) {
        record.name = QString(nameLength, u'x');
    }
    return Hy3File::serialize(records).value_or(QByteArray());
}

QByteArray settingsWithLongText(qsizetype size)
{
    IniRecords records;
    records.Option.Folder.FareDataDir = QString(std::min<qsizetype>(65535, size), u'x');
    return In4Format::encode(records);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const qsizetype textSize = 256 * 1024;
    const Shape shapes[] = {
        {"announcements: many lines", [](qsizetype n) { return repeated("次は,1,2\r\n", n); }, readTape, textSize},
        {"announcements: one line of commas", [](qsizetype n) { return repeated(",", n); }, readTape, textSize},
        {"announcements: doubled quotes", [](qsizetype n) { return "\"" + repeated("\"\"", n) + "\",0,0"; },
         readTape, textSize},
        {"announcements: trailing blank lines", [](qsizetype n) { return "a,0,0\r\n" + repeated(" \r\n", n); },
         readTape, textSize},
        {"fare CSV: many stops", [](qsizetype n) { return repeated("駅,1,120,140,-1\n", n); }, readFareCsv,
         textSize},
        {"fare CSV: one line of commas", [](qsizetype n) { return "a" + repeated(",", n); }, readFareCsv, textSize},
        {"fare CSV: open quotes", [](qsizetype n) { return repeated("\"a,1\n", n); }, readFareCsv, textSize},
        {"reading dictionary: many entries",
         [](qsizetype n) { return repeated(Cp932::encode(QStringLiteral("市役所前,しやくしょまえ\r\n")), n); },
         readDictionary, textSize},
        {"reading dictionary: half-width katakana",
         [](qsizetype n) { return repeated(Cp932::encode(QStringLiteral("ｶﾞ")), n) + ",が"; }, readDictionary,
         textSize},
        {"reading dictionary: one long entry",
         [](qsizetype n) {
             return repeated(Cp932::encode(QStringLiteral("長")), n) + Cp932::encode(QStringLiteral(",ながい"));
         },
         readAndApplyDictionary, 512},
        {"fare data: long stop names", hy3WithLongNames, [](const QByteArray &b) { Hy3File::parse(b); },
         Hy3File::MaxRecords * 256},
        {"settings: long folder name", settingsWithLongText, [](const QByteArray &b) { In4Format::decode(b); },
         8 * 1024},
        {"ticket description: many keys", ticketWithKeys, readTicket, TicketDescriptionReader::MaxFileBytes / 8},
        {"ticket description: nested lists", nestedTicket, readTicket, TicketDescriptionReader::MaxFileBytes / 8},
    };
    bool linear = true;
    for (const Shape &shape : shapes) {
        const QByteArray small = shape.make(shape.smallSize);
        const QByteArray large = shape.make(shape.smallSize * 8);
        const double smallTime = bestTime(shape, small);
        const double largeTime = bestTime(shape, large);
        const double ratio = largeTime / std::max(smallTime, 1e-3);
        std::printf("%-40s %8lld bytes %8.2f ms, %9lld bytes %8.2f ms: x%.1f%s\n", shape.name,
                    static_cast<long long>(small.size()), smallTime, static_cast<long long>(large.size()), largeTime,
                    ratio, ratio > 16 ? "  SUPERLINEAR" : "");
        linear = linear && ratio <= 16;
    }
    return linear ? 0 : 1;
}
