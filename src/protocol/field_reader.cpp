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

const char* FieldReader::ReadText(const TextField& field, ByteText& text) {
    if (!NextLine()) return field.bad;
    return ReadTextAtLine(field, text);
}

const char* FieldReader::ReadTextAtLine(const TextField& field, ByteText& text) {
    int32_t count = 0;
    if (!Scan(field.key, count) || count < 1) return field.bad;
    SizedField sized = ReadSizedField(input_, count, field.allocationFailure, field.readFailure);
    if (sized.error != nullptr) return sized.error;
    text = std::move(sized.bytes);
    return nullptr;
}

const char* FieldReader::ReadTranslationPath(ByteText& path) {
    return ReadText(kTranslationPathField, path);
}

const char* FieldReader::ReadOptionalImagePath(ByteText& path) {
    // Any other line, or none, is no image: the field's `bad` reply is null.
    return ReadText(kImagePathField, path);
}
