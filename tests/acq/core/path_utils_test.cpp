#include "acq/core/path_utils.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(PathUtils, SplitAtTheLastSlashAndJoinWithOneSlash)
{
    struct Split { const char *path; QString folder, name; };
    for (const Split &c : {Split{"/home/ann/runs/a.CSV", "/home/ann/runs/", "a.CSV"},
                           Split{"/a.CSV", "/", "a.CSV"}, Split{"/home/ann/", "/home/ann/", ""},
                           Split{"a.CSV", QDir::currentPath(), "a.CSV"}}) {
        QString folder, name;
        sSplitPath(&folder, &name, c.path);
        EXPECT_EQ(std::pair(folder, name), std::pair(c.folder, c.name)) << c.path;
    }
    struct Join { const char *folder; QString path; };
    for (const Join &c : {Join{"/home/ann", "/home/ann/a.CSV"},
                          Join{"/home/ann/", "/home/ann/a.CSV"},
                          Join{"", QDir::currentPath() + "/a.CSV"}}) {
        QString path;
        fJoinPath(c.folder, "a.CSV", &path);
        EXPECT_EQ(path, c.path) << c.folder;
    }
}

TEST(PathUtils, AnsiLengthCountsNonAsciiTwice)
{
    EXPECT_EQ(fAnsiLength(""), 0);
    EXPECT_EQ(fAnsiLength("/tmp/a.CSV"), 10);
    EXPECT_EQ(fAnsiLength(QString::fromUtf8("/データ/a.CSV")), 13);
    EXPECT_EQ(fAnsiLength(QString::fromUtf8("é")), 2);
    EXPECT_EQ(fAnsiLength(QString::fromUtf8("\U0001F600")), 2) << "one character, two UTF-16 units";
}

TEST(PathUtils, ShortenKeepsTheTail)
{
    // 31 ASCII characters: "..." and the last 27; 30 stay as they are.
    const QString longPath = "/home/technician/runs/a123.CSV";
    ASSERT_EQ(longPath.size(), 30);
    EXPECT_EQ(fShortenPath(longPath, 30), longPath);
    const QString longer = "/home/technician/runs/ab123.CSV";
    EXPECT_EQ(fShortenPath(longer, 30), "...e/technician/runs/ab123.CSV");
    EXPECT_EQ(fShortenPath(longer, 30).size(), 30);
    // 19 characters that count 30: kept at 30, shortened at 29 (the tail is counted in
    // characters, so the whole text follows the dots).
    const QString japanese = QString::fromUtf8("/計測/データ/ファイル/結果.CSV");
    ASSERT_EQ(fAnsiLength(japanese), 30);
    EXPECT_EQ(fShortenPath(japanese, 30), japanese);
    EXPECT_EQ(fShortenPath(japanese, 29), "..." + japanese);
    EXPECT_EQ(fShortenPath(japanese, 10), QString::fromUtf8(".../結果.CSV"));
    // A character outside the basic plane is never cut in half.
    const QString emoji = QString::fromUtf8("abc\U0001F600de");
    EXPECT_EQ(fShortenPath(emoji, 6), QString::fromUtf8("...\U0001F600de"));
}

} // namespace
