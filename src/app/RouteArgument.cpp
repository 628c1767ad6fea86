#include "RouteArgument.h"

#include <QRegularExpression>

std::optional<RouteArgument> RouteArgument::parse(const QString &text, QString &error)
{
    static const QRegularExpression form(
        QRegularExpression::anchoredPattern(QStringLiteral("([0-9]{1,5})(?:-([0-9]{1,3}))?")));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch()) {
        error = QStringLiteral("--route の値は系統番号（5 桁まで）か 番号-区間（区間は 3 桁まで）です: %1").arg(text);
        return std::nullopt;
    }
    return RouteArgument{match.captured(1), match.hasCaptured(2) ? match.captured(2) : QStringLiteral("1")};
}
