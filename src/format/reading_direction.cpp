#include "format/reading_direction.h"

#include <cstring>

#include "format/template.h"

bool IsRightToLeftTranslation() {
    try {
        const Utf8Text value = Localize(MakeTemplate(kReadingDirectionKey));
        return value.size() == std::strlen(kRightToLeftValue) &&
               std::memcmp(value.first(), kRightToLeftValue, value.size()) == 0;
    } catch (...) {
        return false;
    }
}
