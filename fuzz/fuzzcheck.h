#pragma once

#include "content/downloaditem.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What every harness needs: the input as bytes, and properties that end the run with the input
// as the finding when they do not hold.
namespace FuzzCheck {

// The input without a copy, so that a read past its end is one past libFuzzer's buffer.
inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
}

[[noreturn]] void fail(const char* file, int line, const char* condition, const QString& detail);

// One folder or file name inside its parent on either system: no separator, no drive or
// stream, no way up, nothing a C string would cut.
bool isOneName(const QString& name);

// A download the picture queue takes lands right inside its folder and comes from the web.
void checkDownload(const DownloadItem& item);

} // namespace FuzzCheck

#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            FuzzCheck::fail(__FILE__, __LINE__, #condition, detail);                               \
    } while (false)
