#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "persistence/TDataFile.h"
#include "tests/support/TempDir.h"

using vesko::TDataFile;
using vesko::TFileHeader;

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> out;
    for (int v : values) out.push_back(static_cast<uint8_t>(v));
    return out;
}

void AppendString(std::vector<uint8_t>& out, const std::string& s) {
    const auto n = static_cast<uint32_t>(s.size());
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(n >> shift));
    out.insert(out.end(), s.begin(), s.end());
}

// A data file in memory holding the given bytes, ready for ReadIn.
std::shared_ptr<TDataFile> FromBytes(const std::vector<uint8_t>& bytes) {
    auto d = TDataFile::Create("memory.dat");
    d->File->setByteArray(bytes);
    return d;
}

std::shared_ptr<TDataFile> SampleFile() {
    auto d = TDataFile::Create("sample.dat");
    d->addHeader("main");
    d->addFlag("width", "64");
    d->addFlag("camx", "-12.5000000");
    d->addHeader("ground");
    d->addHeader("road");
    d->addFlag("count", "2");
    d->addHeader("Straße");
    d->addFlag("näme", "größe ß");
    d->addFlag("", "");
    return d;
}

}  // namespace

TEST(TDataFileWrite, EmptyFileIsFourZeroBytes) {
    auto d = TDataFile::Create("x.dat");
    EXPECT_EQ(d->_getbytesize(), 4);
    ASSERT_EQ(d->WriteOut(), 1);
    EXPECT_EQ(d->File->getByteArray(), Bytes({0, 0, 0, 0}));
}

// Section "main" with flag "width" = "64": eight counts of four bytes and eleven characters.
TEST(TDataFileWrite, OneSectionOneFlagLayout) {
    auto d = TDataFile::Create("x.dat");
    d->addHeader("main");
    d->addFlag("width", "64");
    EXPECT_EQ(d->_getbytesize(), 31);
    ASSERT_EQ(d->WriteOut(), 1);
    EXPECT_EQ(d->File->getByteArray(), Bytes({0, 0, 0, 1, 0,   0,   0,   4,   'm', 'a', 'i', 'n', 0, 0,   0,  1,
                                              0, 0, 0, 5, 'w', 'i', 'd', 't', 'h', 0,   0,   0,   2, '6', '4'}));
}

TEST(TDataFileWrite, CountsAreBigEndianAndSizeIsPredicted) {
    auto d = TDataFile::Create("x.dat");
    d->addHeader(std::string(300, 'a'));
    for (int i = 0; i < 258; ++i) d->addFlag("f", std::to_string(i));
    ASSERT_EQ(d->WriteOut(), 1);
    const auto bytes = d->File->getByteArray();
    EXPECT_EQ(static_cast<int64_t>(bytes.size()), d->_getbytesize());
    EXPECT_TRUE(d->File->isComplete());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 4, bytes.begin() + 8), Bytes({0, 0, 1, 44}));
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 308, bytes.begin() + 312), Bytes({0, 0, 1, 2}));
}

TEST(TDataFileWrite, CharactersAreOneByteEach) {
    auto d = TDataFile::Create("x.dat");
    d->addHeader("ä");         // U+00E4: one byte 0xE4
    d->addFlag("\u20AC", "");  // U+20AC keeps only its low 8 bits: 0xAC
    ASSERT_EQ(d->WriteOut(), 1);
    EXPECT_EQ(d->File->getByteArray(), Bytes({0, 0, 0, 1, 0, 0, 0, 1, 0xE4, 0, 0, 0, 1, 0, 0, 0, 1, 0xAC, 0, 0, 0, 0}));
    ASSERT_EQ(d->ReadIn(), 1);
    EXPECT_EQ(d->getHeader(0)->GetName(), "ä");
    EXPECT_EQ(d->getHeader(0)->getFlag(0)->getName(), "\u00AC");  // a different character comes back
}

TEST(TDataFileRead, ReadsTheOneSectionExample) {
    auto d = FromBytes(Bytes(
        {0, 0, 0, 1,   0,   0,   0,   4,   'm', 'a', 'i', 'n', 0,   0,   0,    1,   0,
         0, 0, 5, 'w', 'i', 'd', 't', 'h', 0,   0,   0,   2,   '6', '4', 0xDE, 0xAD}));  // trailing bytes are ignored
    ASSERT_EQ(d->ReadIn(), 1);
    ASSERT_EQ(d->countHeaders(), 1);
    ASSERT_TRUE(d->findHeader("main", 1));
    ASSERT_TRUE(d->findFlag("width", 1));
    EXPECT_EQ(d->getFlagValueInt(0), 64);
}

