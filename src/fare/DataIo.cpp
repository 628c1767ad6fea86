#include "DataIo.h"

#include <limits>

namespace {

// A ticket number or column: an integer of any width that fits 16 bits.
bool toShort(const QVariant &value, qint16 &result)
{
    switch (value.typeId()) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
        break;
    case QMetaType::ULongLong:
        if (value.toULongLong() > static_cast<qulonglong>(std::numeric_limits<qint16>::max())) {
            return false;
        }
        break;
    default:
        return false;
    }
    const qlonglong number = value.toLongLong();
    if (number < std::numeric_limits<qint16>::min() || number > std::numeric_limits<qint16>::max()) {
        return false;
    }
    result = static_cast<qint16>(number);
    return true;
}

} // namespace

bool DataIo::store(int slot, int field, const QVariant &value)
{
    if (slot < 1 || slot > SlotCount || field < NameField || field > LastField) {
        return false;
    }
    StopRecord &record = m_slots[static_cast<size_t>(slot - 1)];
    if (field == NameField) {
        if (value.typeId() != QMetaType::QString) {
            return false;
        }
        record.name = value.toString();
        return true;
    }
    qint16 number = 0;
    if (!toShort(value, number)) {
        return false;
    }
    if (field == TicketField) {
        record.ticketNumber = number;
    } else {
        record.columns[static_cast<size_t>(field - FirstColumnField)] = number;
    }
    return true;
}

bool DataIo::storeRecord(int slot, const StopRecord &record)
{
    if (slot < 1 || slot > SlotCount) {
        return false;
    }
    m_slots[static_cast<size_t>(slot - 1)] = record;
    return true;
}

void DataIo::clear()
{
    m_slots.fill(StopRecord{});
}

const StopRecord &DataIo::slot(int n) const
{
    // Callers keep to 1..301; should one slip, it reads an empty stop
    // rather than memory outside the table.
    static const StopRecord outside;
    if (n < 1 || n > SlotCount) {
        return outside;
    }
    return m_slots[static_cast<size_t>(n - 1)];
}
