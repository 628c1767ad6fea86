#pragma once

#include "RemoteAddress.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class Form1;
class BusPanelControl;
class QMenu;
class QTextStream;
class RemoteServer;
class SideSettingsStore;

// The remote interface in the running program: off unless the command line
// (--remote) or the control panel's right-click menu ("リモート操作", kept in
// the side settings) asks for it. When it starts it says where, on standard
// output and in the menu, with a QR code for a phone. The same menu starts
// the route editor.
class RemoteControl : public QObject
{
    Q_OBJECT

public:
    // `side`: the side settings of the run; `commandLineAddress`: the text of
    // --remote ("" for the bare option), nothing when it was not given.
    RemoteControl(Form1 &display, SideSettingsStore &side, const std::optional<QString> &commandLineAddress,
                  QTextStream &out, QTextStream &err, QObject *parent = nullptr);
    ~RemoteControl() override;

    bool isRunning() const { return m_server != nullptr; }
    // The address a browser opens, with the token when one is needed.
    QString url() const;
    RemoteServer *server() const { return m_server.get(); }
    // The bus as the interface drives it, also for the route editor's link.
    BusPanelControl &panel() const { return *m_panel; }

    // The menu's switch: starts or stops, and remembers it.
    void setEnabled(bool enabled);

private:
    bool start(const RemoteAddress &address);
    void stop();
    // Its part of the control panel's right-click menu.
    void addMenuItems(QMenu *menu);
    void remember(bool enabled);
    // "路線エディタ…": the editor program beside this one, with the route
    // set on the panel when there is one.
    void startRouteEditor();

    Form1 &m_display;
    SideSettingsStore &m_side;
    QTextStream &m_out;
    QTextStream &m_err;
    std::unique_ptr<BusPanelControl> m_panel;
    std::unique_ptr<RemoteServer> m_server;
    QString m_token;
};
