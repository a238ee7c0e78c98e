#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "host/hosting/FolderListing.h"

namespace Ombix::Kelvane {
namespace {

std::vector<std::string> Files(const FolderListing& listing) {
  std::vector<std::string> names;
  for (int i = 0; i < listing.FileCount(); ++i) names.push_back(listing.FileName(i));
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> SubFolders(const FolderListing& listing) {
  std::vector<std::string> names;
  for (int i = 0; i < listing.SubFolderCount(); ++i) names.push_back(listing.SubFolderName(i));
  std::sort(names.begin(), names.end());
  return names;
}

class FolderListingTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"s", "s\\deeper", "empty", "folder.dll"}) {
      CreateDirectoryA((folder + name).c_str(), nullptr);
    }
    for (const char* name : {"a.dll", "B.DLL", "notes.txt", "s\\b.dll", "s\\deeper\\c.dll"}) {
      std::ofstream(folder + name) << "x";
    }
  }

  std::string folder = Testing::makeTempFolder("folder-listing");
};

TEST_F(FolderListingTest, ListsMatchingFilesAndEverySubFolder) {
  const FolderListing listing(folder.substr(0, folder.size() - 1), "*.dll");  // no trailing backslash
  EXPECT_EQ(listing.Folder(), folder);
  EXPECT_EQ(Files(listing), (std::vector<std::string>{"B.DLL", "a.dll"}));  // a folder is no file
  EXPECT_EQ(SubFolders(listing), (std::vector<std::string>{"empty", "folder.dll", "s"}));
}

TEST_F(FolderListingTest, ASubFolderIsListedWithTheSamePattern) {
  const FolderListing listing(folder, "*.dll");
  int s = 0;
  while (listing.SubFolderName(s) != "s") ++s;
  const FolderListing sub = listing.SubFolder(s);
  EXPECT_EQ(sub.Folder(), folder + "s\\");
  EXPECT_EQ(Files(sub), (std::vector<std::string>{"b.dll"}));
  EXPECT_EQ(SubFolders(sub), (std::vector<std::string>{"deeper"}));
}

TEST_F(FolderListingTest, AskingBeyondTheListGivesAnEmptyName) {
  const FolderListing listing(folder, "*.dll");
  for (int index : {-1, listing.FileCount(), 100}) EXPECT_EQ(listing.FileName(index), "") << index;
  for (int index : {-1, listing.SubFolderCount()}) EXPECT_EQ(listing.SubFolderName(index), "") << index;
}

TEST(FolderListing, AMissingFolderListsNothing) {
  const FolderListing listing(Testing::makeTempFolder("folder-listing-missing") + "nothing here", "*.dll");
  EXPECT_EQ(listing.FileCount(), 0);
  EXPECT_EQ(listing.SubFolderCount(), 0);
}

}  // namespace
}  // namespace Ombix::Kelvane
