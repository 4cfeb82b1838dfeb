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
