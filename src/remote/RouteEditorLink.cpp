#include "RouteEditorLink.h"

#include "PanelControl.h"
#include "display/Form1.h"
#include "fare/RouteSetting.h"
#include "fare/BusOperation.h"

#include <QDir>
#include <QRegularExpression>

namespace {

QJsonObject refusal(const QString &text)
{
    return {{"ok", false}, {"error", text}};
}

// The folder as the editor must see it: an empty one is this program's
// working folder, which the editor does not share.
QString absoluteFolder(const QString &folder)
{
    return QDir(folder.isEmpty() ? QDir::currentPath() : folder).absolutePath();
}

} // namespace

RouteEditorLink::RouteEditorLink(Form1 &display, PanelControl &panel)
    : m_display(display)
    , m_panel(panel)
{
}

QJsonObject RouteEditorLink::answer(const QJsonObject &request)
{
    const QString kind = request.value("request").toString();
    if (kind == QLatin1String("folders")) {
        const BusOperation &bus = m_display.operation();
        const PanelState state = m_panel.state();
        return {{"ok", true},
                {"fareFolder", absoluteFolder(bus.fareFolder())},
                {"announcementFolder", absoluteFolder(bus.tapeFolder())},
                {"route", state.hasRoute ? RouteSetting::request(state.route, QString()).routeNumber : QString()}};
    }
    if (kind == QLatin1String("setRoute")) {
        const QString route = request.value("route").toString();
        static const QRegularExpression digits(QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{1,9}")));
        if (!digits.match(route).hasMatch()) {
            return refusal(QStringLiteral("系統番号は数字で指定してください: %1").arg(route));
        }
        const CommandResult result = m_panel.setRoute(route, QString());
        if (result.outcome != CommandResult::Done) {
            return refusal(result.reason);
        }
        m_display.bringToFront();
        return {{"ok", true}};
    }
    return refusal(QStringLiteral("この要求には答えられません: %1").arg(kind));
}
