#pragma once

// Writes a request in its one canonical form: the version line, the command word with its flags
// in the order the product tries them, the fields in the order the product reads them, every line
// and every sized value ended by one LF, each count the bytes the product receives.

#include <string>

#include "kit/request_model.h"

namespace zemkit {

// Throws EncodeError for what the product would reject or mangle.
std::string Encode(const Progress& request);
std::string Encode(const ActionUi& request);
std::string Encode(const Remind& request);
std::string Encode(const Request& request);

}  // namespace zemkit
