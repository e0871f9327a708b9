#include "format/translation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "format/format_override.h"
#include "io/file_errors.h"
#include "support/scoped_temp_dir.h"

namespace {

std::unique_ptr<TranslationTable> TableOf(const std::string& content) {
    std::unique_ptr<char[]> bytes(new char[content.size()]);
    if (!content.empty()) std::memcpy(bytes.get(), content.data(), content.size());
    return std::unique_ptr<TranslationTable>(
        new TranslationTable(std::move(bytes), content.size()));
}

TextRange Text(const std::string& text) {
    return TextRange(text.data(), text.data() + text.size(), false);
}

// The replacement for `key`, or "<none>" when the table has no entry for it.
std::string Translate(const TranslationTable& table, const std::string& key) {
    try {
        const TextRange value = table.LookupOverride(Text(key));
        return std::string(value.first, value.last);
    } catch (const FormatOverrideNotFound&) {
        return "<none>";
    }
}

TEST(TranslationTable, CrAndLfEachEndALine) {
    const auto table = TableOf("Cancel\tAbbrechen\r\nOK\tJa\rYes\tJa\nNo\tNein");
    EXPECT_EQ(table->entries().size(), 4u);
    EXPECT_EQ(Translate(*table, "Cancel"), "Abbrechen");
    EXPECT_EQ(Translate(*table, "OK"), "Ja");
    EXPECT_EQ(Translate(*table, "Yes"), "Ja");
    EXPECT_EQ(Translate(*table, "No"), "Nein");  // the last line needs no terminator
    EXPECT_EQ(Translate(*table, "cancel"), "<none>");
}

TEST(TranslationTable, KeyEndsAtTheFirstTabAndValueStartsAfterTheLast) {
    const auto table = TableOf("Remind\tnote for translators\tErinnern\nA\tb\tc\td\n");
    EXPECT_EQ(Translate(*table, "Remind"), "Erinnern");
    EXPECT_EQ(Translate(*table, "A"), "d");
    EXPECT_EQ(table->entries().size(), 2u);
}

TEST(TranslationTable, LinesWithoutAKeyAreIgnored) {
    const auto table = TableOf("\tstarts with a tab\tX\n# a comment without a tab\n\n\r\n\t\n");
    EXPECT_TRUE(table->entries().empty());
    EXPECT_EQ(Translate(*table, ""), "<none>");
}

TEST(TranslationTable, NothingIsTrimmedOrUnescaped) {
    const auto table = TableOf("Empty\t\nCancel \tX\n Spaced \t V \\n\n");
    EXPECT_EQ(Translate(*table, "Empty"), "");
    EXPECT_EQ(Translate(*table, "Cancel"), "<none>");
    EXPECT_EQ(Translate(*table, "Cancel "), "X");
    EXPECT_EQ(Translate(*table, " Spaced "), " V \\n");
}

TEST(TranslationTable, ByteOrderMarkBelongsToTheFirstKey) {
    const auto table = TableOf(
        "\xEF\xBB\xBF"
        "Cancel\tA\r\nCancel\tB\r\n");
    EXPECT_EQ(Translate(*table, "Cancel"), "B");
    EXPECT_EQ(Translate(*table,
                        "\xEF\xBB\xBF"
                        "Cancel"),
              "A");
}

TEST(TranslationTable, DuplicateKeysResolveByByteOrderOfTheValues) {
    for (const char* content : {"Key\tzeta\nKey\talpha\n", "Key\talpha\nKey\tzeta\n"}) {
        const auto table = TableOf(content);
        EXPECT_EQ(table->entries().size(), 2u);
        EXPECT_EQ(Translate(*table, "Key"), "alpha") << content;
    }
}

TEST(TranslationTable, KeysMatchWholeNotByPrefix) {
    const auto table = TableOf("Can\tX\nCancel\tY\nCancelled\tZ\n");
    EXPECT_EQ(Translate(*table, "Can"), "X");
    EXPECT_EQ(Translate(*table, "Cancel"), "Y");
    EXPECT_EQ(Translate(*table, "Cancelled"), "Z");
    EXPECT_EQ(Translate(*table, "Ca"), "<none>");
    EXPECT_EQ(Translate(*table, "Cancels"), "<none>");
    EXPECT_EQ(Translate(*table, "Cancelledx"), "<none>");
}

TEST(TranslationTable, EmptyContentHasNoEntries) {
    const auto table = TableOf("");
    EXPECT_TRUE(table->entries().empty());
    EXPECT_EQ(Translate(*table, "Cancel"), "<none>");
}

TEST(TranslationTable, EntriesAreUnterminatedRangesIntoTheFileBytes) {
    const auto table = TableOf("b\t2\na\t1\n");
    ASSERT_EQ(table->entries().size(), 2u);
    const TranslationEntry& first = table->entries()[0];
    const TranslationEntry& second = table->entries()[1];
    EXPECT_EQ(std::string(first.key.first, first.key.last), "a");  // sorted
    EXPECT_FALSE(first.key.terminated);
    EXPECT_FALSE(first.value.terminated);
    // "a" is on the second line, four bytes after "b".
    EXPECT_EQ(first.key.first - second.key.first, 4);
}

TEST(TranslationTable, RegisteredTableOverridesUntilUnregistered) {
    const auto table = TableOf("Cancel\tAbbrechen\r\n");
    const TextRange english = TextRange::FromCString("Cancel");
    {
        FormatOverrideRegistration registration(*table);
        const TextRange effective = LookupOverride(english, english);
        EXPECT_EQ(std::string(effective.first, effective.last), "Abbrechen");
        const TextRange lower = TextRange::FromCString("cancel");
        EXPECT_EQ(LookupOverride(lower, lower).first, lower.first);
    }
    EXPECT_EQ(LookupOverride(english, english).first, english.first);
}

TEST(ReadTranslationFile, ReadsTheWholeFile) {
    ScopedTempDir dir;
    const std::string content = std::string(5000, 'x') + "\tlong\nCancel\tAnnuler\n";
    const auto table = ReadTranslationFile(dir.Write("fr.txt", content).c_str());
    EXPECT_EQ(Translate(*table, "Cancel"), "Annuler");
    EXPECT_EQ(Translate(*table, std::string(5000, 'x')), "long");
    EXPECT_TRUE(ReadTranslationFile(dir.Write("empty.txt", "").c_str())->entries().empty());
    EXPECT_THROW(ReadTranslationFile(dir.PathOf("missing.txt").c_str()), FileNotFoundError);
}

// The only process-wide load in the tests, and it fails: no table stays registered.
TEST(LoadTranslationTable, LoadsOnlyOnceEvenAfterAFailure) {
    ScopedTempDir dir;
    const std::string path = dir.PathOf("de.txt");
    SetTranslationFilePath(path.c_str());
    EXPECT_EQ(std::string(TranslationFilePath()), path);
    const TextRange english = TextRange::FromCString("Cancel");

    EXPECT_NO_THROW(LoadTranslationTable());  // the file does not exist yet
    EXPECT_EQ(LookupOverride(english, english).first, english.first);

    dir.Write("de.txt", "Cancel\tAbbrechen\n");
    EXPECT_NO_THROW(LoadTranslationTable());  // not tried again
    EXPECT_EQ(LookupOverride(english, english).first, english.first);
}

#ifndef _WIN32  // under Wine each run of the child would start another Wine process
// A load happens once a process and stays, so it is watched in a child that runs this test alone.
TEST(LoadRequestedTranslation, LoadsTheFileAtTheGivenPath) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ScopedTempDir dir;
            LoadRequestedTranslation(dir.Write("de.txt", "Cancel\tAbbrechen\n").c_str());
            const TextRange english = TextRange::FromCString("Cancel");
            const TextRange found = LookupOverride(english, english);
            const bool translated = std::string(found.first, found.last) == "Abbrechen";
            std::filesystem::remove_all(dir.path());  // exit skips the destructor
            std::exit(translated ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
#endif

}  // namespace
