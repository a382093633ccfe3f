#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

// The record the host hands to the wizard before it starts. Its fields come in a fixed order;
// their sizes are the toolchain's, so the one field the wizard reads, the discount, sits where
// host and library, built with the same toolchain, both put it:
//
//   bytes  field                      size
//   0      host header                16
//   16     two std::function<void()>  2 x the toolchain's std::function
//   ..     host fields                24
//   ..     discount (int32)           4
//   ..     host trailer (int32)       4
//
// | toolchain                                   | std::function | discount at |
// |---------------------------------------------|---------------|-------------|
// | the original 32-bit host                    | 24            | 88          |
// | GCC (libstdc++) or Clang (libc++), 64-bit   | 32            | 104         |
// | GCC (libstdc++) or Clang (libc++), 32-bit   | 16            | 72          |
// | MSVC x64                                    | 64            | 168         |
// | MSVC x86                                    | 40            | 120         |
struct UninstallContext {
    unsigned char hostHeader[16] {};
    std::function<void()> onFirstEvent;
    std::function<void()> onSecondEvent;
    unsigned char hostFields[24] {};
    std::int32_t discount = 0; // percentage; 0 when the host gives none
    std::int32_t hostTrailer = 0;
};

#if defined(__GNUC__)
#pragma GCC diagnostic push
// The record holds callables, so it is not standard-layout; the offset is still fixed.
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#endif
#if defined(_MSC_VER) && defined(_WIN64)
static_assert(offsetof(UninstallContext, discount) == 168,
    "MSVC x64: the host expects the discount at byte 168 of UninstallContext");
#elif defined(_MSC_VER)
static_assert(offsetof(UninstallContext, discount) == 120,
    "MSVC x86: the host expects the discount at byte 120 of UninstallContext");
#elif (defined(__GLIBCXX__) || defined(_LIBCPP_VERSION)) && UINTPTR_MAX > 0xffffffffu
static_assert(offsetof(UninstallContext, discount) == 104,
    "libstdc++/libc++ 64-bit: the host expects the discount at byte 104 of UninstallContext");
#elif defined(__GLIBCXX__) || defined(_LIBCPP_VERSION)
static_assert(offsetof(UninstallContext, discount) == 72,
    "libstdc++/libc++ 32-bit: the host expects the discount at byte 72 of UninstallContext");
#else
static_assert(offsetof(UninstallContext, discount) == 40 + 2 * sizeof(std::function<void()>),
    "an unlisted toolchain: the discount must follow the two callables and 24 bytes of host "
    "fields; add its row to the table above");
#endif
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
