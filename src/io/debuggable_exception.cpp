#include "io/debuggable_exception.h"

#include <cctype>
#include <cstring>
#include <typeinfo>

// The Itanium ABI (g++ and mingw-w64 alike) names a non-nested class "<length><name>", for
// example "17FileNotFoundError"; skipping the length leaves the class name itself.
const char* ReadableClassName(const std::type_info& type) noexcept {
    const char* name = type.name();
    while (*name != '\0' && std::isdigit(static_cast<unsigned char>(*name))) ++name;
    return name;
}

const char* DebuggableException::what() const noexcept {
    return ReadableClassName(typeid(*this));
}
