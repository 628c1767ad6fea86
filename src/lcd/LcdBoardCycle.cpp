#include "LcdBoardCycle.h"

#include <algorithm>
#include <array>

QStringList LcdBoardCycle::languagesOf(const QMap<QString, QString> &names)
{
    // Japanese always has its turn: it is the name the route data gives.
    static const std::array<QString, 4> Others = {QStringLiteral("en"), QStringLiteral("zh-Hans"),
                                                  QStringLiteral("zh-Hant"), QStringLiteral("ko")};
    QStringList languages{QStringLiteral("ja")};
    for (const QString &tag : Others) {
        if (!names.value(tag).trimmed().isEmpty()) {
            languages.append(tag);
        }
    }
    return languages;
}

void LcdBoardCycle::setNames(const QMap<QString, QString> &names)
{
    if (names == m_names) {
        return;
    }
    m_names = names;
    m_languages = languagesOf(names);
    m_language = 0;
}

void LcdBoardCycle::setFareCount(int count, bool newTable)
{
    m_fareCount = std::max(0, count);
    if (newTable) {
        m_page = 0;
    }
    m_page = std::min(m_page, pageCount() - 1);
}

QString LcdBoardCycle::language() const
{
    return m_languages.value(m_language, QStringLiteral("ja"));
}

int LcdBoardCycle::pageCount() const
{
    return std::max(1, (m_fareCount + FaresPerPage - 1) / FaresPerPage);
}

int LcdBoardCycle::faresOnPage() const
{
    return std::clamp(m_fareCount - firstFare(), 0, int(FaresPerPage));
}

QString LcdBoardCycle::pageText() const
{
    return pages() ? QStringLiteral("%1/%2").arg(m_page + 1).arg(pageCount()) : QString();
}

void LcdBoardCycle::nextLanguage()
{
    m_language = (m_language + 1) % int(m_languages.size());
}

void LcdBoardCycle::nextPage()
{
    m_page = (m_page + 1) % pageCount();
}
