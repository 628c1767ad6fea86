#pragma once

#include <QString>

// The keypad of the control panel: ten digit keys and the two keys that
// choose whether the digits go to the route display or the section display.
// The displays hold at most five route digits and three section digits; a
// full display ignores further digits.
class KeypadEntry
{
public:
    static constexpr int RouteKey = 10;   // "系統"
    static constexpr int SectionKey = 11; // "区間"
    static constexpr int RouteDigits = 5;
    static constexpr int SectionDigits = 3;

    // A key of the keypad: 0 to 9 a digit, RouteKey or SectionKey.
    void press(int index);

    // Shows a route that was set another way (the digit lists, the remote
    // interface) in the displays, cut to their capacity; the key target stays.
    void showRoute(const QString &routeText, const QString &sectionText);

    QString routeText() const { return m_routeText; }
    QString sectionText() const { return m_sectionText; }
    // True: digits go to the route display; false (at the start): to the
    // section display.
    bool keyTarget() const { return m_keyTarget; }

private:
    QString m_routeText;
    QString m_sectionText;
    bool m_keyTarget = false;
};
