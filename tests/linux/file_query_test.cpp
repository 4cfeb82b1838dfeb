// The file queries behind the file information dialog and the walks: a
// file's length, attributes and date, and the errors of names that do not
// lead to a file.
#include "file_query.h"
#include "runtime_error.h"
#include "temp_tree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace dorvelix;
using dorvelix::testing::TempTree;

TEST(FileQuery, LengthsAttributesAndErrors)
{
    TempTree t;
    const std::string big = t.file("big", 3LL << 30);  // sparse: no disk space used
    const std::string hidden = t.file(".hidden");
    const std::string readOnly = t.file("ro");
    ::chmod(readOnly.c_str(), 0444);
    EXPECT_EQ(fileLength(big), 3LL << 30);
    EXPECT_EQ(fileAttributes(big), attr::Archive);
    EXPECT_EQ(fileAttributes(hidden), attr::Hidden | attr::Archive);
    EXPECT_EQ(fileAttributes(readOnly), attr::ReadOnly | attr::Archive);
    EXPECT_EQ(fileAttributes(t.root()), attr::Directory);
    EXPECT_EQ(fileDateTime(big).size(), 19);  // yyyy/MM/dd hh:mm:ss

    auto errorOf = [](const std::string& p) {
        try {
            fileLength(p);
        } catch (const RuntimeError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(errorOf(t.path("gone")), err::FileNotFound);
    EXPECT_EQ(errorOf(big + "/below-a-file"), err::FileNotFound);
    EXPECT_EQ(errorOf(t.path(std::string(300, 'n'))), err::BadFileName);  // name too long
}
