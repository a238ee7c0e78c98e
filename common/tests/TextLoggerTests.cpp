#include "common/logging/Logger.h"
#include "common/logging/TextLogger.h"

#include "TestPaths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

using Common::Logging::Logger;
using Common::Logging::TextLogger;

namespace {

// Reads the whole file through a handle of its own that lets the writer go on writing.
std::string readShared(const std::string& path) {
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(INVALID_HANDLE_VALUE, file);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string content(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
  CloseHandle(file);
  content.resize(read);
  return content;
}

}  // namespace

TEST(TextLogger, StartsEmptyAndHasEveryLineOnDiskAsSoonAsItIsLogged) {
  const std::string path = Testing::makeTempFolder("textlogger") + "Quillam.log";
  std::ofstream(path) << "text of the last run\n";

  Logger logger;
  logger.AddDevice(new TextLogger(path), Logger::AllLevels);
  EXPECT_EQ("", readShared(path));
  logger.Info("Startup\n");
  EXPECT_EQ("Startup\r\n", readShared(path));
  logger.Error("Unable to load library\n");
  logger.Warning(std::string("50% done"));
  EXPECT_EQ("Startup\r\nUnable to load library\r\n50% done", readShared(path));
}

TEST(TextLogger, DeletedByItsOwnerItLeavesTheLogger) {
  const std::string path = Testing::makeTempFolder("textlogger-delete") + "a.log";
  Logger logger;
  auto* device = new TextLogger(path);
  logger.AddDevice(device, Logger::AllLevels);
  logger.Info("one\n");
  delete device;
  logger.Info("two\n");
  EXPECT_EQ("one\r\n", readShared(path));
}

TEST(TextLogger, AFileThatCannotBeOpenedThrowsOne) {
  const std::string path = Testing::makeTempFolder("textlogger-missing") + "no such folder\\x.log";
  try {
    TextLogger device(path);
    FAIL() << "no exception";
  } catch (int code) {
    EXPECT_EQ(1, code);
  }
}

TEST(TextLogger, AFileLockedByAnotherProgramThrowsOne) {
  const std::string path = Testing::makeTempFolder("textlogger-locked") + "Quillam.log";
  const HANDLE exclusive =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, exclusive);
  EXPECT_THROW(TextLogger device(path), int);
  CloseHandle(exclusive);
}

TEST(TextLogger, LeftAttachedToTheGlobalLoggerItIsDeletedAtExit) {
  // As the application does: the global logger owns the device and closes the file at exit.
  const std::string path = Testing::makeTempFolder("textlogger-global") + "Quillam.log";
  Common::Logging::theLogger.AddDevice(new TextLogger(path), Logger::AllLevels);
  Common::Logging::theLogger.Info("Startup\n");
  EXPECT_EQ("Startup\r\n", readShared(path));
}
