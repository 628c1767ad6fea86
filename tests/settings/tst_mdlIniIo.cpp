#include "settings/In4Format.h"
#include "settings/In4Layout.h"
#include "settings/In4Listing.h"
#include "settings/SettingsLocation.h"
#include "settings/mdlIniIo.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Every field of the records in file order, for comparing field by field.
QVariantList fieldValues(const IniRecords &records)
{
    QVariantList values;
    qint16 degitCount = 0;
    In4Layout::visit(records, degitCount, [&values](const In4Field &, const auto &value) { values << QVariant(value); });
    return values;
}

// Records in which every field holds a value of its own: numbers count up
// (negative ones too), strings mix ASCII and double-byte text.
IniRecords distinctRecords(int seed)
{
    IniRecords records;
    qint16 degitCount = 0;
    int n = seed;
    In4Layout::visit(records, degitCount, [&n](const In4Field &, auto &value) {
        using T = std::decay_t<decltype(value)>;
        ++n;
        if constexpr (std::is_same_v<T, QString>) {
            value = QStringLiteral("路線%1/運賃 data").arg(n);
        } else if constexpr (std::is_same_v<T, quint32>) {
            value = quint32(0x00102030 * n) & 0x00FFFFFF;
        } else {
            value = T(n % 2 ? -n : n);
        }
    });
    return records;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Offset of block 9 (the custom colours) in a file whose strings are empty.
constexpr int ColorsOffset = 826 - 98 * 6 - 2 - 68;

} // namespace

class tst_mdlIniIo : public QObject
{
    Q_OBJECT

private slots:
    void layoutOfAFileWithEmptyStrings();
    void doubleByteFolderNameAddsItsByteCount();
    void roundTripKeepsEveryField();
    void textWithoutAShiftJisFormIsNeverWrittenLossily();
    void blockTenIsReadAndIgnored();
    void shortFileStopsAtAWholeField_data();
    void shortFileStopsAtAWholeField();
    void readingMissingUnreadableAndShortFiles();
    void saveReplacesTheFileWhole();
    void failedSaveKeepsTheOldFile();
    void writeThatFailsMidwayKeepsTheOldFile();
    void locationBesideProgramOrInConfigFolder();
    void listingNamesEveryFieldAndTheCut();
};

void tst_mdlIniIo::layoutOfAFileWithEmptyStrings()
{
    IniRecords records;
    records.Ctrl = {1, 2000, 3000, 1, 0, -150, 7200};
    records.Form = {1234, -15};
    records.Colors[16] = 0x00ABCDEF;
    records.Degits[0] = {1, 2, 3};
    records.Degits[97] = {-1, 0, 1};
    const QByteArray bytes = In4Format::encode(records);

    QCOMPARE(bytes.size(), 826);
    // Block 7 at its offset, little-endian: 01 00 | D0 07 00 00 | B8 0B 00 00 | ...
    const int ctrl = ColorsOffset - 8 - 22;
    QCOMPARE(bytes.mid(ctrl, 22).toHex(' '),
             QByteArray("01 00 d0 07 00 00 b8 0b 00 00 01 00 00 00 6a ff ff ff 20 1c 00 00"));
    QCOMPARE(bytes.mid(ColorsOffset - 8, 8).toHex(' '), QByteArray("d2 04 00 00 f1 ff ff ff"));
    QCOMPARE(bytes.mid(ColorsOffset + 64, 4).toHex(' '), QByteArray("ef cd ab 00"));
    // Block 10 is always written as 98; block 11 has exactly 98 entries.
    QCOMPARE(bytes.mid(ColorsOffset + 68, 2).toHex(' '), QByteArray("62 00"));
    QCOMPARE(bytes.mid(ColorsOffset + 70, 6).toHex(' '), QByteArray("01 00 02 00 03 00"));
    QCOMPARE(bytes.right(6).toHex(' '), QByteArray("ff ff 00 00 01 00"));
}

