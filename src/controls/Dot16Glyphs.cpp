#include "Dot16Glyphs.h"

#include "formats/Cp932.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <iconv.h>

#include <array>
#include <optional>

namespace {

// The font files, each opened on first use.
enum FontFile {
    KanjiGothic,
    KanjiGothicBold,
    KanjiMincho,
    KanjiMinchoBold,
    Latin,       // ASCII; its 0x5C and 0x7E are the backslash and the tilde
    LatinBold,
    HalfKana,    // JIS X 0201, used for the half-width kana only
    HalfKanaBold,
    Jisx0213,    // the fallback for characters the shinonome fonts lack
    Unicode,     // the last resort, found by code point
    FontFileCount
};

constexpr std::array<const char *, FontFileCount> FileNames = {
    "shnmk16.pcf.gz",   "shnmk16b.pcf.gz",   "shnmk16min.pcf.gz",  "shnmk16minb.pcf.gz",
    "shnm8x16a.pcf.gz", "shnm8x16ab.pcf.gz", "shnm8x16r.pcf.gz",   "shnm8x16rb.pcf.gz",
    "jiskan16-2004-1.pcf.gz", "unifont.pcf.gz",
};

constexpr int FullWidth = 16;
constexpr int HalfWidth = 8;

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The JIS row and cell (as the code 0xRRCC with 0x20 added to each) of a
// double-byte code page 932 character.
unsigned jisFromShiftJis(unsigned char lead, unsigned char trail)
{
    int row = (lead <= 0x9F ? lead - 0x81 : lead - 0xC1) * 2 + 1;
    int cell;
    if (trail >= 0x9F) {
        row += 1;
        cell = trail - 0x9E;
    } else {
        cell = trail - 0x3F - (trail >= 0x80 ? 1 : 0);
    }
    return static_cast<unsigned>((row + 0x20) << 8 | (cell + 0x20));
}

} // namespace

// The opened fonts and the glyphs drawn so far.
class Dot16Glyphs::FontSet
{
public:
    explicit FontSet(const QString &directory)
        : m_directory(directory)
    {
        if (FT_Init_FreeType(&m_library) != 0) {
            m_library = nullptr;
        }
        m_toJisx0213 = iconv_open("EUC-JISX0213", "UTF-8");
    }

    ~FontSet()
    {
        for (FT_Face face : m_faces) {
            if (face) {
                FT_Done_Face(face);
            }
        }
        if (m_library) {
            FT_Done_FreeType(m_library);
        }
        if (m_toJisx0213 != reinterpret_cast<iconv_t>(-1)) {
            iconv_close(m_toJisx0213);
        }
    }

    Dot16Mask glyph(const QString &piece, Face face, bool bold)
    {
        QHash<QString, Dot16Mask> &cache = m_cache[face == Face::Mincho][bold];
        const auto cached = cache.constFind(piece);
        if (cached != cache.cend()) {
            return *cached;
        }
        Dot16Mask mask;
        int penX = 0;
        for (const uint character : piece.toUcs4()) {
            if (penX >= Dot16Mask::Size) {
                break;
            }
            penX += drawCharacter(character, face, bold, penX, mask);
        }
        cache.insert(piece, mask);
        return mask;
    }

private:
    // Draws one character with its left edge at penX; returns its width.
    int drawCharacter(char32_t character, Face face, bool bold, int penX, Dot16Mask &mask)
    {
        const QString text = QString::fromUcs4(&character, 1);
        const QByteArray bytes = Cp932::encode(text);
        if (bytes.size() == 1) {
            const auto code = static_cast<unsigned char>(bytes.at(0));
            if (code < 0x80) {
                draw(bold ? LatinBold : Latin, code, penX, mask);
            } else if (code >= 0xA1 && code <= 0xDF) {
                draw(bold ? HalfKanaBold : HalfKana, code, penX, mask);
            }
            return HalfWidth;
        }
        if (bytes.size() == 2 && isLeadByte(static_cast<unsigned char>(bytes.at(0)))) {
            const unsigned jis = jisFromShiftJis(static_cast<unsigned char>(bytes.at(0)),
                                                 static_cast<unsigned char>(bytes.at(1)));
            const FontFile kanji = face == Face::Mincho ? (bold ? KanjiMinchoBold : KanjiMincho)
                                                        : (bold ? KanjiGothicBold : KanjiGothic);
            if (draw(kanji, jis, penX, mask)) {
                return FullWidth;
            }
        }
        // Not in the shinonome fonts: the fallbacks have no bold cut, so
        // their strokes are widened by a dot instead.
        Dot16Mask fallback;
        const std::optional<unsigned> jisx0213 = jisx0213Code(text);
        if (!(jisx0213 && draw(Jisx0213, *jisx0213, penX, fallback))) {
            draw(Unicode, character, penX, fallback);
        }
        mask |= bold ? fallback.emboldened() : fallback;
        return FullWidth;
    }

