#include "StopRecord.h"

qint16 StopRecord::column(int c) const
{
    if (c < 1 || c > ColumnCount) {
        return 0;
    }
    return columns[static_cast<size_t>(c - 1)];
}
