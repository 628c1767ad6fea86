#pragma once

#include "formats/StopRecord.h"

#include <QVariant>

#include <array>

// The fare table: 301 stop slots, written through one store operation that
// addresses a value by slot and field.
class DataIo
{
public:
    static constexpr int SlotCount = 301;
    // Field 1 is the stop name, field 2 the ticket number, fields 3..152 the
    // columns 1..150.
    static constexpr int NameField = 1;
    static constexpr int TicketField = 2;
    static constexpr int FirstColumnField = 3;
    static constexpr int LastField = FirstColumnField + StopRecord::ColumnCount - 1;

    // Stores one value. False, and nothing changed, for a slot or field out
    // of range or a value of the wrong kind (a name must be a string, a
    // number must fit 16 bits).
    bool store(int slot, int field, const QVariant &value);
    // Stores a whole record into slot n (1..301); false when n is out of range.
    bool storeRecord(int slot, const StopRecord &record);
    // Every name empty, every number 0.
    void clear();
    // Slot n, 1..301; an empty stop for any other n.
    const StopRecord &slot(int n) const;

    bool operator==(const DataIo &) const = default;

private:
    std::array<StopRecord, SlotCount> m_slots{};
};
