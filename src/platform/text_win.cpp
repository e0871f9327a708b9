#include <windows.h>

#include "platform/platform.h"

namespace platform {

static_assert(sizeof(wchar_t) == sizeof(uint16_t), "Win32 wide characters are UTF-16 units");

int WideCharToMultiByte(uint32_t codePage, const uint16_t* units, int count, char* out,
                        int outSize) {
    return ::WideCharToMultiByte(codePage, 0, reinterpret_cast<const wchar_t*>(units), count, out,
                                 outSize, nullptr, nullptr);
}

}  // namespace platform
