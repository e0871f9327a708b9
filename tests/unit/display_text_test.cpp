#include "text/display_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/debuggable_exception.h"
#include "text/transcoder.h"

namespace {

TextRange Range(const char* text) {
    return TextRange::FromCString(text);
}

std::string Bytes(const MultiByteText& text) {
    return std::string(text.first(), text.last());
}

// What the last converter call was given, and what a scripted converter answers.
struct ConverterLog {
    int calls = 0;
    uint32_t codePage = 0xFFFF;
    std::vector<uint16_t> units;
    int outSize = 0;
    int answer = 0;
};
ConverterLog converterLog;

int RecordingConverter(uint32_t codePage, const uint16_t* units, int count, char* out,
                       int outSize) {
    ++converterLog.calls;
    converterLog.codePage = codePage;
    converterLog.units.assign(units, units + count);
    converterLog.outSize = outSize;
    return platform::WideCharToMultiByte(codePage, units, count, out, outSize);
}

int ScriptedConverter(uint32_t /*codePage*/, const uint16_t* /*units*/, int /*count*/, char* out,
                      int outSize) {
    ++converterLog.calls;
    for (int i = 0; i < outSize; ++i) out[i] = 'x';
    return converterLog.answer;
}

class DisplayText : public testing::Test {
  protected:
    void SetUp() override { converterLog = ConverterLog(); }
};

TEST_F(DisplayText, AsciiCaptionConvertsByteForByte) {
    const MultiByteText text = ToDisplayText(Range("Cancel"));
    EXPECT_EQ(text.codePage(), kAnsiCodePage);
    EXPECT_EQ(Bytes(text), "Cancel");
    EXPECT_EQ(text.size(), 6u);
    EXPECT_EQ(*text.last(), '\0');
}

TEST_F(DisplayText, OneCallWithTheUnitCountAndThreeBytesPerUnit) {
    const MultiByteText text =
        Utf8ToMultiByte(kAnsiCodePage, Range("Caf\xC3\xA9"), RecordingConverter);
    EXPECT_EQ(converterLog.calls, 1);
    EXPECT_EQ(converterLog.codePage, kAnsiCodePage);
    EXPECT_EQ(converterLog.units, (std::vector<uint16_t>{'C', 'a', 'f', 0xE9}));
    EXPECT_EQ(converterLog.outSize, 3 * 4 + 1);
    EXPECT_EQ(Bytes(text), "Caf\xE9");  // Windows-1252 on both builds
}

TEST_F(DisplayText, UnmappableCharacterBecomesTheDefaultCharacter) {
    const MultiByteText text =
        ToDisplayText(Range("a\xE4\xB8\xAD"
                            "b"));  // a U+4E2D b
    EXPECT_EQ(Bytes(text), "a?b");
    EXPECT_EQ(*text.last(), '\0');
}

TEST_F(DisplayText, MalformedTextFailsBeforeThePlatformCall) {
    EXPECT_THROW(Utf8ToMultiByte(kAnsiCodePage,
                                 Range("\xC3"
                                       "A"),
                                 RecordingConverter),
                 InvalidTextEncoding);
    EXPECT_THROW(Utf8ToMultiByte(kAnsiCodePage, Range("ok\xED\xA0\x80"), RecordingConverter),
                 InvalidTextEncoding);
    EXPECT_EQ(converterLog.calls, 0);
}

TEST_F(DisplayText, EmptyTextIsAnEmptyStringWithoutAPlatformCall) {
    const MultiByteText text = Utf8ToMultiByte(kAnsiCodePage, Range(""), RecordingConverter);
    EXPECT_EQ(converterLog.calls, 0);
    EXPECT_EQ(text.size(), 0u);
    EXPECT_STREQ(text.c_str(), "");
    EXPECT_EQ(ToDisplayText(TextRange()).size(), 0u);
}

TEST_F(DisplayText, ReadsOnlyTheRange) {
    const char bytes[] = "Remind Again";
    const MultiByteText text = ToDisplayText(TextRange(bytes, bytes + 6, false));
    EXPECT_EQ(Bytes(text), "Remind");
    EXPECT_EQ(*text.last(), '\0');
}

TEST_F(DisplayText, LengthIsWhatThePlatformWrote) {
    converterLog.answer = 2;
    const uint16_t units[] = {'a', 'b', 'c'};
    const MultiByteText text = WideToMultiByte(kAnsiCodePage, units, units + 3, ScriptedConverter);
    EXPECT_EQ(text.size(), 2u);
    EXPECT_EQ(Bytes(text), "xx");
    EXPECT_EQ(*text.last(), '\0');
    converterLog.answer = 1;  // the least the platform may write
    EXPECT_EQ(Bytes(WideToMultiByte(kAnsiCodePage, units, units + 3, ScriptedConverter)), "x");
    converterLog.answer = 3 * 3;  // the most: one byte stays for the terminator
    EXPECT_EQ(WideToMultiByte(kAnsiCodePage, units, units + 3, ScriptedConverter).size(), 9u);
}

TEST_F(DisplayText, PlatformFailureIsAConvertError) {
    converterLog.answer = 0;
    const uint16_t units[] = {'a'};
    EXPECT_THROW(WideToMultiByte(kAnsiCodePage, units, units + 1, ScriptedConverter),
                 WideToMultiByteConvertError);
}

TEST_F(DisplayText, FullBufferLeavesNoRoomForTheTerminator) {
    converterLog.answer = 3 * 2 + 1;
    const uint16_t units[] = {'a', 'b'};
    EXPECT_THROW(WideToMultiByte(kAnsiCodePage, units, units + 2, ScriptedConverter), DataOverflow);
}

TEST_F(DisplayText, MovesOwnership) {
    MultiByteText text = ToDisplayText(Range("OK"));
    const char* buffer = text.first();
    MultiByteText moved(std::move(text));
    EXPECT_EQ(moved.first(), buffer);
    EXPECT_EQ(text.size(), 0u);
    EXPECT_STREQ(text.c_str(), "");
    MultiByteText assigned;
    assigned = std::move(moved);
    EXPECT_EQ(Bytes(assigned), "OK");
}

}  // namespace