TEST(TDataFileRead, RoundTripThroughDiskKeepsEverything) {
    TempDir dir;
    auto d = SampleFile();
    d->setFilename(dir.File("world.dat"));
    ASSERT_EQ(d->WriteOut(), 1);
    ASSERT_EQ(d->Save(), 1);

    auto back = TDataFile::Load(dir.File("world.dat"));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->ReadIn(), 1);
    ASSERT_EQ(back->countHeaders(), d->countHeaders());
    for (int32_t i = 0; i < d->countHeaders(); ++i) {
        auto a = d->getHeader(i);
        auto b = back->getHeader(i);
        EXPECT_EQ(a->GetName(), b->GetName());
        ASSERT_EQ(a->countFlags(), b->countFlags());
        for (int32_t k = 0; k < a->countFlags(); ++k) {
            EXPECT_EQ(a->getFlag(k)->getName(), b->getFlag(k)->getName());
            EXPECT_EQ(a->getFlag(k)->getValue(), b->getFlag(k)->getValue());
        }
    }
    // Writing what was read gives the same bytes again.
    ASSERT_EQ(back->WriteOut(), 1);
    EXPECT_EQ(back->File->getByteArray(), d->File->getByteArray());
}

TEST(TDataFileRead, MissingFileLoadsAsNone) {
    TempDir dir;
    EXPECT_FALSE(TDataFile::Load(dir.File("absent.dat")));
}

TEST(TDataFileRead, FailedSaveLeavesTheOldFile) {
    TempDir dir;
    auto d = SampleFile();
    d->setFilename(dir.File("no-such-folder/world.dat"));
    ASSERT_EQ(d->WriteOut(), 1);
    EXPECT_EQ(d->Save(), 0);
}

TEST(TDataFileLookup, LastOfANameWinsAndMapsFollowChanges) {
    auto d = TDataFile::Create("x.dat");
    auto first = d->addHeader("road");
    d->addFlag("n", "1");
    d->addFlag("n", "2");
    auto second = d->addHeader("road");
    ASSERT_EQ(d->findHeader("road", 0), second);
    d->remHeader(second);
    EXPECT_EQ(d->findHeader("road", 0), first);  // the map is rebuilt after the removal
    EXPECT_EQ(d->getCurrentHeader(), nullptr);   // the removed section is no longer selected
    EXPECT_EQ(d->addFlag("x", "y"), nullptr);

    d->findHeader("road", 1);
    EXPECT_EQ(d->findFlag("n", 1)->getValue(), "2");
    first->getFlag(1)->setName("m");
    EXPECT_EQ(d->findFlag("n", 0)->getValue(), "1");
    first->setName("street");
    EXPECT_EQ(d->findHeader("road", 0), nullptr);
    EXPECT_EQ(d->findHeader("street", 0), first);

    // Both sections of the same name survive writing and reading.
    d->addHeader("street");
    ASSERT_EQ(d->WriteOut(), 1);
    ASSERT_EQ(d->ReadIn(), 1);
    EXPECT_EQ(d->countHeaders(), 2);
    EXPECT_EQ(d->findHeader("street", 0), d->getHeader(1));
    EXPECT_EQ(d->getHeader(2), nullptr);
    EXPECT_EQ(d->getHeader(-1), nullptr);
}

TEST(TDataFileLookup, SectionAndFlagObjectsRegisterThemselves) {
    auto d = TDataFile::Create("x.dat");
    auto h = TFileHeader::Create("main", d, 1);
    EXPECT_EQ(d->getCurrentHeader(), h);
    auto loose = TFileHeader::Create("loose", d, 0);
    EXPECT_EQ(d->countHeaders(), 1);
    auto f = vesko::TFileFlag::Create("a", "1", h, 1);
    vesko::TFileFlag::Create("b", "2", h, 0);
    EXPECT_EQ(h->countFlags(), 1);
    d->selectFlag(f);
    h->remFlag(f);
    EXPECT_EQ(h->countFlags(), 0);
    EXPECT_EQ(d->getCurrentFlag(), nullptr);
    EXPECT_EQ(h->findFlag("a"), nullptr);
    EXPECT_EQ(d->findFlag("a", 1), nullptr);
}

