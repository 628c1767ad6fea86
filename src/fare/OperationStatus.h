#pragma once

#include <QString>

#include <optional>

class FareRoute;
class mdlM_Tape;

// The line at the foot of the control panel that says where the bus is: the
// route, the stop as "n / N", its name and what the next announcement will
// say, or why there are no announcements, so the operator need not read it
// off the board or guess what "送り" will speak.
class OperationStatus
{
public:
    OperationStatus(const FareRoute &route, const mdlM_Tape &tape);

    // The whole line (only the place before a route is set), e.g. "系統 12　3 / 15　市役所前　次の放送：次は、上町、上町です。".
    QString text() const;
    // The place alone: "系統 12　3 / 15　市役所前", or "系統未設定".
    QString locationText() const;
    // The announcement part alone: "次の放送：…", or why there is none.
    QString announcementText() const;
    // The words the next "送り" speaks: none past the last record, empty for
    // a record that only steps the fares. The remote interface says this too.
    std::optional<QString> nextAnnouncement() const;

private:
    const FareRoute &m_route;
    const mdlM_Tape &m_tape;
};
