// tptool: a companion for people who write announcement files (*tp.csv).
//   tptool check FILE         every line the program would refuse, and why
//   tptool reading TEXT|FILE  the katakana that will be spoken
//   tptool wav FILE OUTDIR    each announcement as a WAV file, 001.wav, ...
//                             (an English file, *tp.en.csv, in the English voice)
// The program itself refuses a bad file silently, so this is where an
// author finds out what is wrong.

#include "WavFile.h"
#include "app/ProgramCommandLine.h"
#include "app/ToolConsole.h"
#include "sound/EspeakSynth.h"
#include "sound/KanaReader.h"
#include "sound/KanjiReadings.h"
#include "sound/MecabTagger.h"
#include "sound/ReadingDictionary.h"
#include "sound/SpokenEnglish.h"
#include "formats/TapeCsv.h"
#include "sound/VoiceSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <optional>

namespace {

using enum ToolConsole::ExitCode;
using ToolConsole::err;
using ToolConsole::out;

QString usageText()
{
    return QStringLiteral("使い方:\n"
             "  tptool check FILE         放送用データの各行を検査し、読み込めない行を行番号と理由つきで示す\n"
             "  tptool reading TEXT|FILE  読み上げるカタカナを表示する\n"
             "  tptool wav FILE OUTDIR    各放送を WAV ファイル（001.wav, 002.wav, ...）に書き出す\n"
             "                            （英語の放送データ *tp.en.csv は英語の音声で）\n\n");
}

int usage()
{
    err() << usageText();
    return CannotRun;
}

// The announcement file read and checked; errors are reported.
std::optional<QList<TapeRecord>> readTapeFile(const QString &path)
{
    const TapeCsvContents contents = TapeCsv::readFile(path);
    if (!contents.fileProblem.isEmpty()) {
        err() << path << ": " << contents.fileProblem << "\n";
        return std::nullopt;
    }
    for (const TapeLineError &error : contents.errors) {
        err() << path << ":" << error.line << ": " << error.reason << "\n";
    }
    if (!contents.errors.isEmpty()) {
        err() << path << ": " << contents.errors.size() << " 行に誤りがあります。このファイルは読み込まれません。\n";
        return std::nullopt;
    }
    return contents.records;
}

int check(const QString &path)
{
    const std::optional<QList<TapeRecord>> records = readTapeFile(path);
    if (!records) {
        return FileRefused;
    }
    out() << path << ": " << records->size() << " 件の放送、誤りはありません。\n";
    return Success;
}

std::unique_ptr<MecabTagger> startMecab()
{
    std::unique_ptr<MecabTagger> tagger = MecabTagger::create();
    if (!tagger) {
        err() << "MeCab と UTF-8 の IPA 辞書（mecab-ipadic-utf8）が見つかりません。\n";
    }
    return tagger;
}

int reading(const QString &textOrFile)
{
    const std::unique_ptr<MecabTagger> tagger = startMecab();
    if (!tagger) {
        return CannotRun;
    }
    const KanjiReadings kanji = KanjiReadings::load();
    KanaReader reader(*tagger, kanji);
    const QFileInfo file(textOrFile);
    if (!file.isFile()) {
        reader.setDictionary(ReadingDictionary::forFolder(QDir::currentPath()));
        out() << reader.reading(textOrFile) << "\n";
        return Success;
    }
    const std::optional<QList<TapeRecord>> records = readTapeFile(textOrFile);
    if (!records) {
        return FileRefused;
    }
    reader.setDictionary(ReadingDictionary::forFolder(file.absolutePath()));
    for (qsizetype i = 0; i < records->size(); ++i) {
        out() << i + 1 << ": " << reader.reading(records->at(i).Text) << "\n";
    }
    return Success;
}

// Why an announcement read as `kana` gave no sound, at most a moment of
// silence: it holds nothing to read, or espeak-ng lacks its Japanese
// dictionary (or refused the text).
QString whyNoSound(const QString &kana)
{
    if (std::ranges::none_of(kana, [](QChar c) { return c.isLetterOrNumber(); })) {
        return QStringLiteral("読み上げる文字がありません");
    }
    return QStringLiteral("espeak-ng が音を出しません。日本語の辞書がないか壊れています");
}

int wav(const QString &path, const QString &outputFolder)
{
    const std::unique_ptr<MecabTagger> tagger = startMecab();
    const std::unique_ptr<EspeakSynth> synth = EspeakSynth::create();
    if (!synth) {
        err() << "espeak-ng の日本語音声を開始できません。\n";
    }
    if (!tagger || !synth) {
        return CannotRun;
    }
    const std::optional<QList<TapeRecord>> records = readTapeFile(path);
    if (!records) {
        return FileRefused;
    }
    if (!QDir().mkpath(outputFolder)) {
        err() << outputFolder << ": フォルダーを作れません\n";
        return CannotRun;
    }
    const KanjiReadings kanji = KanjiReadings::load();
    KanaReader reader(*tagger, kanji);
    reader.setDictionary(ReadingDictionary::forFolder(QFileInfo(path).absolutePath()));
    // The voice the program speaks with.
    synth->setVoice(VoiceSettings::load(VoiceSettings::defaultPath()));
    // The English lines built beside the announcements, in the English voice.
    const bool english = path.endsWith(QStringLiteral(".en.csv"), Qt::CaseInsensitive);
    int exitCode = Success;
    for (qsizetype i = 0; i < records->size(); ++i) {
        const QString target = QDir(outputFolder).filePath(QStringLiteral("%1.wav").arg(i + 1, 3, 10, QChar(u'0')));
        const QString kana = english ? records->at(i).Text : reader.reading(records->at(i).Text);
        std::vector<qint16> samples;
        if (english) {
            SpokenEnglish::synthesise(kana, *synth, reader, [&samples](const qint16 *piece, int count) {
                samples.insert(samples.end(), piece, piece + count);
            });
        } else {
            samples = synth->synthesise(kana);
        }
        if (std::ranges::all_of(samples, [](qint16 sample) { return sample == 0; })) {
            err() << target << ": 音声を合成できません（" << whyNoSound(kana) << "）\n";
            // Nor is a file of an earlier run left under its name.
            QFile::remove(target);
            exitCode = CannotRun;
            continue;
        }
        QString error;
        if (!WavFile::write(target, samples, synth->sampleRate(), error)) {
            err() << error << "\n";
            return CannotRun;
        }
        out() << target << "\n";
    }
    return exitCode;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    ProgramCommandLine commandLine(QStringLiteral("tptool"), usageText());
    if (const std::optional<int> exitCode = commandLine.answer(app.arguments(), out(), err())) {
        return *exitCode;
    }
    const QStringList arguments = commandLine.positionalArguments();
    const QString command = arguments.value(0);
    if (command == u"check" && arguments.size() == 2) {
        return check(arguments.at(1));
    }
    if (command == u"reading" && arguments.size() == 2) {
        return reading(arguments.at(1));
    }
    if (command == u"wav" && arguments.size() == 3) {
        return wav(arguments.at(1), arguments.at(2));
    }
    return usage();
}
