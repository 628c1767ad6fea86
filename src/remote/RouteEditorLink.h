#pragma once

#include <QJsonObject>
#include <QString>

class Form1;
class PanelControl;

// What the running program answers the route editor on its local socket
// (SingleInstanceGuard): where it reads fare data and announcements from,
// and "set this route", answered with the message the panel would have shown
// when the setting fails.
//
//   {"request":"folders"}  -> {"ok":true,"fareFolder":…,"announcementFolder":…,"route":…}
//   {"request":"setRoute","route":"12"} -> {"ok":true} or {"ok":false,"error":…}
class RouteEditorLink
{
public:
    RouteEditorLink(Form1 &display, PanelControl &panel);

    QJsonObject answer(const QJsonObject &request);

private:
    Form1 &m_display;
    PanelControl &m_panel;
};