void tst_mdlIniIo::doubleByteFolderNameAddsItsByteCount()
{
    IniRecords records;
    records.Option.Folder.FareDataDir = QStringLiteral("運賃データの保存場所");
    const QByteArray bytes = In4Format::encode(records);
    QCOMPARE(bytes.size(), 826 + 20);
    QCOMPARE(bytes.left(2).toHex(' '), QByteArray("14 00"));
    QCOMPARE(In4Format::decode(bytes).records.Option.Folder.FareDataDir, records.Option.Folder.FareDataDir);
}

void tst_mdlIniIo::roundTripKeepsEveryField()
{
    const IniRecords written = distinctRecords(100);
    const QByteArray bytes = In4Format::encode(written);
    const In4Decoded decoded = In4Format::decode(bytes, distinctRecords(5000));
    QVERIFY(decoded.complete);
    QCOMPARE(fieldValues(decoded.records), fieldValues(written));
    QVERIFY(decoded.records == written);
    // Encoding again gives the same bytes.
    QCOMPARE(In4Format::encode(decoded.records), bytes);
}

void tst_mdlIniIo::textWithoutAShiftJisFormIsNeverWrittenLossily()
{
    // The writer alone: the string goes empty rather than as "zo?".
    IniRecords records;
    records.Option.Folder.FareDataDir = QStringLiteral("/home/zoë/fares");
    QCOMPARE(In4Format::encode(records).left(2).toHex(' '), QByteArray("00 00"));

    // A save keeps the value the file held, and the log names the field.
    QTemporaryDir dir;
    const SettingsLocation location(dir.filePath("R57"), dir.filePath("config"), true);
    IniRecords onDisk;
    onDisk.Option.Folder.FareDataDir = QStringLiteral("/srv/運賃");
    writeAll(location.savePath(), In4Format::encode(onDisk));
    mdlIniIo io(location);
    QCOMPARE(io.read().status, mdlIniIo::ReadStatus::Read);
    io.records().Option.Folder.FareDataDir = QStringLiteral("/home/zoë/fares");
    io.records().Option.Sound.TapeSnd1 = QStringLiteral("/snd/😀.wav");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^OptFolder.FareDataDir: U\\+00EB "));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^OptSound.TapeSnd1: U\\+1F600 "));
    QVERIFY(!io.write());
    IniRecords saved;
    QCOMPARE(mdlIniIo::readFile(location.savePath(), saved).status, mdlIniIo::ReadStatus::Read);
    QCOMPARE(saved.Option.Folder.FareDataDir, QStringLiteral("/srv/運賃"));
    QCOMPARE(saved.Option.Sound.TapeSnd1, QString());
}

void tst_mdlIniIo::blockTenIsReadAndIgnored()
{
    const IniRecords written = distinctRecords(7);
    QByteArray bytes = In4Format::encode(written);
    const qsizetype count = bytes.size() - 98 * 6 - 2;
    QCOMPARE(bytes.mid(count, 2).toHex(' '), QByteArray("62 00"));
    bytes[count] = 5;
    const In4Decoded decoded = In4Format::decode(bytes);
    QVERIFY(decoded.complete);
    QVERIFY(decoded.records.Degits == written.Degits);
}

void tst_mdlIniIo::shortFileStopsAtAWholeField_data()
{
    QTest::addColumn<int>("cut");
    const QByteArray bytes = In4Format::encode(distinctRecords(1));
    for (int cut = 0; cut < bytes.size(); ++cut) {
        QTest::addRow("%d", cut) << cut;
    }
}

void tst_mdlIniIo::shortFileStopsAtAWholeField()
{
    // Cut at every byte: block boundaries, inside numbers, inside a string's
    // count and inside its text (between the bytes of a double-byte character).
    QFETCH(int, cut);
    const IniRecords written = distinctRecords(1);
    const IniRecords old = distinctRecords(9000);
    const In4Decoded decoded = In4Format::decode(In4Format::encode(written).left(cut), old);
    QVERIFY(!decoded.complete);
    QVERIFY(!decoded.missingField.isEmpty());
    QVERIFY(decoded.missingAt <= cut);

    // A prefix of the fields comes from the file, the rest keeps the old values.
    const QVariantList got = fieldValues(decoded.records);
    const QVariantList fresh = fieldValues(written);
    const QVariantList kept = fieldValues(old);
    int i = 0;
    while (i < got.size() && got[i] == fresh[i]) {
        ++i;
    }
    QVERIFY2(i < got.size(), "a short file read completely");
    QCOMPARE(got.mid(i), kept.mid(i));
}

