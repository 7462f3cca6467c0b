#include "acq/core/path_utils.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(PathUtils, SplitAtTheLastSlash)
{
    QString folder, name;
    sSplitPath(&folder, &name, "/home/ann/runs/a.CSV");
    EXPECT_EQ(folder, "/home/ann/runs/");
    EXPECT_EQ(name, "a.CSV");
    sSplitPath(&folder, &name, "/a.CSV");
    EXPECT_EQ(folder, "/");
    EXPECT_EQ(name, "a.CSV");
    sSplitPath(&folder, &name, "/home/ann/");
    EXPECT_EQ(folder, "/home/ann/");
    EXPECT_EQ(name, "");
    sSplitPath(&folder, &name, "a.CSV");
    EXPECT_EQ(folder, QDir::currentPath());
    EXPECT_EQ(name, "a.CSV");
}

TEST(PathUtils, JoinAddsOneSlash)
{
    QString path;
    fJoinPath("/home/ann", "a.CSV", &path);
    EXPECT_EQ(path, "/home/ann/a.CSV");
    fJoinPath("/home/ann/", "a.CSV", &path);
    EXPECT_EQ(path, "/home/ann/a.CSV");
    fJoinPath("", "a.CSV", &path);
    EXPECT_EQ(path, QDir::currentPath() + "/a.CSV");
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
