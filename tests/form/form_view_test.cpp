// The form model's one formatting place: the events the engine hands over
// become box texts, a figure the engine did not reach leaves its box alone,
// and the search's messages are worded from their typed parts.
#include "box_names.h"
#include "messages.h"
#include "number_format.h"
#include "recording_window.h"
#include "text.h"
#include "window_texts.h"

#include <cerrno>
#include <gtest/gtest.h>

using namespace dorvelix;

TEST(ValueBoxView, EachEventWritesItsBoxesAndOnlyWhatItReached)
{
    RecordingWindow w;
    DriveFigures d;
    d.text = QStringLiteral("/ [vda]");
    d.totalClusters = Whole{1234567LL};
    d.totalBytes = Whole{1.5e20};  // beyond 64 bits: shown rounded
    w.driveFiguresReached(d);
    EXPECT_EQ(w.box(Box::DriveText), "/ [vda]");
    EXPECT_EQ(w.box(Box::TotalClusters), " 1,234,567 ");
    EXPECT_EQ(w.box(Box::TotalBytes), " 150,000,000,000,000,000,000 ");
    EXPECT_FALSE(w.boxes.contains(Box::FreeRatio));  // not reached: keeps its text
    EXPECT_FALSE(w.boxes.contains(Box::FileSystem));

    SearchResult r;
    r.clusterLength = 4096;
    r.convertLength = 512;
    w.folderAloneBooked(r);  // nothing booked yet: nothing shown
    w.subtreeCounted(r);
    EXPECT_EQ(w.boxes.size(), 3u);
    r.files = 1234;
    r.alone = FolderRow{0, 1234, 3, 9, 5000};
    r.subtree = FolderRow{2, 1300, 40, 300, 90000};
    w.filesListed(r);
    w.folderAloneBooked(r);
    w.subtreeCounted(r);
    EXPECT_EQ(w.box(Box::AloneFiles), "1,234");  // the file count has no padding
    EXPECT_EQ(w.box(Box::AloneBytes), " 12,288 ");
    EXPECT_EQ(w.box(Box::SubtreeBytes), " 163,840 ");
    EXPECT_EQ(w.box(Box::ConvertBytes), " 153,600 ");

    w.subtreeCleared();
    for (Box b : {Box::SubtreeFolders, Box::SubtreeFiles, Box::SubtreeClusters, Box::SubtreeBytes,
                  Box::ConvertClusters, Box::ConvertBytes})
        EXPECT_EQ(w.box(b), BlankBox) << b;
    EXPECT_EQ(w.box(Box::AloneBytes), " 12,288 ");
    w.convertLengthPicked(32768);
    EXPECT_EQ(w.box(Box::ConvertLength), " 32,768 ");
    EXPECT_EQ(w.box(Box::ConvertClusters), "0");

    // The report asks the same place for a stopped search's subtree: no text.
    r.subtree.reset();
    EXPECT_FALSE(boxText(Box::SubtreeClusters, d, r));
    EXPECT_EQ(boxText(Box::AloneClusters, d, r), " 3 ");
}

TEST(SearchMessages, WordedFromPrefixNumberCauseAndPath)
{
    const SearchMessage denied{"err3 code :", err::PathNotFound, EACCES, QStringLiteral("/data/locked")};
    EXPECT_EQ(denied.kind(), QStringLiteral("err3 code :") + signedNumberText(76));
    EXPECT_EQ(denied.causeText(), QString::fromUtf8(texts::NoPermission));
    EXPECT_EQ(denied.text(), denied.kind() + u' ' + denied.causeText() + CrLf + "/data/locked");
    EXPECT_EQ(pathErrorMessage(err::PathNotFound, EACCES, "/data/locked"), denied.causeText() + CrLf + "/data/locked");

    // The same number for another cause is another text, the same kind.
    const SearchMessage missing{"err3 code :", err::PathNotFound, ENOENT, QStringLiteral("/data/gone")};
    EXPECT_EQ(missing.kind(), denied.kind());
    EXPECT_EQ(missing.causeText(), QStringLiteral("パスが見つかりません。"));
    EXPECT_EQ(errorDescription(12345), QString::fromUtf8(texts::OtherError));

    const SearchMessage deep{.path = QStringLiteral("/a/b")};
    EXPECT_TRUE(deep.isDepthWarning());
    EXPECT_EQ(deep.kind(), QString::fromUtf8(texts::DepthWarning));
    EXPECT_TRUE(deep.causeText().isEmpty());
    EXPECT_EQ(deep.text(), deep.kind() + CrLf + CrLf + "/a/b");
}
