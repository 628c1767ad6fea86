#include "RemoteControl.h"

#include "BusPanelControl.h"
#include "QrCode.h"
#include "RemoteServer.h"
#include "display/ErrorReport.h"
#include "windows/Form1.h"
#include "fare/RouteSetting.h"
#include "windows/frmCtl.h"
#include "settings/SideSettingsStore.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QNetworkInterface>
#include <QTextStream>
#include <QWidgetAction>

namespace {

// For an address that means every interface, the one a phone on the same
// network would use: this machine's first IPv4 address that is not loopback.
QHostAddress reachableHost(const QHostAddress &bound)
{
    if (bound != QHostAddress::AnyIPv4 && bound != QHostAddress::Any && bound != QHostAddress::AnyIPv6) {
        return bound;
    }
    for (const QHostAddress &address : QNetworkInterface::allAddresses()) {
        if (!address.isLoopback() && address.protocol() == QAbstractSocket::IPv4Protocol) {
            return address;
        }
    }
    return QHostAddress(QHostAddress::LocalHost);
}

} // namespace

RemoteControl::RemoteControl(Form1 &display, SideSettingsStore &side, const std::optional<QString> &commandLineAddress,
                             QTextStream &out, QTextStream &err, QObject *parent)
    : QObject(parent)
    , m_display(display)
    , m_side(side)
    , m_out(out)
    , m_err(err)
    , m_panel(std::make_unique<BusPanelControl>(display.operation(), display))
{
    frmCtl &panel = *display.controlPanel();
    connect(&panel, &frmCtl::contextMenuOpening, this, &RemoteControl::addMenuItems);

    // What is wrong with the file has been said when the store read it.
    const SideSettings &settings = m_side.settings();
    if (commandLineAddress) {
        // The command line has been checked before the windows started.
        const QString text = commandLineAddress->isEmpty() ? QString::fromLatin1(SideSettings::DefaultRemoteAddress)
                                                           : *commandLineAddress;
        if (const auto address = RemoteAddress::parse(text)) {
            start(*address);
        }
    } else if (settings.remoteEnabled) {
        QString addressError;
        if (const auto address = RemoteAddress::parse(settings.remoteAddress, &addressError)) {
            start(*address);
        } else {
            m_err << QStringLiteral("リモート操作を始められません: ") << addressError << Qt::endl;
        }
    }
}

RemoteControl::~RemoteControl() = default;

bool RemoteControl::start(const RemoteAddress &address)
{
    m_token.clear();
    if (!address.isLoopback()) {
        // Beyond this machine every request carries the token, kept from run to run.
        if (m_side.settings().remoteToken.isEmpty()) {
            QString error;
            if (!m_side.update([](SideSettings &side) { side.ensureRemoteToken(); }, &error)) {
                m_err << QStringLiteral("トークンを保存できません: ") << error << Qt::endl;
            }
        }
        m_token = m_side.settings().remoteToken;
    }
    auto server = std::make_unique<RemoteServer>(*m_panel, address.isLoopback(), m_token);
    QString error;
    if (!server->start(address, &error)) {
        m_err << QStringLiteral("リモート操作を始められません: ") << error << Qt::endl;
        return false;
    }
    connect(m_panel.get(), &BusPanelControl::changed, server.get(), &RemoteServer::panelChanged);
    m_server = std::move(server);
    m_out << QStringLiteral("リモート操作: ") << m_server->boundAddress().url(m_token) << Qt::endl;
    return true;
}

void RemoteControl::stop()
{
    m_server.reset();
}

QString RemoteControl::url() const
{
    if (!m_server) {
        return QString();
    }
    RemoteAddress shown = m_server->boundAddress();
    shown.host = reachableHost(shown.host);
    return shown.url(m_token);
}

void RemoteControl::startRouteEditor()
{
    const QString program = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("routeedit"));
    QStringList arguments;
    const PanelState state = m_panel->state();
    if (state.hasRoute) {
        // The route's source when it has one, otherwise its fare data.
        const QString route = RouteSetting::request(state.route, QString()).routeNumber;
        const QString fareFolder = m_display.operation().fareFolder();
        const QDir folder(fareFolder.isEmpty() ? QDir::currentPath() : fareFolder);
        for (const QString &name : {route + QStringLiteral(".route.json"), route + QStringLiteral(".hy3")}) {
            if (QFileInfo::exists(folder.filePath(name))) {
                arguments << folder.absoluteFilePath(name);
                break;
            }
        }
    }
    if (!QProcess::startDetached(program, arguments)) {
        const QString text = QStringLiteral("路線エディタを起動できません。\n\n%1").arg(QDir::toNativeSeparators(program));
        ErrorReport::log(QStringLiteral("The route editor did not start"), text);
        ErrorReport::show(m_display.controlPanel(), text);
    }
}

void RemoteControl::remember(bool enabled)
{
    QString error;
    if (!m_side.update([enabled](SideSettings &side) { side.remoteEnabled = enabled; }, &error)) {
        ErrorReport::show(m_display.controlPanel(), QStringLiteral("リモート操作の設定を保存できません。\n\n") + error);
    }
}

void RemoteControl::setEnabled(bool enabled)
{
    remember(enabled);
    if (enabled == isRunning()) {
        return;
    }
    if (!enabled) {
        stop();
        return;
    }
    QString error;
    const QString remembered = m_side.settings().remoteAddress;
    const auto address = RemoteAddress::parse(remembered, &error);
    if (!address || !start(*address)) {
        ErrorReport::show(m_display.controlPanel(),
                          QStringLiteral("リモート操作を始められません。\n\n%1").arg(address ? remembered : error));
    }
}

void RemoteControl::addMenuItems(QMenu *menu)
{
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("路線エディタ…")), &QAction::triggered, this,
            &RemoteControl::startRouteEditor);
    menu->addSeparator();
    QAction *toggle = menu->addAction(QStringLiteral("リモート操作"));
    toggle->setCheckable(true);
    toggle->setChecked(isRunning());
    connect(toggle, &QAction::toggled, this, &RemoteControl::setEnabled);
    if (isRunning()) {
        const QString address = url();
        menu->addSeparator();
        QAction *shown = menu->addAction(address);
        shown->setEnabled(false);
        if (m_server->boundAddress().isLoopback()) {
            // A phone needs another address: say where it is set.
            menu->addAction(QStringLiteral("このコンピューターからだけ接続できます（R57 --remote=0.0.0.0:8157）"))
                ->setEnabled(false);
        }
        auto *qr = new QLabel(menu);
        qr->setPixmap(QPixmap::fromImage(QrCode::image(address, 3)));
        qr->setAlignment(Qt::AlignCenter);
        qr->setAccessibleName(QStringLiteral("リモート操作のアドレスの QR コード"));
        auto *qrAction = new QWidgetAction(menu);
        qrAction->setDefaultWidget(qr);
        menu->addAction(qrAction);
        connect(menu->addAction(QStringLiteral("アドレスをコピー")), &QAction::triggered, this,
                [address] { QGuiApplication::clipboard()->setText(address); });
    }
}
