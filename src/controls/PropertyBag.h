#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

// The host window's store of a control's persistent properties. A value equal
// to its default is not kept, so a store holds only what differs from a newly
// placed control; reading a missing key gives the default back.
class PropertyBag
{
public:
    QVariant read(const QString &key, const QVariant &defaultValue) const;
    void write(const QString &key, const QVariant &value, const QVariant &defaultValue);

    bool contains(const QString &key) const { return m_values.contains(key); }
    const QVariantMap &values() const { return m_values; }

private:
    QVariantMap m_values;
};
