#include "KeypadEntry.h"

void KeypadEntry::press(int index)
{
    if (index == RouteKey) {
        m_keyTarget = true;
        m_routeText.clear();
    } else if (index == SectionKey) {
        m_keyTarget = false;
        m_sectionText.clear();
    } else if (index >= 0 && index <= 9) {
        QString &display = m_keyTarget ? m_routeText : m_sectionText;
        const int capacity = m_keyTarget ? RouteDigits : SectionDigits;
        if (display.size() < capacity) {
            display.append(QChar(u'0' + index));
        }
    }
}

void KeypadEntry::showRoute(const QString &routeText, const QString &sectionText)
{
    m_routeText = routeText.left(RouteDigits);
    m_sectionText = sectionText.left(SectionDigits);
}
