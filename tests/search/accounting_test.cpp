#include "cluster_accounting.h"
#include "runtime_error.h"

#include <gtest/gtest.h>

using namespace dorvelix;

namespace {
FormState lengths(std::int32_t cluster, std::int32_t convert)
{
    FormState f;
    f.clusterLength = cluster;
    f.convertLength = convert;
    return f;
}
int bookError(FormState& f, long long length)
{
    try {
        bookFileLength(f, length);
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}
}  // namespace

TEST(BookFileLength, BooksWholeClustersAtBothLengths)
{
    struct Case {
        long long length;
        int clusters;
        int converted;
    };
    // 4096-byte clusters, converted at 32,768.
    for (const Case c : {Case{10000, 3, 1}, {4096, 1, 1}, {4097, 2, 1}, {1, 1, 1}, {0, 0, 0}, {-5, 0, 0},
                         {32768, 8, 1}, {32769, 9, 2}, {3LL << 30, 786432, 98304}}) {
        FormState f = lengths(4096, 32768);
        bookFileLength(f, c.length);
        EXPECT_EQ(f.treeClusterCount, c.clusters) << c.length;
        EXPECT_EQ(f.treeConvertClusterCount, c.converted) << c.length;
    }
}

TEST(BookFileLength, OverflowKeepsTheTotalAndEarlierAdditionsStand)
{
    FormState f = lengths(4096, 128);
    f.treeClusterCount = 10;
    f.treeConvertClusterCount = 2147483600;
    EXPECT_EQ(bookError(f, 8192), err::Overflow);
    EXPECT_EQ(f.treeClusterCount, 12);  // booked before the converted total overflowed
    EXPECT_EQ(f.treeConvertClusterCount, 2147483600);

    // The remainder's extra cluster overflows on its own.
    FormState g = lengths(4096, 4096);
    g.treeClusterCount = 2147483647 - 1;
    EXPECT_EQ(bookError(g, 4097), err::Overflow);
    EXPECT_EQ(g.treeClusterCount, 2147483647);
    EXPECT_EQ(g.treeConvertClusterCount, 0);
}

TEST(BookFileLength, ZeroClusterLengthIsDivisionByZero)
{
    FormState f = lengths(0, 4096);
    EXPECT_EQ(bookError(f, 100), err::DivisionByZero);
    EXPECT_EQ(f.treeConvertClusterCount, 0);
    FormState g = lengths(4096, 0);
    EXPECT_EQ(bookError(g, 100), err::DivisionByZero);
    EXPECT_EQ(g.treeClusterCount, 1);
    FormState h = lengths(0, 0);
    EXPECT_EQ(bookError(h, 0), 0);  // an empty file divides nothing
}

// A folder's table: "." and "..", one entry per subfolder and per file, a
// second for a name that needs a long-name entry; the clusters beyond its
// first by the entries a cluster holds. The window's search tells a length
// that holds none as error 11; a 64-bit count takes it to hold one.
TEST(TableRule, EntriesPerClusterAndTheOneClamp)
{
    EXPECT_EQ(fileEntries("short.txt"), 1);
    EXPECT_EQ(fileEntries("longer_than_twelve.txt"), 2);
    EXPECT_EQ(fileEntries("ファイル名ファイル名ファイル名"), 2);  // 15 characters
    EXPECT_EQ(fileEntries("ファイル名.txt"), 1);  // 9 characters in 19 bytes

    EXPECT_EQ(entriesPerCluster(512), 16);
    EXPECT_EQ(entriesPerCluster(32768), 1024);
    EXPECT_EQ(entriesPerCluster(31), 0);
    EXPECT_EQ(tableClustersBeyondFirst(300, 128), 2);
    try {
        tableClustersBeyondFirst(3, entriesPerCluster(16));
        ADD_FAILURE() << "no error for a cluster shorter than an entry";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::DivisionByZero);
    }

    const TwoLengths both(16, 4096);
    EXPECT_EQ(both.tableBeyondFirst(300).atDrive, 300);
    EXPECT_EQ(both.tableBeyondFirst(300).atConvert, 2);
    EXPECT_EQ(both.file(4097).atDrive, 257);
    EXPECT_EQ(both.file(4097).atConvert, 2);
    EXPECT_EQ(both.file(0).atDrive, 0);
}
