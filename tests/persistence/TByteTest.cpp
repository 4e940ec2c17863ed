#include <gtest/gtest.h>

#include "persistence/TByte.h"
#include "persistence/TFile.h"

using vesko::TBit;
using vesko::TByte;
using vesko::TFile;

TEST(TByteTest, TextFormsOfAByte) {
    const TByte b = TByte::Create(200);
    EXPECT_EQ(b.getHex(), "C8");
    EXPECT_EQ(b.getBinary(), "11001000");
    EXPECT_EQ(TByte::fromHex("C8").GetValue(), 200);
    EXPECT_EQ(TByte::fromBinary("11001000").GetValue(), 200);
    EXPECT_EQ(TByte::Create(5).getHex(), "05");
    EXPECT_EQ(TByte::Create(255).getBinary(), "11111111");
}

TEST(TByteTest, SetValueWrapsAndClearsNegativeRemainders) {
    TByte b;
    b.SetValue(300);
    EXPECT_EQ(b.GetValue(), 44);
    b.SetValue(-3);
    EXPECT_EQ(b.GetValue(), 0);
    b.SetValue(-256);
    EXPECT_EQ(b.GetValue(), 0);
    b.SetValue(256);
    EXPECT_EQ(b.GetValue(), 0);
}

TEST(TByteTest, SetHexPadsAndIgnoresUnknownCharacters) {
    EXPECT_EQ(TByte::fromHex("7").GetValue(), 7);
    EXPECT_EQ(TByte::fromHex("").GetValue(), 0);
    EXPECT_EQ(TByte::fromHex("FF00").GetValue(), 255);
    // Only upper-case digits count; anything else is a zero nibble.
    EXPECT_EQ(TByte::fromHex("c8").GetValue(), 8);
    EXPECT_EQ(TByte::fromHex("AZ").GetValue(), 0xA0);
}

TEST(TByteTest, SetBinaryPadsTruncatesAndReadsDigitsAsNumbers) {
    EXPECT_EQ(TByte::fromBinary("101").GetValue(), 5);
    EXPECT_EQ(TByte::fromBinary("1111111100").GetValue(), 255);  // the first eight characters
    EXPECT_EQ(TByte::fromBinary("00000029").GetValue(), 3);      // any non-zero digit sets its bit
    EXPECT_EQ(TByte::fromBinary("0000000x").GetValue(), 0);
}

TEST(TByteTest, BitsByIndexModuloEight) {
    TByte b = TByte::Create(0);
    b.SetBit(7, TBit::Create(1));
    EXPECT_EQ(b.GetValue(), 128);
    b.SetBit(9, TBit::Create(5));  // index 1, any non-zero value is 1
    EXPECT_EQ(b.GetValue(), 130);
    EXPECT_EQ(b.getBit(-1).GetValue(), 1);  // -1 wraps to bit 7
    b.SetBit(7, TBit::Create(0));
    EXPECT_EQ(b.GetValue(), 2);
    TByte copy = b.clone();
    copy.SetValue(9);
    EXPECT_EQ(b.GetValue(), 2);
}

TEST(TFileTest, EmptySlotsUntilFilled) {
    auto f = TFile::Create("unused");
    f->setSize(3);
    EXPECT_EQ(f->getSize(), 3);
    EXPECT_FALSE(f->GetByte(1).has_value());
    EXPECT_FALSE(f->isComplete());
    for (int i = 0; i < 3; ++i) EXPECT_EQ(f->SetByte(TByte::Create(i + 10), i), 1);
    EXPECT_TRUE(f->isComplete());
    EXPECT_EQ(f->GetByte(2)->GetValue(), 12);
    EXPECT_EQ(f->SetByte(TByte::Create(1), 3), 0);
    EXPECT_FALSE(f->GetByte(-1).has_value());
}

TEST(TFileTest, InsertRemoveAndSearch) {
    auto f = TFile::Create("unused");
    f->addByteAtLast(TByte::Create(2));
    f->addByteAtFirst(TByte::Create(1));
    EXPECT_EQ(f->addByteAtPos(TByte::Create(9), 1), 1);
    EXPECT_EQ(f->addByteAtPos(TByte::Create(9), 5), 0);
    EXPECT_EQ(f->getByteArray(), (std::vector<uint8_t>{1, 9, 2}));
    EXPECT_EQ(f->findByte(TByte::Create(2)), 2);
    EXPECT_EQ(f->containsByte(TByte::Create(7)), 0);
    EXPECT_EQ(f->removeByte(1), 1);
    EXPECT_EQ(f->removeByte(2), 0);
    EXPECT_EQ(f->getByteArray(), (std::vector<uint8_t>{1, 2}));

    // Empty slots keep their place when bytes are inserted or removed around them.
    f->setSize(2);
    f->SetByte(TByte::Create(4), 1);
    f->addByteAtFirst(TByte::Create(3));
    EXPECT_TRUE(f->GetByte(0).has_value());
    EXPECT_FALSE(f->GetByte(1).has_value());
    EXPECT_EQ(f->findByte(TByte::Create(0)), -1);  // the empty slot holds no value
    f->removeByte(1);
    EXPECT_TRUE(f->isComplete());

    const std::vector<TByte> list = f->toArrayList();
    ASSERT_EQ(list.size(), 2u);
    auto g = TFile::Create("unused");
    g->fromArrayList(list);
    EXPECT_EQ(g->getByteArray(), (std::vector<uint8_t>{3, 4}));
}