TEST(TDataFileFlags, TypedGettersConvertValueOrDefault) {
    auto d = TDataFile::Create("x.dat");
    EXPECT_EQ(d->getFlagValue("none"), "none");
    EXPECT_EQ(d->getFlagValueInt(-7), -7);
    EXPECT_FLOAT_EQ(d->getFlagValueFloat(0.15f), 0.15f);
    EXPECT_DOUBLE_EQ(d->getFlagValueDouble(0.1), 0.1);
    EXPECT_EQ(d->getFlagValueByte(200), 200);

    d->addHeader("main");
    const auto value = [&](const std::string& text) {
        d->selectFlag(d->addFlag("v", text));
        return d;
    };
    EXPECT_EQ(value("64")->getFlagValueInt(0), 64);
    EXPECT_EQ(value("-12")->getFlagValueInt(0), -12);
    EXPECT_EQ(value("30.7")->getFlagValueInt(0), 30);
    EXPECT_EQ(value("$1E0")->getFlagValueInt(0), 480);
    EXPECT_EQ(value("%101")->getFlagValueInt(0), 5);
    EXPECT_EQ(value("")->getFlagValueInt(9), 0);
    EXPECT_EQ(value("abc")->getFlagValueInt(9), 0);
    EXPECT_EQ(value("300")->getFlagValueByte(0), 44);
    EXPECT_EQ(value("-1")->getFlagValueByte(0), 255);
    EXPECT_FLOAT_EQ(value("-12.5000000")->getFlagValueFloat(0), -12.5f);
    EXPECT_FLOAT_EQ(value("junk")->getFlagValueFloat(3), 0.0f);
    EXPECT_DOUBLE_EQ(value("0.10000000000000001")->getFlagValueDouble(0), 0.1);
    EXPECT_EQ(value("text")->getFlagValue("d"), "text");
}

// The sections the world writes when it saves a map with three road tiles.
TEST(TDataFileFlags, SavedWorldLayoutKeepsSectionOrder) {
    TempDir dir;
    auto d = TDataFile::Create(dir.File("map.dat"));
    d->addHeader("main");
    for (const char* key : {"width", "height", "camx", "camy", "scalex", "scaley"}) d->addFlag(key, "1");
    d->addHeader("ground");
    d->addHeader("road");
    d->addFlag("count", "3");
    for (int i = 0; i < 3; ++i) d->addHeader("road" + std::to_string(i));
    d->addHeader("buildung");
    ASSERT_EQ(d->WriteOut(), 1);
    ASSERT_EQ(d->Save(), 1);
    auto back = TDataFile::Load(dir.File("map.dat"));
    ASSERT_TRUE(back && back->ReadIn());
    std::vector<std::string> names;
    for (int32_t i = 0; i < back->countHeaders(); ++i) names.push_back(back->getHeader(i)->GetName());
    EXPECT_EQ(names, (std::vector<std::string>{"main", "ground", "road", "road0", "road1", "road2", "buildung"}));
}

TEST(TDataFileBadInput, EveryTruncationIsRefused) {
    auto d = SampleFile();
    ASSERT_EQ(d->WriteOut(), 1);
    const auto full = d->File->getByteArray();
    for (size_t len = 0; len < full.size(); ++len) {
        auto cut = FromBytes(std::vector<uint8_t>(full.begin(), full.begin() + static_cast<long>(len)));
        EXPECT_EQ(cut->ReadIn(), 0) << "length " << len;
        EXPECT_LT(cut->countHeaders(), d->countHeaders());
    }
    EXPECT_EQ(FromBytes(full)->ReadIn(), 1);
}

TEST(TDataFileBadInput, SectionsBeforeTheFaultStay) {
    std::vector<uint8_t> bytes = Bytes({0, 0, 0, 3});
    AppendString(bytes, "one");
    bytes.insert(bytes.end(), {0, 0, 0, 0});
    AppendString(bytes, "two");
    bytes.insert(bytes.end(), {0, 0, 0, 1});  // one flag whose name is longer than the rest of the file
    bytes.insert(bytes.end(), {0, 0, 0, 90});
    bytes.insert(bytes.end(), 20, 'x');
    auto d = FromBytes(bytes);
    EXPECT_EQ(d->ReadIn(), 0);
    ASSERT_EQ(d->countHeaders(), 1);
    EXPECT_EQ(d->findHeader("one", 0), d->getHeader(0));
}

