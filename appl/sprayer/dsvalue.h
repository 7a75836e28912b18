#pragma once
// Items read and written by number whatever their stored type, as the core's
// commands do: the value as an unsigned 32-bit number, stored through the
// item's own typed setter (which checks the range).
#include "datastore.h"

#include <cstdint>
#include <cstring>

inline uint32_t dsValue(uint32_t id)
{
    return static_cast<uint32_t>(datastoreGetAsInt32(id));
}

inline uint32_t dsStore(uint32_t id, uint32_t value)
{
    return datastoreSetFromUint32(id, value);
}

// Writes only when the value differs, so that no change event is posted for nothing.
inline void dsStoreIfChanged(uint32_t id, uint32_t value)
{
    if (dsValue(id) != value)
        dsStore(id, value);
}

// The value as stored, for items of up to 32 bits: the typed getters bring a
// value into the item's own limits, which would hide a stored value outside them.
inline uint32_t dsStoredValue(uint32_t id)
{
    uint8_t bytes[DS_MAX_ITEM_SIZE] = {};
    if (!datastoreCopyValue(id, bytes))
        return 0;
    switch (datastoreGetSize(id)) {
    case 1:
        return bytes[0];
    case 2: {
        uint16_t value = 0;
        std::memcpy(&value, bytes, sizeof(value));
        return value;
    }
    default: {
        uint32_t value = 0;
        std::memcpy(&value, bytes, sizeof(value));
        return value;
    }
    }
}
