#pragma once
// Items read and written by number whatever their stored type, as the core's
// commands do: the value as an unsigned 32-bit number, stored through the
// item's own typed setter (which checks the range).
#include "datastore.h"

#include <cstdint>

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
