#include "zemuictl/binary_output.h"

// POSIX streams never translate line ends.
void UseBinaryStandardStreams() {}
