#include "common/core/option_flags.h"
#include "common/core/settings_store.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SettingsFile : public ::testing::Test
{
protected:
    QString path() const { return m_dir.path() + QStringLiteral("/settings.ini"); }
    void writeRaw(const char *text)
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QString readRaw() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    QTemporaryDir m_dir;
};

TEST_F(SettingsFile, SectionsAndKeysMatchWithoutRegardToCase)
{
    writeRaw("[measurement%20Parameter]\nsample%20time=0.5\n");
    auto store = SettingsStore::forFile(path());
    EXPECT_EQ(store->readText(QStringLiteral("Measurement Parameter"), QStringLiteral("Sample Time")),
              QStringLiteral("0.5"));
    EXPECT_DOUBLE_EQ(store->readDouble(QStringLiteral("MEASUREMENT PARAMETER"), QStringLiteral("SAMPLE TIME"), 1.0),
                     0.5);
}

TEST_F(SettingsFile, WritingKeepsOneSpellingAndUsesDots)
{
    writeRaw("[Measurement%20Parameter]\nSample%20Time=2\n");
    {
        auto store = SettingsStore::forFile(path());
        store->writeDouble(QStringLiteral("measurement Parameter"), QStringLiteral("Sample Time"), 0.5);
        store->writeInt(QStringLiteral("measurement Parameter"), QStringLiteral("Sample Num"), 65500);
        ASSERT_TRUE(store->sync());
    }
    auto store = SettingsStore::forFile(path());
    EXPECT_EQ(store->readText(QStringLiteral("measurement parameter"), QStringLiteral("sample time")),
              QStringLiteral("0.5"));
    const QString raw = readRaw();
    EXPECT_EQ(raw.count(QStringLiteral("Sample%20Time"), Qt::CaseInsensitive), 1) << raw.toStdString();
    EXPECT_TRUE(raw.contains(QStringLiteral("=0.5"))) << raw.toStdString();
    EXPECT_FALSE(raw.contains(QStringLiteral("0,5")));
}

TEST_F(SettingsFile, UnreadableOrOutOfRangeValuesTakeTheDefault)
{
    writeRaw("[s]\n"
             "a=abc\nb=70000\nc=2.5\nd=-1\ne=1e999\nf=\ng=12\nh=3.5\n");
    auto store = SettingsStore::forFile(path());
    const QString s = QStringLiteral("s");
    EXPECT_EQ(store->readInt(s, QStringLiteral("a"), 7, 0, 100), 7);
    EXPECT_EQ(store->readInt(s, QStringLiteral("b"), 65500, 1, 65500), 65500);
    EXPECT_EQ(store->readInt(s, QStringLiteral("c"), 9, 0, 100), 2); // rounded, halves to even
    EXPECT_EQ(store->readInt(s, QStringLiteral("h"), 9, 0, 100), 4);
    EXPECT_EQ(store->readInt(s, QStringLiteral("d"), 5, 0, 100), 5);
    EXPECT_DOUBLE_EQ(store->readDouble(s, QStringLiteral("e"), 1.5), 1.5);
    EXPECT_DOUBLE_EQ(store->readDouble(s, QStringLiteral("f"), 1.5), 1.5);
    EXPECT_DOUBLE_EQ(store->readDouble(s, QStringLiteral("g"), 1.5, [](double v) { return v < 10; }), 1.5);
    EXPECT_EQ(store->readText(s, QStringLiteral("missing"), QStringLiteral("x")), QStringLiteral("x"));
}

TEST_F(SettingsFile, OptionFlagsDefaultToOneAndKeepTheirInvariant)
{
    {
        auto store = SettingsStore::forFile(path());
        EXPECT_EQ(OptionFlags::load(*store), (OptionFlags{1, 1, 1, 1}));
    }
    writeRaw("[Measurement%20Parameter]\nDisplay%20ATM=1\nSave%20ATM=1\nEnable%20ATM=0\nEnable%20USB=7\n");
    auto store = SettingsStore::forFile(path());
    const OptionFlags f = OptionFlags::load(*store);
    EXPECT_EQ(f, (OptionFlags{0, 0, 0, 1}));

    OptionFlags g{1, 0, 1, 0};
    g.save(*store);
    ASSERT_TRUE(store->sync());
    auto again = SettingsStore::forFile(path());
    EXPECT_EQ(OptionFlags::load(*again), g);
    EXPECT_TRUE(g.showAtmosphere());
    EXPECT_FALSE(g.saveAtmosphere());
}

TEST_F(SettingsFile, CorruptOrTruncatedFileGivesDefaults)
{
    writeRaw("\x01\x02[Measure\xff\xfe ment\nSample Num=\x80\x81\n[Win");
    auto store = SettingsStore::forFile(path());
    EXPECT_EQ(store->readInt(QStringLiteral("Measurement Parameter"), QStringLiteral("Sample Num"), 65500, 1, 65500),
              65500);
    EXPECT_EQ(OptionFlags::load(*store), (OptionFlags{1, 1, 1, 1}));
}

} // namespace
