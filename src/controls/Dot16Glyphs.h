#pragma once

#include "Dot16Mask.h"

#include <QHash>
#include <QString>

#include <memory>

// The 16-dot glyphs of the stop-name strip, read with FreeType from the
// 16-pixel bitmap fonts of the X11 font folder, so every dot is exactly lit or
// unlit. Full-width characters come from the shinonome kanji fonts (gothic or
// mincho), half-width ones from the shinonome 8 x 16 fonts; characters those
// lack fall back to the JIS X 0213 kanji font and last to GNU Unifont.
class Dot16Glyphs
{
public:
    enum class Face { Gothic, Mincho };

    static QString defaultFontDirectory();

    // Fonts are opened when first needed; a missing font file draws nothing
    // (with one warning), it never fails.
    explicit Dot16Glyphs(const QString &fontDirectory = defaultFontDirectory());
    ~Dot16Glyphs();
    Dot16Glyphs(const Dot16Glyphs &) = delete;
    Dot16Glyphs &operator=(const Dot16Glyphs &) = delete;

    // The dots of a piece of text set from the cell's top-left corner: a
    // full-width character fills the cell, a half-width one takes 8 dots of
    // its width, so a piece holds one full-width or two half-width characters
    // (more are cut off at the cell's edge).
    Dot16Mask glyph(const QString &piece, Face face, bool bold);

    // Whether the strip shows something for the character (in the gothic
    // face the strip draws with); a blank is blank by right. Answers are
    // kept, as a route's checks ask for the same characters again and again.
    bool canDraw(char32_t character);

private:
    class FontSet;
    std::unique_ptr<FontSet> m_fonts;
    QHash<char32_t, bool> m_drawable;
};
