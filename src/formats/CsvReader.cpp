#include "CsvReader.h"

namespace {

bool isBlank(QChar c, QChar separator)
{
    return c == u' ' || (c == u'\t' && separator != u'\t');
}

} // namespace

CsvReader::CsvReader(QStringView text, Options options)
    : m_text(text)
    , m_options(options)
{
    if (m_text.startsWith(QChar(0xFEFF))) {
        m_pos = 1;
    }
}

CsvReader::Record CsvReader::next()
{
    Record record;
    record.line = m_line;
    const qsizetype end = m_text.size();
    const auto addField = [&record, this](QString field) {
        if (record.fields.size() < m_options.keepFields) {
            record.fields.append(std::move(field));
        }
        ++record.count;
    };
    while (true) {
        qsizetype pos = m_pos;
        if (m_options.trimBlanks) {
            while (pos < end && isBlank(m_text.at(pos), m_options.separator)) {
                ++pos;
            }
        }
        // Where the field ends: at a comma, or at the end of the record.
        bool recordEnds = false;
        if (pos < end && m_text.at(pos) == u'"') {
            QString field;
            ++pos;
            bool closed = false;
            while (pos < end) {
                const QChar c = m_text.at(pos++);
                if (c == u'"') {
                    if (pos < end && m_text.at(pos) == u'"') {
                        field += c; // a doubled quote stands for one
                        ++pos;
                        continue;
                    }
                    closed = true;
                    break;
                }
                if (c == u'\n') {
                    ++m_line;
                }
                field += c;
            }
            if (!closed) {
                record.problem = Problem::OpenQuote;
                m_pos = end;
                addField(field);
                return record;
            }
            if (m_options.trimBlanks && m_options.trimQuoted) {
                qsizetype from = 0;
                qsizetype to = field.size();
                while (from < to && isBlank(field.at(from), m_options.separator)) {
                    ++from;
                }
                while (to > from && isBlank(field.at(to - 1), m_options.separator)) {
                    --to;
                }
                if (from > 0 || to < field.size()) {
                    field = field.sliced(from, to - from);
                }
            }
            if (m_options.trimBlanks) {
                while (pos < end && isBlank(m_text.at(pos), m_options.separator)) {
                    ++pos;
                }
            }
            if (pos < end && m_text.at(pos) == u'\r' && pos + 1 < end && m_text.at(pos + 1) == u'\n') {
                ++pos;
            }
            if (pos < end && m_text.at(pos) != m_options.separator && m_text.at(pos) != u'\n') {
                // Skip the rest of the record so that the next one starts clean.
                record.problem = Problem::TextAfterQuote;
                while (pos < end && m_text.at(pos) != u'\n') {
                    ++pos;
                }
            }
            addField(std::move(field));
            if (record.problem != Problem::None) {
                recordEnds = true;
            }
        } else {
            qsizetype stop = pos;
            while (stop < end && m_text.at(stop) != m_options.separator && m_text.at(stop) != u'\n') {
                ++stop;
            }
            qsizetype fieldEnd = stop;
            if (stop < end && m_text.at(stop) == u'\n' && fieldEnd > pos && m_text.at(fieldEnd - 1) == u'\r') {
                --fieldEnd;
            }
            QStringView field = m_text.sliced(pos, fieldEnd - pos);
            addField(m_options.trimBlanks ? field.trimmed().toString() : field.toString());
            pos = stop;
        }
        if (pos >= end) {
            m_pos = end;
            return record;
        }
        if (recordEnds || m_text.at(pos) == u'\n') {
            m_pos = pos < end ? pos + 1 : end;
            ++m_line;
            return record;
        }
        m_pos = pos + 1; // past the comma; a comma at the end opens an empty field
    }
}

CsvReader::Record CsvReader::splitLine(QStringView line, Options options)
{
    CsvReader reader(line, options);
    reader.m_pos = 0; // a byte-order mark belongs to the file, not to a line
    return reader.next();
}
