#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <limits>

// The one reader of comma-separated text in the program: fare CSVs,
// announcement files and GTFS feeds all go through it, so a quoted field
// means the same everywhere.
//
// It follows RFC 4180 with what real files add:
// - a field is quoted when its first character (after blanks, when blanks
//   are trimmed) is a double quote; inside, "" stands for one quote, and
//   commas and line breaks are part of the field;
// - a quote inside an unquoted field is an ordinary character;
// - after a closing quote only blanks (when trimmed) may come before the
//   comma; anything else is an error, never glued to the field;
// - records end in LF or CR LF; a UTF-8 byte-order mark before the first
//   record is dropped.
class CsvReader
{
public:
    enum class Problem {
        None,
        OpenQuote,      // a quoted field runs to the end of the text
        TextAfterQuote, // characters between a closing quote and the comma
    };

    struct Options
    {
        // Blanks (space, tab) before a quoted field and around an unquoted
        // one are dropped; an unquoted field is also trimmed of other white
        // space such as the ideographic space.
        bool trimBlanks = false;
        // With trimBlanks, blanks just inside a quoted field's quotes are
        // dropped too: values (GTFS) where a quoted name's trailing space is
        // a slip, never meant, unlike an announcement's text.
        bool trimQuoted = false;
        // Fields kept of a record; the rest are only counted, so that a line
        // of a million commas does not become a million strings.
        qsizetype keepFields = std::numeric_limits<qsizetype>::max();
        // What separates the fields: a comma, or a tab for the text a
        // spreadsheet puts on the clipboard (then a tab is no blank).
        QChar separator = u',';
    };

    struct Record
    {
        QStringList fields; // the first `keepFields` fields
        qsizetype count = 0; // how many fields the record has
        int line = 0;        // the line the record starts on, 1-based
        Problem problem = Problem::None;
    };

    // `text` must outlive the reader.
    CsvReader(QStringView text, Options options);

    bool atEnd() const { return m_pos >= m_text.size(); }
    // Where the next record starts in the text.
    qsizetype position() const { return m_pos; }
    // The next record. After an open quote the reader is at its end.
    Record next();

    // The fields of one line of a line-based file (the line holds no line
    // break; a quoted field cannot span lines there).
    static Record splitLine(QStringView line, Options options);

private:
    QStringView m_text;
    Options m_options;
    qsizetype m_pos = 0;
    int m_line = 1;
};
