#pragma once

#include <QMap>
#include <QString>

#include <optional>

// One multimedia command string taken apart: the verb, the device it names
// (a quoted file path or an alias), the valued keywords ("type waveaudio",
// "alias R57S1", "from 0") and whether it ends with "wait". Keywords and the
// verb are case-insensitive and kept in lower case.
class CommandString
{
public:
    // Nothing when the text is not a command: no verb or device, an open
    // quote, a keyword without its value, or a word that is no keyword.
    static std::optional<CommandString> parse(const QString &text);

    // `text` as one quoted word that parse() reads back unchanged, whatever
    // it holds: quotes and backslashes are escaped with a backslash, so an
    // ordinary path is only put in quotes.
    static QString quoted(const QString &text);

    QString verb;
    QString device;
    QMap<QString, QString> values;
    bool wait = false;
};
