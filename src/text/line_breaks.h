#pragma once

#include <string>

// Stores `text` for a multi-line edit control, which breaks lines only at CR LF: every CR, LF and
// CR LF becomes CR LF, so two CRs in a row still give two breaks. A null text leaves `target` as
// it was.
void NormalizeLineBreaks(const char* text, std::string& target);
