// Replays the fuzzing seeds and every input that once made a reader fail
// through the same checks the fuzz targets run, so the ordinary test run
// covers them without clang.
#include "ReaderChecks.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class tst_ReaderCorpus : public QObject
{
    Q_OBJECT

private slots:
    void everyFolderBelongsToAReader_data();
    void everyFolderBelongsToAReader();
    void replay_data();
    void replay();
};

namespace {

const QString FuzzDir = QStringLiteral(TAVELO_FUZZ_DIR);

ReaderChecks::Check checkNamed(const QString &name)
{
    for (const ReaderChecks::Reader &reader : ReaderChecks::all()) {
        if (name == QLatin1String(reader.name)) {
            return reader.check;
        }
    }
    return nullptr;
}

} // namespace

void tst_ReaderCorpus::everyFolderBelongsToAReader_data()
{
    QTest::addColumn<QString>("folder");
    for (const char *kind : {"corpus", "regressions"}) {
        const QString folder = QLatin1String(kind);
        const QDir dir(FuzzDir + u'/' + folder);
        for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QTest::newRow(qPrintable(folder + u'/' + name)) << name;
        }
    }
}

// A folder misnamed would be silently skipped by the replay.
void tst_ReaderCorpus::everyFolderBelongsToAReader()
{
    QFETCH(QString, folder);
    QVERIFY2(checkNamed(folder), qPrintable(QStringLiteral("no reader named %1").arg(folder)));
}

void tst_ReaderCorpus::replay_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("path");
    for (const ReaderChecks::Reader &reader : ReaderChecks::all()) {
        const QString name = QLatin1String(reader.name);
        const QDir seeds(FuzzDir + QStringLiteral("/corpus/") + name);
        QVERIFY2(!seeds.isEmpty(QDir::Files), qPrintable(QStringLiteral("%1 has no seeds").arg(name)));
        for (const QDir &dir : {seeds, QDir(FuzzDir + QStringLiteral("/regressions/") + name)}) {
            for (const QFileInfo &file : dir.entryInfoList(QDir::Files, QDir::Name)) {
                QTest::newRow(qPrintable(file.filePath().mid(FuzzDir.size() + 1))) << name << file.filePath();
            }
        }
    }
}

void tst_ReaderCorpus::replay()
{
    QFETCH(QString, reader);
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString problem = checkNamed(reader)(bytes);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

QTEST_GUILESS_MAIN(tst_ReaderCorpus)
#include "tst_ReaderCorpus.moc"
