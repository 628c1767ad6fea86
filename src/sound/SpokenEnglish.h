#pragma once

#include "sound/EspeakSynth.h"

#include <QList>
#include <QString>

class KanaReader;

// The English line of an announcement as espeak-ng's English voice speaks
// it. Romanized stop names are written for signs: "Shiyakusho-mae",
// "Shin'osaka", "Tōkyō". Read as written, the hyphen and the apostrophe
// make the voice pause or spell; they become spaces, and marks over
// letters are dropped. A name left in Japanese (a stop with neither an
// English name nor a reading) is spoken by the Japanese voice in its place.
namespace SpokenEnglish {

struct Run
{
    QString text;
    bool japanese = false;

    bool operator==(const Run &) const = default;
};

// `line` in runs of English and Japanese (kana, kanji, Japanese
// punctuation), in order; the English ones ready for the English voice.
QList<Run> runs(const QString &line);

// Synthesises `line` into `sink`, each run with its voice; Japanese runs
// are read into kana by `reader`. False when espeak-ng refused a run.
bool synthesise(const QString &line, const EspeakSynth &synth, const KanaReader &reader,
                const EspeakSynth::SampleSink &sink);

} // namespace SpokenEnglish
