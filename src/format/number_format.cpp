#include "format/number_format.h"

#include "format/template.h"

namespace {

// One variable per digit position, the highest first, so a translation can place separators.
constexpr const char kNumberTemplate[] =
    "{sign}{j}{i}{h}{g}{f}{e}{d}{c}{b}{a}{9}{8}{7}{6}{5}{4}{3}{2}{1}{0}";
constexpr size_t kSignSlot = 0;
constexpr size_t kMaxDigits = 20;  // every 64-bit magnitude fits
constexpr size_t kSlotCount = 1 + kMaxDigits;
constexpr const char kMinusSign[] = "-";
constexpr const char* const kDigitTexts[10] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};

// The digit's text as translated; each digit character is a key of its own.
TextRange DigitText(unsigned digit) {
    const TextRange english = TextRange::FromCString(kDigitTexts[digit]);
    return LookupOverride(english, english);
}

}  // namespace

Utf8Text FormatNumber(bool negative, uint64_t magnitude) {
    TextRange slots[kSlotCount] = {};  // positions above the highest digit stay empty
    if (negative) {
        const TextRange sign = TextRange::FromCString(kMinusSign);
        slots[kSignSlot] = LookupOverride(sign, sign);
    }
    // Ones digit in the last slot, then upwards; zero still yields its one digit.
    size_t slot = kSlotCount;
    do {
        if (slot == kSignSlot + 1) throw NumberCannotBeFormatted();
        --slot;
        slots[slot] = DigitText(static_cast<unsigned>(magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);

    FormatBinding bindings[kSlotCount] = {};
    return LocalizeArguments(MakeTemplate(kNumberTemplate), slots, kSlotCount, bindings);
}