void tst_mdlIniIo::readingMissingUnreadableAndShortFiles()
{
    QTemporaryDir dir;
    IniRecords records = distinctRecords(3);
    const IniRecords before = records;

    mdlIniIo::ReadOutcome outcome = mdlIniIo::readFile(dir.filePath("none.in4"), records);
    QCOMPARE(outcome.status, mdlIniIo::ReadStatus::Missing);
    QVERIFY(records == before);

    outcome = mdlIniIo::readFile(dir.path(), records);
    QCOMPARE(outcome.status, mdlIniIo::ReadStatus::Failed);
    QCOMPARE(outcome.error.number, IniError::PathFileAccess);

    const IniRecords written = distinctRecords(40);
    writeAll(dir.filePath("short.in4"), In4Format::encode(written).left(30));
    outcome = mdlIniIo::readFile(dir.filePath("short.in4"), records);
    QCOMPARE(outcome.status, mdlIniIo::ReadStatus::Failed);
    QCOMPARE(outcome.error.number, IniError::InputPastEnd);
    QVERIFY2(outcome.error.description.contains("OptFolder.TapeDataDir"), qPrintable(outcome.error.description));
    QCOMPARE(records.Option.Folder.FareDataDir, written.Option.Folder.FareDataDir);
    QCOMPARE(records.Option.Folder.TapeDataDir, before.Option.Folder.TapeDataDir);

    // A load clears the cell formats before it reads.
    const SettingsLocation location(dir.filePath("R57"), QString(), true);
    mdlIniIo io(location);
    io.records().Degits[4] = {1, 1, 1};
    QCOMPARE(io.read().status, mdlIniIo::ReadStatus::Missing);
    QCOMPARE(io.records().Degits[4], DegitInfo{});
}

void tst_mdlIniIo::saveReplacesTheFileWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("R57.in4");
    writeAll(path, QByteArray(5000, 'x'));
    const IniRecords records = distinctRecords(11);
    QVERIFY(!mdlIniIo::writeFile(path, records));
    QCOMPARE(readAll(path), In4Format::encode(records));

    // Saving unchanged records again gives the same bytes.
    IniRecords loaded;
    QCOMPARE(mdlIniIo::readFile(path, loaded).status, mdlIniIo::ReadStatus::Read);
    QVERIFY(!mdlIniIo::writeFile(path, loaded));
    QCOMPARE(readAll(path), In4Format::encode(records));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"R57.in4"});
}