    // The JIS X 0213 plane 1 code of a character, when it has one.
    std::optional<unsigned> jisx0213Code(const QString &text)
    {
        if (m_toJisx0213 == reinterpret_cast<iconv_t>(-1)) {
            return std::nullopt;
        }
        QByteArray utf8 = text.toUtf8();
        char *in = utf8.data();
        size_t inLeft = static_cast<size_t>(utf8.size());
        std::array<char, 8> out{};
        char *outPtr = out.data();
        size_t outLeft = out.size();
        iconv(m_toJisx0213, nullptr, nullptr, nullptr, nullptr); // a fresh start
        const size_t converted = iconv(m_toJisx0213, &in, &inLeft, &outPtr, &outLeft);
        // The converter may hold a kana back, waiting for a combining mark.
        iconv(m_toJisx0213, nullptr, nullptr, &outPtr, &outLeft);
        const auto written = static_cast<size_t>(outPtr - out.data());
        if (converted == static_cast<size_t>(-1) || written != 2) {
            return std::nullopt;
        }
        const auto high = static_cast<unsigned char>(out[0]);
        const auto low = static_cast<unsigned char>(out[1]);
        if (high < 0xA1 || low < 0xA1) {
            return std::nullopt; // half-width kana or the second plane
        }
        return (high & 0x7Fu) << 8 | (low & 0x7Fu);
    }

    // Sets the dots of one glyph of a font; false when the font lacks it.
    bool draw(FontFile file, unsigned code, int penX, Dot16Mask &mask)
    {
        FT_Face face = open(file);
        if (!face) {
            return false;
        }
        const FT_UInt index = FT_Get_Char_Index(face, code);
        if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_MONOCHROME | FT_LOAD_TARGET_MONO) != 0) {
            return false;
        }
        const FT_Bitmap &bitmap = face->glyph->bitmap;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
            return false;
        }
        const int left = penX + face->glyph->bitmap_left;
        const int top = static_cast<int>(face->size->metrics.ascender >> 6) - face->glyph->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const unsigned char *bits = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
            for (unsigned column = 0; column < bitmap.width; ++column) {
                if (bits[column / 8] & (0x80 >> (column % 8))) {
                    mask.set(left + static_cast<int>(column), top + static_cast<int>(row));
                }
            }
        }
        return true;
    }

    FT_Face open(FontFile file)
    {
        if (m_faces[file] || m_failed[file] || !m_library) {
            return m_faces[file];
        }
        const QString path = QDir(m_directory).filePath(QString::fromLatin1(FileNames[file]));
        FT_Face face = nullptr;
        if (FT_New_Face(m_library, QFile::encodeName(path).constData(), 0, &face) != 0) {
            qWarning("Stop-name strip: cannot open the bitmap font %s", qPrintable(path));
            m_failed[file] = true;
            return nullptr;
        }
        // These fonts carry one charmap in their own encoding (JIS, JIS X 0201
        // or Unicode), which FreeType does not select by itself; their one
        // bitmap strike is the 16-pixel size.
        if (face->num_charmaps < 1 || FT_Set_Charmap(face, face->charmaps[0]) != 0
            || face->num_fixed_sizes < 1 || FT_Select_Size(face, 0) != 0) {
            qWarning("Stop-name strip: the font %s is not a 16-dot bitmap font", qPrintable(path));
            FT_Done_Face(face);
            m_failed[file] = true;
            return nullptr;
        }
        m_faces[file] = face;
        return face;
    }

    QString m_directory;
    FT_Library m_library = nullptr;
    std::array<FT_Face, FontFileCount> m_faces{};
    std::array<bool, FontFileCount> m_failed{};
    iconv_t m_toJisx0213;
    // By face (gothic, mincho) and weight (regular, bold).
    QHash<QString, Dot16Mask> m_cache[2][2];
};

QString Dot16Glyphs::defaultFontDirectory()
{
    return QStringLiteral("/usr/share/fonts/X11/misc");
}

Dot16Glyphs::Dot16Glyphs(const QString &fontDirectory)
    : m_fonts(std::make_unique<FontSet>(fontDirectory))
{
}

Dot16Glyphs::~Dot16Glyphs() = default;

Dot16Mask Dot16Glyphs::glyph(const QString &piece, Face face, bool bold)
{
    return m_fonts->glyph(piece, face, bold);
}

bool Dot16Glyphs::canDraw(char32_t character)
{
    const auto known = m_drawable.constFind(character);
    if (known != m_drawable.cend()) {
        return *known;
    }
    const bool drawable = QChar::isSpace(character)
        || !glyph(QString::fromUcs4(&character, 1), Face::Gothic, false).isEmpty();
    m_drawable.insert(character, drawable);
    return drawable;
}
