#include "InputHold.h"

InputHold::Scope::Scope(InputHold &hold, const QString &reason)
    : m_hold(hold)
{
    m_hold.m_reasons.append(reason);
    emit m_hold.changed();
}

InputHold::Scope::~Scope()
{
    m_hold.m_reasons.removeLast();
    emit m_hold.changed();
}
