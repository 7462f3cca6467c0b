// The drive list of the folder browser.
#include "link/core/drive_list.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(DriveList, RootAndHomeVolumeAndFolders)
{
    const QStringList drives = DriveList::drives();
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_EQ(drives.first(), "/");
    EXPECT_TRUE(drives.contains(DriveList::driveOf(QDir::homePath())));
    EXPECT_TRUE(DriveList::isReadableFolder(DriveList::defaultFolder()));
    EXPECT_FALSE(DriveList::isReadableFolder("/no/such/folder"));
    EXPECT_FALSE(DriveList::isReadableFolder(""));
    EXPECT_TRUE(DriveList::isOnDrive("/media/usb/data", "/media/usb"));
    EXPECT_TRUE(DriveList::isOnDrive("/media/usb", "/media/usb/"));
    EXPECT_FALSE(DriveList::isOnDrive("/media/usb2/data", "/media/usb"));
    EXPECT_TRUE(DriveList::isOnDrive("/home/x", "/"));
}
