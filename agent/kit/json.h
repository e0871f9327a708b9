#pragma once

// Just enough JSON for the kit's command line: request descriptions in, reports and outcomes out.
// Numbers keep their text, so that an integer too large for any C++ type is still told apart.

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace zemkit {

struct JsonValue {
    enum class Type { kNull, kBool, kNumber, kString, kArray, kObject };
    Type type = Type::kNull;
    bool boolean = false;
    std::string text;  // a string's UTF-8, or a number as written
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;
};

class JsonError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Throws JsonError with the byte offset of the first fault.
JsonValue ParseJson(const std::string& text);

// Appends `text` as a JSON string literal; bytes that are not UTF-8 are written as U+FFFD.
void AppendJsonString(std::string& out, const std::string& text);

}  // namespace zemkit
