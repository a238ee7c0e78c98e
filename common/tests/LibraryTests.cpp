#include "common/system/Library.h"

#include "TestPaths.h"

#include <gtest/gtest.h>

#include <memory>

using Common::System::Library;

namespace {

using AnswerProc = int (*)();

const std::string LibraryName = "common_test_library.dll";

int callAnswer(const Library& library) {
  auto answer = reinterpret_cast<AnswerProc>(library.GetProc("testLibraryAnswer"));
  return answer ? answer() : -1;
}

}  // namespace

TEST(Library, LoadsByPathAndFindsItsExports) {
  std::unique_ptr<Library> library(Library::Load(Testing::binaryFolder() + LibraryName));
  ASSERT_NE(nullptr, library);
  EXPECT_NE(nullptr, library->GetHandle());
  EXPECT_EQ(42, callAnswer(*library));
  EXPECT_EQ(nullptr, library->GetProc("noSuchExport"));
}

TEST(Library, MissingFileGivesNull) {
  EXPECT_EQ(nullptr, Library::Load(Testing::binaryFolder() + "no_such_library.dll"));
  EXPECT_EQ(nullptr, Library::Load("no_such_library.dll"));
}

TEST(Library, FindsAFileInTheCurrentFolderThroughTheDotSlashRetry) {
  // A copy under a name of its own, in a folder that only the current folder leads to. Windows
  // leaves the current folder out of the search order after SetDllDirectory(""), so there only
  // "./" finds it (Wine keeps searching it).
  const std::string folder = Testing::makeTempFolder("library");
  const std::string name = "relative_test_library.dll";
  ASSERT_TRUE(CopyFileA((Testing::binaryFolder() + LibraryName).c_str(), (folder + name).c_str(), FALSE));
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
  SetDllDirectoryA("");

  std::unique_ptr<Library> library(Library::Load(name));

  SetDllDirectoryA(nullptr);
  SetCurrentDirectoryA(previous);
  ASSERT_NE(nullptr, library);
  EXPECT_EQ(42, callAnswer(*library));
}

TEST(Library, ReleasingTheLastReferenceUnloadsTheModule) {
  const std::string path = Testing::binaryFolder() + LibraryName;
  delete Library::Load(path);
  EXPECT_EQ(nullptr, GetModuleHandleA(path.c_str()));
  std::unique_ptr<Library> library(Library::Load(path));
  EXPECT_NE(nullptr, GetModuleHandleA(path.c_str()));
}
