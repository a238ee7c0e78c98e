#include "common/xml/StaticXmlDocument.h"

#include "FileHelpers.h"
#include "TestPaths.h"
#include "XmlTestHelpers.h"

#include <gtest/gtest.h>

using namespace Common::Xml;
using namespace FileTesting;

namespace {

const std::string Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";

}  // namespace

TEST(XmlFile, SavesAndLoadsByPath) {
  const std::string path = Testing::makeTempFolder("xmlfile") + "a.xml";
  StaticXmlDocument document;
  document.CreateRoot("R")->AddChild("A", "x");
  ASSERT_TRUE(document.Save(path));
  EXPECT_EQ(Declaration + "<R>\r\n  <A>x</A>\r\n</R>\r\n", readFile(path));
  EXPECT_FALSE(exists(path + ".tmp"));

  StaticXmlDocument reread;
  EXPECT_TRUE(reread.Load(path));
  EXPECT_EQ("R(A'x',)", XmlTesting::describeRoot(reread));
}

TEST(XmlFile, LoadOfAMissingOrEmptyFileLeavesNoRoot) {
  const std::string folder = Testing::makeTempFolder("xmlfile-missing");
  StaticXmlDocument document;
  EXPECT_FALSE(document.Load(folder + "missing.xml"));
  EXPECT_EQ(nullptr, document.GetRoot());
  writeFile(folder + "empty.xml", "");
  EXPECT_FALSE(document.Load(folder + "empty.xml"));
  EXPECT_EQ(nullptr, document.GetRoot());
}

TEST(XmlFile, SavingReplacesTheOldFileWhole) {
  const std::string path = Testing::makeTempFolder("xmlfile-replace") + "a.xml";
  writeFile(path, std::string(100000, 'x'));
  StaticXmlDocument document;
  document.CreateRoot("R");
  ASSERT_TRUE(document.Save(path));
  EXPECT_EQ(Declaration + "<R/>\r\n", readFile(path));
}

TEST(XmlFile, AFailedSaveIsReportedAndLeavesTheOldFile) {
  const std::string folder = Testing::makeTempFolder("xmlfile-fail");
  StaticXmlDocument document;
  document.CreateRoot("R");
  EXPECT_FALSE(document.Save(folder + "no such folder\\a.xml"));

  // The target is held open by another program that lets nobody replace it.
  const std::string path = folder + "locked.xml";
  writeFile(path, "old settings");
  const HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, holder);
  const bool saved = document.Save(path);
  CloseHandle(holder);
  EXPECT_FALSE(saved);
  EXPECT_EQ("old settings", readFile(path));
  EXPECT_FALSE(exists(path + ".tmp"));

  // A target that is a folder.
  CreateDirectoryA((folder + "dir.xml").c_str(), nullptr);
  EXPECT_FALSE(document.Save(folder + "dir.xml"));
}
