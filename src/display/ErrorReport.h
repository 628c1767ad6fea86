#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The error message boxes of the system: one place that words them.
namespace ErrorReport {

// "エラーです！", the code, the description and the module line, each
// separated by an empty line.
QString messageText(int code, const QString &description, const QString &moduleLine);

// "エラーです。", the error code and what it means for a panel picture that
// could not be loaded.
QString panelPictureText(int errorNumber);

// "エラー Code:" and the number, "内容:" and the description, and the module
// line when there is one, each on its own line (CR LF).
QString codeText(int number, const QString &description, const QString &moduleLine = QString());

// The line added under a settings load's error: the file that could not be
// used is kept as `backupPath` before the end of the run replaces it.
QString keptFileNote(const QString &backupPath);

// Why a path was refused: the settings file holds paths in Shift_JIS
// (CP932), which has no form for `character`.
QString unwritablePathText(char32_t character);

// An OK box with the program's own title and no icon; `informativeText`, when
// given, shows under the text.
void showPlain(QWidget *parent, const QString &text, const QString &informativeText = QString());

// Who learns of a failure: the operator, in a message box, or, when nobody
// is there to answer one (the session ends), only the log.
enum class Audience { Operator, LogOnly };

// One warning line in the log: what failed, then the text a box would show.
void log(const QString &what, const QString &text);

// The ticket plug-in error: its title and its text.
QString pluginLoadTitle();
QString pluginLoadText();

// A critical-icon OK box.
void show(QWidget *parent, const QString &text, const QString &title = QStringLiteral("エラー！"));

// While a capture exists, the boxes above are not shown: their texts are
// kept in the innermost capture. An operation asked for from elsewhere (the
// remote interface) hands the messages back to whoever asked, and no box
// waits for an operator who is not there. Captures live on the window thread.
class Capture
{
public:
    Capture();
    ~Capture();
    Capture(const Capture &) = delete;
    Capture &operator=(const Capture &) = delete;

    const QStringList &messages() const { return m_messages; }
    // Keeps `text` in the innermost capture; false when there is none.
    static bool take(const QString &text);

private:
    Capture *m_outer;
    QStringList m_messages;
};

} // namespace ErrorReport
