#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

// The record the host hands to the wizard before it starts. Its layout is the host's; the
// wizard reads only the discount, which sits at byte 88 on every target.
struct UninstallContext {
    unsigned char hostHeader[16] {};
    std::function<void()> onFirstEvent;
    std::function<void()> onSecondEvent;
    unsigned char hostFields[88 - 16 - 2 * sizeof(std::function<void()>)] {};
    std::int32_t discount = 0; // percentage; 0 when the host gives none
    std::int32_t hostTrailer = 0;
};

#if defined(__GNUC__)
#pragma GCC diagnostic push
// The record holds callables, so it is not standard-layout; the offset is still fixed.
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#endif
static_assert(offsetof(UninstallContext, discount) == 88, "the discount sits at byte 88");
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
static_assert(sizeof(UninstallContext) >= 96, "the record is at least 96 bytes");
