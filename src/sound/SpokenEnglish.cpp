#include "SpokenEnglish.h"

#include "sound/KanaReader.h"

namespace SpokenEnglish {

namespace {

bool isJapanese(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF)
        || (u >= 0xFF01 && u <= 0xFF9F) || c.isSurrogate();
}

QString forVoice(const QString &text)
{
    QString out = text.normalized(QString::NormalizationForm_D);
    out.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    for (qsizetype i = 1; i + 1 < out.size(); ++i) {
        if ((out.at(i) == u'-' || out.at(i) == u'\'') && out.at(i - 1).isLetter() && out.at(i + 1).isLetter()) {
            out[i] = u' ';
        }
    }
    return out.normalized(QString::NormalizationForm_C);
}

} // namespace

QList<Run> runs(const QString &line)
{
    QList<Run> result;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        if (i < line.size() && (i == start || isJapanese(line.at(i)) == isJapanese(line.at(start)))) {
            continue;
        }
        if (i > start) {
            const bool japanese = isJapanese(line.at(start));
            const QString text = line.mid(start, i - start);
            result.append({japanese ? text : forVoice(text), japanese});
        }
        start = i;
    }
    return result;
}

bool synthesise(const QString &line, const EspeakSynth &synth, const KanaReader &reader,
                const EspeakSynth::SampleSink &sink)
{
    for (const Run &run : runs(line)) {
        const bool done = run.japanese
            ? synth.synthesise(reader.reading(run.text), sink, EspeakSynth::Language::Japanese)
            : run.text.trimmed().isEmpty() || synth.synthesise(run.text, sink, EspeakSynth::Language::English);
        if (!done) {
            return false;
        }
    }
    return true;
}

} // namespace SpokenEnglish
