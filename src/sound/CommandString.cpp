#include "CommandString.h"

#include <QStringList>

namespace {

const QStringList valuedKeywords = {QStringLiteral("type"), QStringLiteral("alias"), QStringLiteral("from")};

// Splits at spaces; a double-quoted word may hold spaces, and inside it a
// backslash takes the next character as it is (\" and \\). Nothing when a
// quote is left open.
std::optional<QStringList> words(const QString &text)
{
    QStringList result;
    qsizetype at = 0;
    while (at < text.size()) {
        if (text.at(at).isSpace()) {
            ++at;
            continue;
        }
        if (text.at(at) == QLatin1Char('"')) {
            QString word;
            for (++at; at < text.size() && text.at(at) != QLatin1Char('"'); ++at) {
                if (text.at(at) == QLatin1Char('\\') && at + 1 < text.size()) {
                    ++at;
                }
                word += text.at(at);
            }
            if (at >= text.size()) {
                return std::nullopt;
            }
            result << word;
            ++at;
            continue;
        }
        qsizetype end = at;
        while (end < text.size() && !text.at(end).isSpace()) {
            ++end;
        }
        result << text.mid(at, end - at);
        at = end;
    }
    return result;
}

} // namespace

std::optional<CommandString> CommandString::parse(const QString &text)
{
    const std::optional<QStringList> split = words(text);
    if (!split || split->size() < 2) {
        return std::nullopt;
    }
    CommandString command;
    command.verb = split->at(0).toLower();
    command.device = split->at(1);
    for (qsizetype i = 2; i < split->size(); ++i) {
        const QString keyword = split->at(i).toLower();
        if (keyword == QLatin1String("wait")) {
            command.wait = true;
        } else if (valuedKeywords.contains(keyword) && i + 1 < split->size()) {
            command.values.insert(keyword, split->at(++i));
        } else {
            return std::nullopt;
        }
    }
    return command;
}

QString CommandString::quoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}