TEST(TDataFileBadInput, HugeCountsAndLengthsAreRefused) {
    // Header count 2^31 and 2^32 - 1.
    EXPECT_EQ(FromBytes(Bytes({0x80, 0, 0, 0}))->ReadIn(), 0);
    EXPECT_EQ(FromBytes(Bytes({0xFF, 0xFF, 0xFF, 0xFF}))->ReadIn(), 0);
    // A header count beyond what the bytes present can hold.
    std::vector<uint8_t> many = Bytes({0x7F, 0xFF, 0xFF, 0xFF});
    many.insert(many.end(), 64, 0);
    EXPECT_EQ(FromBytes(many)->ReadIn(), 0);
    // A section name of length 2^31, and one just larger than the rest of the file.
    EXPECT_EQ(FromBytes(Bytes({0, 0, 0, 1, 0x80, 0, 0, 0, 'a', 'b'}))->ReadIn(), 0);
    EXPECT_EQ(FromBytes(Bytes({0, 0, 0, 1, 0, 0, 0, 7, 'a', 'b', 0, 0, 0, 0}))->ReadIn(), 0);
    // A flag count of 2^31 - 1 and a flag value of length 2^31.
    std::vector<uint8_t> flags = Bytes({0, 0, 0, 1});
    AppendString(flags, "s");
    flags.insert(flags.end(), {0x7F, 0xFF, 0xFF, 0xFF});
    AppendString(flags, "name");
    EXPECT_EQ(FromBytes(flags)->ReadIn(), 0);
    std::vector<uint8_t> value = Bytes({0, 0, 0, 1});
    AppendString(value, "s");
    value.insert(value.end(), {0, 0, 0, 1});
    AppendString(value, "name");
    value.insert(value.end(), {0x80, 0, 0, 0, 'x'});
    EXPECT_EQ(FromBytes(value)->ReadIn(), 0);
}

TEST(TDataFileBadInput, EmptyAndJunkFilesAreRefusedWithoutCrash) {
    TempDir dir;
    { std::ofstream(dir.File("empty.dat"), std::ios::binary); }
    auto empty = TDataFile::Load(dir.File("empty.dat"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->ReadIn(), 0);

    std::mt19937 rng(1234);
    int accepted = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> junk(rng() % 200);
        for (auto& b : junk) b = static_cast<uint8_t>(rng());
        auto d = FromBytes(junk);
        const int32_t result = d->ReadIn();
        accepted += result;
        if (result) {
            // Whatever is accepted must write back to the bytes it was read from (minus trailing bytes).
            ASSERT_EQ(d->WriteOut(), 1);
            const auto again = d->File->getByteArray();
            ASSERT_LE(again.size(), junk.size());
            EXPECT_TRUE(std::equal(again.begin(), again.end(), junk.begin()));
        }
    }
    EXPECT_LT(accepted, 300);
}

TEST(TDataFileBadInput, ReadingStopsAtEmptySlotsAndWithoutAFile) {
    auto d = TDataFile::Create("x.dat");
    d->File->setSize(8);
    EXPECT_EQ(d->_ReadByte(), -1);
    EXPECT_EQ(d->ReadIn(), 0);
    d->File = nullptr;
    EXPECT_EQ(d->ReadIn(), 0);
    EXPECT_EQ(d->WriteOut(), 0);
    EXPECT_EQ(d->Save(), 0);
}

TEST(TDataFileBytes, BigShortAndByteCursor) {
    auto d = TDataFile::Create("x.dat");
    d->_writeBigShort(0x01020304);
    d->_writeBigShort(-5);  // negative values write zeros
    d->_WriteByte(511);
    EXPECT_EQ(d->File->getByteArray(), Bytes({1, 2, 3, 4, 0, 0, 0, 0, 255}));
    d->_seekFile(0);
    EXPECT_EQ(d->_readBigShort(), 0x01020304);
    EXPECT_EQ(d->_readBigShort(), 0);
    EXPECT_EQ(d->_ReadByte(), 255);
    EXPECT_EQ(d->_endOfFile(), 1);
    EXPECT_EQ(d->_ReadByte(), -1);
    d->_seekFile(6);
    EXPECT_EQ(d->_readBigShort(), -1);  // only three bytes left
    int32_t error = 0;
    d->_seekFile(0);
    EXPECT_EQ(d->_readOnlyString(10, error), "");
    EXPECT_EQ(error, 1);
}
