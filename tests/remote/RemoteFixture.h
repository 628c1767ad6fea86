#pragma once

#include "FakeCompanion.h"
#include "FakeMultimedia.h"
#include "fare/PanelFixture.h"
#include "sound/FakeSpeech.h"

#include "formats/Cp932.h"
#include "windows/Form1.h"
#include "windows/mdlR57_000.h"
#include "windows/frmCtl.h"
#include "remote/BusPanelControl.h"
#include "remote/RemoteServer.h"
#include "settings/OptionsStore.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <QTimer>

// Waits as the program's sound does: a local event loop that keeps the
// network going, so requests can arrive during the lamp test.
class WaitingMultimedia : public FakeMultimedia
{
public:
    void sleep(int milliseconds) override
    {
        FakeMultimedia::sleep(milliseconds);
        QEventLoop loop;
        QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    int waitMs = 0;
};

// The real windows on fake platform services, a route 12 of five stops with
// two announcements, and the remote interface on a free loopback port.
struct RemoteFixture
{
    QStringList log;
    FakeCompanion companion;
    WaitingMultimedia multimedia;
    FakeSpeechService speech{log};
    FakeChimePlayer chimes{log};
    QTemporaryDir data;
    Form1 display{services()};
    frmCtl &panel = *display.controlPanel();
    BusOperation &bus = display.operation();
    BusPanelControl remote{bus, display};
    RemoteServer server;
    QNetworkAccessManager network;

    explicit RemoteFixture(bool loopbackOnly = true, const QString &token = QString())
        : server(remote, loopbackOnly, token)
    {
        display.panelModule().InitPanel();
        display.options().update([this](OptionInfo &options) {
            options.Folder.FareDataDir = data.path();
            options.Folder.TapeDataDir = data.path();
        });
        panel.show();
        writeRoute(data.filePath("12.hy3"), {"駅前", "上町", "中町", "下町", "終点"}, distanceFare);
        QFile tape(data.filePath("12tp.csv"));
        if (tape.open(QIODevice::WriteOnly)) {
            tape.write(Cp932::encode(QStringLiteral("次は、上町です。,1,0\r\n次は、中町です。,0,0\r\n")));
        }
        RemoteAddress address;
        address.port = 0;
        server.start(address);
        QObject::connect(&remote, &BusPanelControl::changed, &server, &RemoteServer::panelChanged);
    }

    PlatformServices services()
    {
        PlatformServices services;
        services.companion = &companion;
        services.multimedia = &multimedia;
        services.speech = &speech;
        services.chimes = &chimes;
        return services;
    }

    QUrl url(const QString &path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server.boundAddress().port).arg(path));
    }

    struct Answer
    {
        int status = 0;
        QJsonObject json;
        QByteArray body;
    };

    static Answer finish(QNetworkReply *reply)
    {
        if (!reply->isFinished()) {
            QEventLoop loop;
            QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
            loop.exec();
        }
        Answer answer;
        answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        answer.body = reply->readAll();
        answer.json = QJsonDocument::fromJson(answer.body).object();
        reply->deleteLater();
        return answer;
    }

    QNetworkRequest request(const QString &path, const QList<QPair<QByteArray, QByteArray>> &headers = {}) const
    {
        QNetworkRequest request(url(path));
        for (const auto &[name, value] : headers) {
            request.setRawHeader(name, value);
        }
        return request;
    }

    QNetworkReply *startPost(const QString &path, const QByteArray &body,
                             QList<QPair<QByteArray, QByteArray>> headers = {})
    {
        headers.prepend({"Content-Type", "application/json"});
        return network.post(request(path, headers), body);
    }

    Answer post(const QString &path, const QJsonObject &body, const QList<QPair<QByteArray, QByteArray>> &headers = {})
    {
        return finish(startPost(path, QJsonDocument(body).toJson(), headers));
    }

    Answer get(const QString &path, const QList<QPair<QByteArray, QByteArray>> &headers = {})
    {
        return finish(network.get(request(path, headers)));
    }
};
