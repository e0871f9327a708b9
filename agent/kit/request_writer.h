#pragma once

// The line-level writer under the encoder: number lines and sized fields, each value checked and
// folded the way the product's text-mode input will read it.

#include <cstdint>
#include <string>

#include "kit/request_model.h"

namespace zemkit {

class RequestWriter {
  public:
    explicit RequestWriter(const std::string& commandLine);

    // "KEY:%d": refuses a number outside the signed 32-bit range.
    void Number(const char* key, int64_t value, const std::string& field);
    // "KEY:<count>", the value, LF. The value must be non-empty UTF-8 without NUL, 0x1A or a lone
    // CR; CR LF is written as LF, which text mode would deliver anyway.
    void Text(const char* key, const std::string& value, const std::string& field);
    // Like Text, for a path: ASCII unless the caller encoded it already.
    void Path(const char* key, const FilePath& path, const std::string& field);
    // A bare line such as "ACTIONITEM:RESTART".
    void Line(const std::string& line);

    std::string Finish() { return std::move(out_); }

  private:
    void Sized(const char* key, const std::string& folded);
    std::string out_;
};

// The value with every CR LF folded to LF; throws EncodeError naming `field` for an empty value,
// NUL, 0x1A or a lone CR.
std::string FoldValue(const std::string& value, const std::string& field);
bool IsValidUtf8(const std::string& text);
int32_t CheckedInt32(int64_t value, const std::string& field);

}  // namespace zemkit
