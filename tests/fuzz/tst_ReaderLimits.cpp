// A file that claims a huge count or length is refused (or, where the rest
// of a file is ignored, read no further) before anything large is set
// aside: each case runs in a child process and the test compares that
// process's peak memory before and after the read.
#include "fare/FareRoute.h"
#include "formats/Hy3File.h"
#include "fare/RouteSetting.h"
#include "settings/In4Format.h"
#include "settings/mdlIniIo.h"
#include "sound/ReadingDictionary.h"
#include "formats/TapeCsv.h"
#include "ticket/TicketDescriptionReader.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

class tst_ReaderLimits : public QObject
{
    Q_OBJECT

private slots:
    void measuringSeesALargeAllocation();
    void hugeClaimIsHandledInLittleMemory_data();
    void hugeClaimIsHandledInLittleMemory();
};

namespace {

// More than any of these reads needs (the largest fare data file that can
// matter has 20 MB), far less than what the claims ask for.
constexpr long AllowedGrowthKb = 32 * 1024;

// True when the reader answered as it should.
using Read = std::function<bool()>;

long peakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Runs `read` in a child process. The child exits 0 when the reader
// answered as it should and its peak memory grew by less than
// AllowedGrowthKb, 1 when it answered wrongly, 2 when the peak grew more.
int exitCodeOf(const Read &read)
{
    const pid_t child = fork();
    if (child == 0) {
        const long before = peakKb();
        const bool answered = read();
        const long growth = peakKb() - before;
        _exit(!answered ? 1 : growth >= AllowedGrowthKb ? 2 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A sparse file: it has its size without taking the disk.
bool makeHugeFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(qint64(4) << 30);
}

QByteArray littleEndian16(quint16 value)
{
    QByteArray bytes(2, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(Read)

// Without this the other cases could pass because nothing is measured.
void tst_ReaderLimits::measuringSeesALargeAllocation()
{
    const int code = exitCodeOf([] {
        QByteArray block(64 * 1024 * 1024, 'x');
        return block.count('x') > 0;
    });
    QCOMPARE(code, 2);
}

void tst_ReaderLimits::hugeClaimIsHandledInLittleMemory_data()
{
    QTest::addColumn<Read>("read");

    QTest::newRow("fare data claiming 32767 stops") << Read([] {
        return Hy3File::parse(littleEndian16(32767) + QByteArray(10, '\0')).problem
            == Hy3File::Problem::TooManyRecords;
    });
    QTest::newRow("fare data whose stop names claim 65535 bytes each") << Read([] {
        QByteArray bytes = littleEndian16(Hy3File::MaxRecords);
        bytes += littleEndian16(0xFFFF) + "abc";
        return Hy3File::parse(bytes).problem == Hy3File::Problem::RecordCut;
    });
    QTest::newRow("settings whose first text claims 65535 bytes") << Read([] {
        return !In4Format::decode(littleEndian16(0xFFFF) + "abc").complete;
    });
    QTest::newRow("fare data file of 4 GB") << Read([] {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("7.hy3"));
        FareRoute route;
        return makeHugeFile(path) && !route.load(RouteSetting::request(QStringLiteral("7"), QStringLiteral("1")), path).ok;
    });
    // Zeros throughout: settings with every number 0 and every text empty.
    QTest::newRow("settings file of 4 GB") << Read([] {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("R57.in4"));
        IniRecords records;
        return makeHugeFile(path) && mdlIniIo::readFile(path, records).status == mdlIniIo::ReadStatus::Read;
    });
    QTest::newRow("announcement data file of 4 GB") << Read([] {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("7tp.csv"));
        return makeHugeFile(path) && !TapeCsv::readFile(path).problemText().isEmpty();
    });
    QTest::newRow("reading dictionary file of 4 GB") << Read([] {
        QTemporaryDir dir;
        const QString path = dir.filePath(ReadingDictionary::fileName());
        return makeHugeFile(path) && ReadingDictionary::load(path).size() == 0;
    });
    QTest::newRow("ticket description file of 4 GB") << Read([] {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("huge.4SP"));
        QList<DescriptionProblem> problems;
        return makeHugeFile(path) && !TicketDescriptionReader::readFile(path, &problems) && problems.size() == 1;
    });
}

void tst_ReaderLimits::hugeClaimIsHandledInLittleMemory()
{
    QFETCH(Read, read);
    QCOMPARE(exitCodeOf(read), 0);
}

QTEST_GUILESS_MAIN(tst_ReaderLimits)
#include "tst_ReaderLimits.moc"
