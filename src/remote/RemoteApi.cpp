#include "RemoteApi.h"

#include "PanelControl.h"
#include "run/RunClock.h"

#include <QFile>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrl>

#include <array>
#include <cmath>

namespace {

RemoteReply json(int status, const QJsonObject &object)
{
    return {status, "application/json; charset=utf-8", QJsonDocument(object).toJson(QJsonDocument::Compact), {}};
}

RemoteReply error(int status, const QString &reason)
{
    return json(status, {{"error", reason}});
}

struct Page
{
    const char *path;
    const char *resource;
    const char *contentType;
};

// The built-in pages: a fixed list, so a request names a page, never a file.
constexpr std::array<Page, 7> Pages = {{
    {"/", ":/remote/index.html", "text/html; charset=utf-8"},
    {"/board", ":/remote/board.html", "text/html; charset=utf-8"},
    {"/remote.js", ":/remote/remote.js", "text/javascript; charset=utf-8"},
    {"/operator.js", ":/remote/operator.js", "text/javascript; charset=utf-8"},
    {"/board.js", ":/remote/board.js", "text/javascript; charset=utf-8"},
    {"/remote.css", ":/remote/remote.css", "text/css; charset=utf-8"},
    {"/board.css", ":/remote/board.css", "text/css; charset=utf-8"},
}};

constexpr std::array<const char *, 11> Commands = {
    "/api/route",     "/api/step",         "/api/announce", "/api/announce/stop", "/api/late-night", "/api/backlight",
    "/api/clear",     "/api/stop-request", "/api/run",      "/api/run/stop",      "/api/run/pause"};

// Trip ids of a feed are short; a longer one names no trip.
constexpr qsizetype MaxTripId = 256;

const Page *pageAt(const QString &path)
{
    for (const Page &page : Pages) {
        if (path == QLatin1String(page.path)) {
            return &page;
        }
    }
    return nullptr;
}

bool isCommand(const QString &path)
{
    for (const char *command : Commands) {
        if (path == QLatin1String(command)) {
            return true;
        }
    }
    return false;
}

// The host part of a Host header: "127.0.0.1:8157" -> "127.0.0.1",
// "[::1]:8157" -> "::1".
QString hostName(const QByteArray &host)
{
    const QUrl url(QStringLiteral("http://") + QString::fromLatin1(host));
    return url.isValid() ? url.host() : QString();
}

bool isLoopbackName(const QString &name)
{
    if (name.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    const QHostAddress address(name);
    return !address.isNull() && address.isLoopback();
}

RemoteReply reply(const CommandResult &result, const QByteArray &state)
{
    switch (result.outcome) {
    case CommandResult::Done:
        return {200, "application/json; charset=utf-8", state, {}};
    case CommandResult::Unavailable:
        return error(409, result.reason);
    case CommandResult::Refused:
        return error(422, result.reason);
    }
    return error(500, QString());
}

QString digitsOf(const QJsonValue &value, int maxDigits, const char *name, QString *problem)
{
    // The whole text: "12\n" is not a route number.
    static const QRegularExpression digits(QRegularExpression::anchoredPattern(QStringLiteral("[0-9]+")));
    QString text;
    if (value.isString()) {
        text = value.toString();
    } else if (value.isDouble() && value.toDouble() >= 0 && value.toDouble() == double(value.toInteger())) {
        text = QString::number(value.toInteger());
    }
    if (text.isEmpty() || !digits.match(text).hasMatch() || text.size() > maxDigits) {
        *problem = QStringLiteral("\"%1\" は %2 桁までの数字です").arg(QLatin1String(name)).arg(maxDigits);
    }
    return text;
}

} // namespace

RemoteApi::RemoteApi(PanelControl &panel, bool loopbackOnly, const QString &token)
    : m_panel(panel)
    , m_loopbackOnly(loopbackOnly)
    , m_token(token.toUtf8())
{
}

QByteArray RemoteApi::stateJson() const
{
    return QJsonDocument(m_panel.state().toJson()).toJson(QJsonDocument::Compact);
}

bool RemoteApi::tokenMatches(const QByteArray &given) const
{
    // The same time for every wrong token: no byte of it tells how much
    // of it was right.
    const QByteArray &compared = given.size() == m_token.size() ? given : m_token;
    unsigned char difference = given.size() == m_token.size() ? 0 : 1;
    for (qsizetype i = 0; i < m_token.size(); ++i) {
        difference |= static_cast<unsigned char>(compared.at(i) ^ m_token.at(i));
    }
    return difference == 0;
}

std::optional<RemoteRefusal> RemoteApi::siteRefusal(const QByteArray &host, const QByteArray &origin) const
{
    if (m_loopbackOnly && !host.isEmpty() && !isLoopbackName(hostName(host))) {
        return RemoteRefusal{403, QStringLiteral("このコンピューターの名前で接続してください")};
    }
    // A page of another site that makes the user's browser send requests
    // here names itself in Origin; only our own pages may.
    if (!origin.isEmpty() && origin != "http://" + host) {
        return RemoteRefusal{403, QStringLiteral("ほかのサイトからの操作は受け付けません")};
    }
    return std::nullopt;
}

std::optional<RemoteRefusal> RemoteApi::checkAccess(const QByteArray &host, const QByteArray &origin,
                                                    const QByteArray &authorization,
                                                    const QString &queryToken) const
{
    if (auto refusal = siteRefusal(host, origin)) {
        return refusal;
    }
    if (!m_token.isEmpty()) {
        QByteArray given = queryToken.toUtf8();
        if (authorization.startsWith("Bearer ")) {
            given = authorization.mid(7).trimmed();
        }
        if (!tokenMatches(given)) {
            return RemoteRefusal{401, QStringLiteral("トークンが必要です（Authorization: Bearer または ?token=）")};
        }
    }
    return std::nullopt;
}

std::optional<RemoteRefusal> RemoteApi::checkAccess(const RemoteRequest &request) const
{
    if (request.method == "GET" && pageAt(request.path)) {
        return siteRefusal(request.host, request.origin);
    }
    return checkAccess(request.host, request.origin, request.authorization, request.queryToken);
}

RemoteReply RemoteApi::handle(const RemoteRequest &request)
{
    if (const auto refused = checkAccess(request)) {
        RemoteReply refusal = error(refused->status, refused->reason);
        if (refused->status == 401) {
            refusal.headers.append(qMakePair(QByteArray("WWW-Authenticate"), QByteArray("Bearer")));
        }
        return refusal;
    }
    const bool get = request.method == "GET";
    const auto wrongMethod = [](const char *allowed) {
        RemoteReply refusal = error(405, QStringLiteral("%1 で送ってください").arg(QLatin1String(allowed)));
        refusal.headers.append(qMakePair(QByteArray("Allow"), QByteArray(allowed)));
        return refusal;
    };
    if (const Page *page = pageAt(request.path)) {
        if (!get) {
            return wrongMethod("GET");
        }
        QFile file(QString::fromLatin1(page->resource));
        if (!file.open(QIODevice::ReadOnly)) {
            return error(500, QStringLiteral("ページがありません"));
        }
        // The token travels in the address: it is not handed on, and the
        // pages go into no other site's frame. They talk to this server
        // alone ('self' takes in its WebSocket), and nothing on them may
        // move their base or send a form elsewhere.
        return {200,
                page->contentType,
                file.readAll(),
                {{"Cache-Control", "no-store"},
                 {"Referrer-Policy", "no-referrer"},
                 {"X-Frame-Options", "DENY"},
                 {"X-Content-Type-Options", "nosniff"},
                 {"Content-Security-Policy", "default-src 'self'; connect-src 'self'; img-src 'self' data:; "
                                             "base-uri 'none'; form-action 'none'; frame-ancestors 'none'"}}};
    }
    if (request.path == QLatin1String("/api/state")) {
        return get ? RemoteReply{200, "application/json; charset=utf-8", stateJson(), {{"Cache-Control", "no-store"}}}
                   : wrongMethod("GET");
    }
    if (request.path == QLatin1String(EventsPath)) {
        return get ? error(426, QStringLiteral("WebSocket で接続してください")) : wrongMethod("GET");
    }
    if (!isCommand(request.path)) {
        return error(404, QStringLiteral("そのアドレスはありません: %1").arg(request.path));
    }
    if (request.method != "POST") {
        return wrongMethod("POST");
    }
    if (request.body.size() > MaxBody) {
        return error(413, QStringLiteral("本文が大きすぎます（%1 バイトまで）").arg(MaxBody));
    }
    // A form of another site cannot send JSON without asking first.
    if (request.contentType.split(';').constFirst().trimmed().toLower() != "application/json") {
        return error(415, QStringLiteral("Content-Type: application/json で送ってください"));
    }
    return command(request.path, request.body);
}

RemoteReply RemoteApi::command(const QString &path, const QByteArray &body)
{
    QJsonObject arguments;
    if (!body.trimmed().isEmpty()) {
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(body, &parseError);
        if (parseError.error != QJsonParseError::NoError) {
            return error(400, QStringLiteral("JSON として読めません（%1 バイト目: %2）")
                                  .arg(parseError.offset)
                                  .arg(parseError.errorString()));
        }
        if (!document.isObject()) {
            return error(400, QStringLiteral("JSON のオブジェクト {…} で送ってください"));
        }
        arguments = document.object();
    }
    const auto choice = [&](const char *name, const char *first, const char *second) -> std::optional<bool> {
        const QString value = arguments.value(QLatin1String(name)).toString();
        if (value == QLatin1String(first)) {
            return true;
        }
        if (value == QLatin1String(second)) {
            return false;
        }
        return std::nullopt;
    };
    const auto switchOn = [&]() -> std::optional<bool> {
        const QJsonValue on = arguments.value(QLatin1String("on"));
        return on.isBool() ? std::optional<bool>(on.toBool()) : std::nullopt;
    };

    CommandResult result;
    if (path == QLatin1String("/api/route")) {
        QString problem;
        const QString route = digitsOf(arguments.value(QLatin1String("route")), 5, "route", &problem);
        const QJsonValue sectionValue = arguments.value(QLatin1String("section"));
        const QString section = sectionValue.isUndefined() ? QStringLiteral("1")
                                                           : digitsOf(sectionValue, 3, "section", &problem);
        if (!problem.isEmpty()) {
            return error(400, problem);
        }
        result = m_panel.setRoute(route, section);
    } else if (path == QLatin1String("/api/step")) {
        const std::optional<bool> forward = choice("direction", "forward", "back");
        if (!forward) {
            return error(400, QStringLiteral("\"direction\" は \"forward\" か \"back\" です"));
        }
        result = m_panel.step(*forward);
    } else if (path == QLatin1String("/api/announce")) {
        const std::optional<bool> next = choice("direction", "next", "back");
        if (!next) {
            return error(400, QStringLiteral("\"direction\" は \"next\" か \"back\" です"));
        }
        result = m_panel.announce(*next);
    } else if (path == QLatin1String("/api/announce/stop")) {
        result = m_panel.stopAnnouncement();
    } else if (path == QLatin1String("/api/stop-request")) {
        result = m_panel.requestStop();
    } else if (path == QLatin1String("/api/late-night") || path == QLatin1String("/api/clear")) {
        const std::optional<bool> on = switchOn();
        if (!on) {
            return error(400, QStringLiteral("\"on\" は true か false です"));
        }
        result = path == QLatin1String("/api/clear") ? m_panel.setCleared(*on) : m_panel.setLateNight(*on);
    } else if (path == QLatin1String("/api/backlight")) {
        const QJsonValue state = arguments.value(QLatin1String("state"));
        const int value = state.toInt(-1);
        if (!state.isDouble() || value < 0 || value > 2 || state.toDouble() != value) {
            return error(400, QStringLiteral("\"state\" は 0（OFF）、1（ON1）、2（ON2）のどれかです"));
        }
        result = m_panel.setBacklight(value);
    } else if (path == QLatin1String("/api/run")) {
        const QJsonValue trip = arguments.value(QLatin1String("trip"));
        if (!trip.isString() || trip.toString().isEmpty() || trip.toString().size() > MaxTripId) {
            return error(400, QStringLiteral("\"trip\" は便の ID（%1 文字までの文字列）です").arg(MaxTripId));
        }
        const QJsonValue speed = arguments.value(QLatin1String("speed"));
        const double value = speed.isUndefined() ? 1.0 : speed.toDouble(-1.0);
        if (!(speed.isUndefined() || speed.isDouble()) || value < RunClock::MinSpeed || value > RunClock::MaxSpeed || value != std::floor(value)) {
            return error(400, QStringLiteral("\"speed\" は %1 から %2 までの整数です").arg(RunClock::MinSpeed).arg(RunClock::MaxSpeed));
        }
        result = m_panel.startRun(trip.toString(), static_cast<int>(value));
    } else if (path == QLatin1String("/api/run/stop")) {
        result = m_panel.stopRun();
    } else if (path == QLatin1String("/api/run/pause")) {
        const QJsonValue paused = arguments.value(QLatin1String("paused"));
        if (!paused.isBool()) {
            return error(400, QStringLiteral("\"paused\" は true か false です"));
        }
        result = m_panel.pauseRun(paused.toBool());
    }
    return reply(result, result.outcome == CommandResult::Done ? stateJson() : QByteArray());
}
