#include "common/core/option_flags.h"
#include "common/core/settings_store.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SettingsFile : public ::testing::Test
{
protected:
    QString path() const { return m_dir.filePath("settings.ini"); }
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

TEST_F(SettingsFile, KeysMatchWithoutRegardToCaseAndWritingKeepsOneSpellingWithDots)
{
    writeRaw("[measurement%20Parameter]\nsample%20time=2\n");
    {
        auto store = SettingsStore::forFile(path());
        EXPECT_DOUBLE_EQ(store->readDouble("MEASUREMENT PARAMETER", "SAMPLE TIME", 1.0), 2.0);
        store->writeDouble("Measurement Parameter", "Sample Time", 0.5);
        store->writeInt("measurement Parameter", "Sample Num", 65500);
        ASSERT_TRUE(store->sync());
    }
    auto store = SettingsStore::forFile(path());
    EXPECT_EQ(store->readText("measurement parameter", "sample time"), "0.5");
    EXPECT_EQ(store->readText("Measurement Parameter", "Sample Num"), "65500");
    const QString raw = readRaw();
    EXPECT_EQ(raw.count("Sample%20Time", Qt::CaseInsensitive), 1) << raw.toStdString();
    EXPECT_TRUE(raw.contains("=0.5")) << raw.toStdString();
}

TEST_F(SettingsFile, UnreadableOrOutOfRangeValuesTakeTheDefault)
{
    writeRaw("[s]\na=abc\nb=70000\nc=2.5\nd=-1\ne=1e999\nf=\ng=12\nh=3.5\n");
    auto store = SettingsStore::forFile(path());
    EXPECT_EQ(store->readInt("s", "a", 7, 0, 100), 7);
    EXPECT_EQ(store->readInt("s", "b", 65500, 1, 65500), 65500);
    EXPECT_EQ(store->readInt("s", "c", 9, 0, 100), 2); // rounded, halves to even
    EXPECT_EQ(store->readInt("s", "h", 9, 0, 100), 4);
    EXPECT_EQ(store->readInt("s", "d", 5, 0, 100), 5);
    EXPECT_EQ(store->readInt("s", "g", 5, 0, 12), 12); // the limits themselves are in range
    EXPECT_DOUBLE_EQ(store->readDouble("s", "e", 1.5), 1.5);
    EXPECT_DOUBLE_EQ(store->readDouble("s", "f", 1.5), 1.5);
    EXPECT_DOUBLE_EQ(store->readDouble("s", "g", 1.5, [](double v) { return v < 10; }), 1.5);
    EXPECT_EQ(store->readText("s", "missing", "x"), "x");
}

TEST_F(SettingsFile, OptionFlagsDefaultToOneAndKeepTheirInvariant)
{
    EXPECT_EQ(OptionFlags::load(*SettingsStore::forFile(path())), (OptionFlags{1, 1, 1, 1}));
    writeRaw("[Measurement%20Parameter]\nDisplay%20ATM=1\nSave%20ATM=1\nEnable%20ATM=0\nEnable%20USB=7\n");
    auto store = SettingsStore::forFile(path());
    EXPECT_EQ(OptionFlags::load(*store), (OptionFlags{0, 0, 0, 1}));

    OptionFlags g{1, 0, 1, 0};
    g.save(*store);
    ASSERT_TRUE(store->sync());
    EXPECT_EQ(OptionFlags::load(*SettingsStore::forFile(path())), g);
    EXPECT_TRUE(g.showAtmosphere());
    EXPECT_FALSE(g.saveAtmosphere());

    // A corrupt or truncated file gives the defaults.
    writeRaw("\x01\x02[Measure\xff\xfe ment\nSample Num=\x80\x81\n[Win");
    store = SettingsStore::forFile(path());
    EXPECT_EQ(store->readInt("Measurement Parameter", "Sample Num", 65500, 1, 65500), 65500);
    EXPECT_EQ(OptionFlags::load(*store), (OptionFlags{1, 1, 1, 1}));
}

} // namespace
