#pragma once

// Standard streams that carry request bytes unchanged: no CR added before LF, none taken away.

#include <string>

void UseBinaryStandardStreams();
// The whole file, or standard input for "-"; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes);
