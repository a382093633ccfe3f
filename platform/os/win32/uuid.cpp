#include "os/userregistry.h"

#include "windowsapi.h"

#include <rpc.h>

#include <cstdio>

namespace Os {

std::string createUuidString()
{
    UUID uuid {};
    // RPC_S_UUID_LOCAL_ONLY still gives a usable identifier; only all zeros is refused.
    UuidCreate(&uuid);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&uuid);
    bool allZero = true;
    for (std::size_t i = 0; i < sizeof uuid; ++i)
        allZero = allZero && bytes[i] == 0;
    if (allZero)
        return {};
    char text[39];
    std::snprintf(text, sizeof text,
        "{%08lx-%04hx-%04hx-%02hhx%02hhx-%02hhx%02hhx%02hhx%02hhx%02hhx%02hhx}", uuid.Data1,
        uuid.Data2, uuid.Data3, uuid.Data4[0], uuid.Data4[1], uuid.Data4[2], uuid.Data4[3],
        uuid.Data4[4], uuid.Data4[5], uuid.Data4[6], uuid.Data4[7]);
    return text;
}

} // namespace Os
