// The rewrite of the report's finished archive under archives that are not what the library
// writes: a name longer than a path, a header that claims gigabytes, a name with a NUL in it.
// Each is either copied whole or refused in the report's words; none is read past its end or
// believed into memory.
#include "reports/ZipRewrite.h"
#include "IoFixture.h"
#include "reports/Workbook.h"

#include <gmock/gmock.h>

#include <cstdint>
#include <optional>

using namespace halvern;
using namespace halvern::test;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

struct TStoredEntry {
    std::string Name;
    std::string Content;
    std::optional<uint32_t> ClaimedSize = std::nullopt; // what the headers say, where it is not the truth
};

void Put16(std::string& out, uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}
void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

uint32_t Crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A zip archive of uncompressed entries, written by hand so that its headers can lie.
std::string StoredZip(const std::vector<TStoredEntry>& entries) {
    std::string archive, directory;
    for (const TStoredEntry& e : entries) {
        const uint32_t size = e.ClaimedSize.value_or(static_cast<uint32_t>(e.Content.size()));
        const uint32_t crc = Crc32(e.Content);
        const auto offset = static_cast<uint32_t>(archive.size());
        Put32(archive, 0x04034b50);
        for (const uint32_t v : {20u, 0u, 0u, 0u, 0x21u}) // version, flags, stored, time, date
            Put16(archive, v);
        Put32(archive, crc);
        Put32(archive, size);
        Put32(archive, size);
        Put16(archive, static_cast<uint32_t>(e.Name.size()));
        Put16(archive, 0);
        archive += e.Name + e.Content;

        Put32(directory, 0x02014b50);
        for (const uint32_t v : {20u, 20u, 0u, 0u, 0u, 0x21u})
            Put16(directory, v);
        Put32(directory, crc);
        Put32(directory, size);
        Put32(directory, size);
        for (const uint32_t v : {static_cast<uint32_t>(e.Name.size()), 0u, 0u, 0u, 0u})
            Put16(directory, v);
        Put32(directory, 0);
        Put32(directory, offset);
        directory += e.Name;
    }
    const auto directoryAt = static_cast<uint32_t>(archive.size());
    archive += directory;
    Put32(archive, 0x06054b50);
    Put16(archive, 0);
    Put16(archive, 0);
    Put16(archive, static_cast<uint32_t>(entries.size()));
    Put16(archive, static_cast<uint32_t>(entries.size()));
    Put32(archive, static_cast<uint32_t>(directory.size()));
    Put32(archive, directoryAt);
    Put16(archive, 0);
    return archive;
}

// The list of content types gets new content; every other entry is copied as it is stored.
TZipRewrite NewContentTypes() {
    TZipRewrite rewrite;
    rewrite.Wants = [](const std::string& name) { return name == "[Content_Types].xml"; };
    rewrite.Rewrite = [](const std::string&, const std::string& content) { return content + "<!-- new -->"; };
    return rewrite;
}

} // namespace

TEST(ZipRewrite, ANameLongerThanAnyPathIsCopiedWhole) {
    TScratchDir dir;
    const std::string longName = "xl/" + std::string(1500, 'a') + ".xml";
    WriteBytes(dir.File("in.xlsx"), StoredZip({{"[Content_Types].xml", "<Types/>"}, {longName, "kept"}}));
    RewriteZip(dir.File("in.xlsx"), dir.File("out.xlsx"), NewContentTypes());
    EXPECT_THAT(ZipEntryNames(dir.File("out.xlsx")), ElementsAre("[Content_Types].xml", longName));
    EXPECT_EQ(ReadZipEntry(dir.File("out.xlsx"), longName), "kept");
    EXPECT_EQ(ReadZipEntry(dir.File("out.xlsx"), "[Content_Types].xml"), "<Types/><!-- new -->");
}

TEST(ZipRewrite, AnArchiveThatLiesAboutAnEntryIsRefusedInTheReportsWords) {
    const std::pair<std::vector<TStoredEntry>, std::string> cases[] = {
        // Four gigabytes claimed for an entry rewritten, and for one copied.
        {{{"[Content_Types].xml", "<Types/>", 0xF0000000u}}, "an entry is too large"},
        {{{"[Content_Types].xml", "<Types/>"}, {"xl/styles.xml", "<styles/>", 0xF0000000u}},
         "an entry is too large"},
        // More claimed than is there, within what a file may be.
        {{{"xl/styles.xml", "<styles/>", 1000u}}, "an entry cannot be read"},
        // A name the new archive could only store cut short.
        {{{std::string("xl/a\0b.xml", 10), "x"}}, "NUL"},
    };
    for (const auto& [entries, reason] : cases) {
        SCOPED_TRACE(reason);
        TScratchDir dir;
        WriteBytes(dir.File("in.xlsx"), StoredZip(entries));
        try {
            RewriteZip(dir.File("in.xlsx"), dir.File("out.xlsx"), NewContentTypes());
            ADD_FAILURE() << "the archive was rewritten";
        } catch (const EReportError& e) {
            EXPECT_THAT(e.what(), HasSubstr("The workbook could not be completed: "));
            EXPECT_THAT(e.what(), HasSubstr(reason));
        }
    }
    TScratchDir dir;
    WriteBytes(dir.File("big.xlsx"), StoredZip({{"xl/styles.xml", "<styles/>", 0xF0000000u}}));
    EXPECT_THROW(ReadZipEntry(dir.File("big.xlsx"), "xl/styles.xml"), EReportError);
}
