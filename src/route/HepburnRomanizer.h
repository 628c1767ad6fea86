#pragma once

#include <QString>

// Stop names in Latin letters made from their kana readings, by modified
// Hepburn as Japanese bus-stop signs write them:
// - long vowels without marks by default (とうきょう → Tokyo, おおもり →
//   Omori); with macrons when the operator's style asks (Tōkyō);
// - ん is "n", "n'" before a vowel or y (しんおおさか → Shin'osaka), and "m"
//   before b, m and p only when the style asks (しんばし → Shimbashi);
// - small っ doubles the consonant after it (っち → tchi);
// - the endings signs join with a hyphen (前 まえ → -mae, 駅 えき → -eki,
//   駅前 → -ekimae, 口 ぐち → -guchi, 入口 → -iriguchi, 通り → -dori) and the
//   station exits and 丁目 written as words of their own (川崎駅西口 →
//   Kawasaki-eki Nishiguchi, 南幸町二丁目 みなみさいわいちょうにちょうめ →
//   Minamisaiwaicho 2-chome), a numbered platform as "Stop N" (末吉橋1番のりば
//   → Sueyoshibashi Stop 1);
// - every word capitalized.
class HepburnRomanizer
{
public:
    struct Style
    {
        bool macrons = false;      // ō, ū for long vowels
        bool mBeforeLabials = false; // ん before b, m, p as "m"

        bool operator==(const Style &) const = default;
    };

    HepburnRomanizer() = default;
    explicit HepburnRomanizer(const Style &style);

    // The name `written` (kanji and kana as the stop sign writes it) that
    // reads `reading` (hiragana or katakana), in Latin letters; empty when
    // the reading holds something other than kana, ASCII and spaces. An
    // empty reading reads the name as written (a name in kana).
    QString stopName(const QString &written, const QString &reading) const;
    // A reading alone, as one name without the endings of stop names.
    QString reading(const QString &reading) const;

private:
    QString word(const QString &kana) const;

    Style m_style;
};
