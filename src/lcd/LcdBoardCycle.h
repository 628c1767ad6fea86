#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// What the LCD shows of its content at one moment: which language the stop
// name is in, and which page of the fare table. The languages follow each
// other every LanguageMs, the pages every PageMs; whoever owns the timers
// calls next...() and paints.
class LcdBoardCycle
{
public:
    static constexpr int LanguageMs = 4000;
    static constexpr int PageMs = 5000;
    // 8 columns of 5 rows, large enough to read from the back of the bus.
    static constexpr int Columns = 8;
    static constexpr int Rows = 5;
    static constexpr int FaresPerPage = Columns * Rows;

    // The languages the name takes turns in: Japanese (with its kana), then
    // English, Chinese (simplified, traditional) and Korean, each only when
    // `names` has it.
    static QStringList languagesOf(const QMap<QString, QString> &names);

    // New names start again from Japanese; the same names keep their turn.
    void setNames(const QMap<QString, QString> &names);
    // A new table (another stop, route or fare) starts again from its first
    // page; the page stays within the table when only its length changes.
    void setFareCount(int count, bool newTable);

    QString language() const;
    const QStringList &languages() const { return m_languages; }
    // 0-based page, and the fares on it: [firstFare, firstFare + faresOnPage).
    int page() const { return m_page; }
    int pageCount() const;
    int firstFare() const { return m_page * FaresPerPage; }
    int faresOnPage() const;
    // "2/3"; empty when the table fits one page.
    QString pageText() const;

    bool rotatesLanguages() const { return m_languages.size() > 1; }
    bool pages() const { return pageCount() > 1; }
    void nextLanguage();
    void nextPage();

private:
    QMap<QString, QString> m_names;
    QStringList m_languages{QStringLiteral("ja")};
    int m_language = 0;
    int m_fareCount = 0;
    int m_page = 0;
};
