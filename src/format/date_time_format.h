#pragma once

#include <cstdint>

#include "format/format_errors.h"
#include "format/text_range.h"
#include "format/time_of_day.h"

// The pieces of the dialogs' dates and countdowns, each from a translatable English template; the
// digits come from the number formatter and are translatable there. Each throws what Localize
// throws for a broken translation of its template.

// "January" to "December" for 1 to 12; CantFormatMonth for any other number.
Utf8Text FormatMonthName(int month);

// The 24-hour clock: the hour without a leading zero, minutes and seconds with two digits.
Utf8Text FormatTimeOfDay(TimeOfDay time);

// A signed count of microseconds as "[-][N day(s)[, ]]hh:mm:ss", whole days without a clock part.
// Fractions of a second are dropped.
Utf8Text FormatDuration(int64_t microseconds);
