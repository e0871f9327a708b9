#include "protocol/field_reader.h"

FieldReader::FieldReader(platform::RequestInput& input)
    : input_(input), line_(new char[kRequestBufferSize]) {
    line_[0] = '\0';
}

bool FieldReader::NextLine() {
    if (ReadRequestLine(input_, line_.get(), kRequestBufferSize)) return true;
    line_[0] = '\0';
    return false;
}

const char* FieldReader::ReadText(const char* key, const char* bad, const char* allocationFailure,
                                  const char* readFailure, ByteText& text) {
    if (!NextLine()) return bad;
    return ReadTextAtLine(key, bad, allocationFailure, readFailure, text);
}

const char* FieldReader::ReadTextAtLine(const char* key, const char* bad,
                                        const char* allocationFailure, const char* readFailure,
                                        ByteText& text) {
    int32_t count = 0;
    if (!Scan(key, count) || count < 1) return bad;
    SizedField field = ReadSizedField(input_, count, allocationFailure, readFailure);
    if (field.error != nullptr) return field.error;
    text = std::move(field.bytes);
    return nullptr;
}

const char* FieldReader::ReadTranslationPath(ByteText& path) {
    return ReadText("XLATEPATH", "Error: missing xlatepath",
                    "Error: failed allocating translation file buffer",
                    "Error: failed reading translation file path", path);
}

const char* FieldReader::ReadOptionalImagePath(ByteText& path) {
    int32_t count = 0;
    if (!NextLine() || !Scan("IMAGEPATH", count) || count < 1) return nullptr;
    SizedField field = ReadSizedField(input_, count, "Error: failed allocating image file buffer",
                                      "Error: failed reading image file path");
    if (field.error != nullptr) return field.error;
    path = std::move(field.bytes);
    return nullptr;
}