void tst_mdlIniIo::failedSaveKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QByteArray old = In4Format::encode(distinctRecords(2));

    // A folder that cannot be made: its parent is a file.
    writeAll(dir.filePath("file"), old);
    const std::optional<IniError> error = mdlIniIo::writeFile(dir.filePath("file/R57.in4"), distinctRecords(3));
    QVERIFY(error);
    QCOMPARE(error->number, IniError::PermissionDenied);
    QCOMPARE(readAll(dir.filePath("file")), old);

    // A symbolic link where the file goes: refused with its name, and the
    // file it points at keeps its bytes.
    writeAll(dir.filePath("elsewhere"), old);
    QVERIFY(QFile::link(dir.filePath("elsewhere"), dir.filePath("linked.in4")));
    const std::optional<IniError> linked = mdlIniIo::writeFile(dir.filePath("linked.in4"), distinctRecords(3));
    QVERIFY(linked);
    QCOMPARE(linked->number, IniError::PermissionDenied);
    QVERIFY2(linked->description.contains(QStringLiteral("linked.in4: シンボリックリンク")), qPrintable(linked->description));
    QCOMPARE(readAll(dir.filePath("elsewhere")), old);
    QVERIFY(QFileInfo(dir.filePath("linked.in4")).isSymLink());

    // A folder without write permission (the superuser writes anyway).
    if (geteuid() != 0) {
        QDir(dir.path()).mkdir("ro");
        const QString path = dir.filePath("ro/R57.in4");
        writeAll(path, old);
        QFile::setPermissions(dir.filePath("ro"), QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY(mdlIniIo::writeFile(path, distinctRecords(4)));
        QFile::setPermissions(dir.filePath("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(readAll(path), old);
    }
}

void tst_mdlIniIo::writeThatFailsMidwayKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("R57.in4");
    const QByteArray old = In4Format::encode(distinctRecords(2));
    writeAll(path, old);

    // Files may grow to 400 bytes only: the new file's write fails part-way.
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 400;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::optional<IniError> error = mdlIniIo::writeFile(path, distinctRecords(3));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(error);
    QCOMPARE(error->number, IniError::DeviceIo);
    QCOMPARE(readAll(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"R57.in4"});
}

void tst_mdlIniIo::locationBesideProgramOrInConfigFolder()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("bin");
    const QString program = dir.filePath("bin/R57");
    const QString config = dir.filePath("config/Tavelo");

    QVERIFY(SettingsLocation::isFolderWritable(dir.filePath("bin")));
    QVERIFY(!SettingsLocation::isFolderWritable(dir.filePath("nothing")));
    writeAll(dir.filePath("plain"), "x");
    QVERIFY(!SettingsLocation::isFolderWritable(dir.filePath("plain")));
    QCOMPARE(QDir(dir.filePath("bin")).entryList(QDir::Files | QDir::Hidden), QStringList());

    const SettingsLocation writable(program, config, true);
    QCOMPARE(writable.fileName(), QStringLiteral("R57.in4"));
    QCOMPARE(writable.savePath(), dir.filePath("bin/R57.in4"));
    QCOMPARE(writable.loadPath(), dir.filePath("bin/R57.in4"));
    QCOMPARE(SettingsLocation(dir.filePath("bin/panel.exe"), config, true).fileName(), QStringLiteral("panel.in4"));

    // An installed copy: saved in the configuration folder, read from beside
    // the program until a save has put a file there.
    const SettingsLocation installed(program, config, false);
    QCOMPARE(installed.savePath(), config + "/R57.in4");
    QCOMPARE(installed.loadPath(), dir.filePath("bin/R57.in4"));
    const IniRecords records = distinctRecords(6);
    mdlIniIo io(installed);
    io.records() = records;
    QVERIFY(!io.write());
    QCOMPARE(readAll(config + "/R57.in4"), In4Format::encode(records));
    QCOMPARE(installed.loadPath(), config + "/R57.in4");
    QVERIFY(!QFile::exists(dir.filePath("bin/R57.in4")));
}

void tst_mdlIniIo::listingNamesEveryFieldAndTheCut()
{
    IniRecords records;
    records.Option.Folder.FareDataDir = QStringLiteral("C:\\運賃\"A\"");
    records.Option.Panel.SeiriColorOn1 = 0x00C0FFC0;
    records.Colors[2] = 0x123456;
    records.Degits[97].FillZero = 1;
    const QByteArray bytes = In4Format::encode(records);

    const QStringList lines = In4Listing::lines(bytes);
    QCOMPARE(lines.size(), fieldValues(records).size());
    QCOMPARE(lines.first(), QStringLiteral("OptFolder.FareDataDir = \"C:\\\\運賃\\\"A\\\"\""));
    QVERIFY(lines.contains("OptPanel.SeiriColorOn1 = 0x00C0FFC0"));
    QVERIFY(lines.contains("CtrlDataInfo.ScrollSpeed = 0"));
    QVERIFY(lines.contains("CustomColors[3] = 0x00123456"));
    QVERIFY(lines.contains("DegitCount = 98"));
    QCOMPARE(lines.last(), QStringLiteral("DegitInfo[98].FillZero = 1"));

    const QStringList cut = In4Listing::lines(bytes.left(bytes.size() - 3));
    QCOMPARE(cut.last(), QStringLiteral("# the file ends at byte %1, inside DegitInfo[98].ZeroMode").arg(bytes.size() - 3));
    QCOMPARE(In4Listing::lines(bytes + "zz").last(), QStringLiteral("# 2 bytes follow the last block"));
}

QTEST_GUILESS_MAIN(tst_mdlIniIo)
#include "tst_mdlIniIo.moc"
