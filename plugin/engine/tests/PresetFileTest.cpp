#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "LocalEffectFixture.h"
#include "plugin/engine/presets/PresetDialogs.h"
#include "plugin/engine/presets/PresetFile.h"
#include "plugin/engine/presets/PresetImage.h"
#include "tests/support/TestPaths.h"

namespace {

using Bytes = std::vector<unsigned char>;

class PresetFileTest : public LocalEffectFixture {
 protected:
  void SetUp() override {
    LocalEffectFixture::SetUp();
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    files = Testing::makeTempFolder(std::string("preset-files-") + test->name());
  }

  static Bytes contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }

  static void create(const std::string& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

  // The names of the entries in the test's folder.
  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((files + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = entry.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
  }

  static Bytes pattern(std::size_t size, unsigned char seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(seed + i * 7);
    return bytes;
  }

  std::string files;
};

TEST_F(PresetFileTest, WrittenFileHoldsExactlyTheImage) {
  const Bytes image = pattern(248, 1);
  ASSERT_TRUE(writePresetFile(files + "one.fxp", image));
  EXPECT_EQ(contents(files + "one.fxp"), image);
  EXPECT_EQ(entries(), std::vector<std::string>{"one.fxp"});
}

TEST_F(PresetFileTest, WritingReplacesALongerFileWhole) {
  create(files + "one.fxb", pattern(50000, 9));
  const Bytes image = pattern(39588, 2);
  ASSERT_TRUE(writePresetFile(files + "one.fxb", image));
  EXPECT_EQ(contents(files + "one.fxb"), image);
  EXPECT_EQ(entries(), std::vector<std::string>{"one.fxb"});
}

TEST_F(PresetFileTest, FailedWriteReportsFailureAndKeepsWhatWasThere) {
  const Bytes old = pattern(300, 4);
  create(files + "locked.fxp", old);
  ASSERT_TRUE(SetFileAttributesA((files + "locked.fxp").c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(CreateDirectoryA((files + "folder.fxp").c_str(), nullptr));

  const Bytes image = pattern(248, 5);
  EXPECT_FALSE(writePresetFile(files + "locked.fxp", image));
  EXPECT_EQ(contents(files + "locked.fxp"), old);
  EXPECT_FALSE(writePresetFile(files + "folder.fxp", image));
  EXPECT_EQ(GetFileAttributesA((files + "folder.fxp").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            DWORD{FILE_ATTRIBUTE_DIRECTORY});
  EXPECT_FALSE(writePresetFile(files + "missing\\new.fxp", image));
  EXPECT_FALSE(writePresetFile("", image));

  std::vector<std::string> names = entries();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"folder.fxp", "locked.fxp"}));
  SetFileAttributesA((files + "locked.fxp").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(PresetFileTest, ReadingTakesTheWholeFileOrItsBeginning) {
  const Bytes bytes = pattern(1000, 3);
  create(files + "any.fxp", bytes);
  create(files + "empty.fxp", {});

  Bytes image{1, 2, 3};
  ASSERT_TRUE(readPresetFile(files + "any.fxp", 5000, image));
  EXPECT_EQ(image, bytes);
  ASSERT_TRUE(readPresetFile(files + "any.fxp", 248, image));
  EXPECT_EQ(image, Bytes(bytes.begin(), bytes.begin() + 248));
  ASSERT_TRUE(readPresetFile(files + "empty.fxp", 5000, image));
  EXPECT_TRUE(image.empty());
}

TEST_F(PresetFileTest, UnreadableFilesGiveNothing) {
  create(files + "busy.fxp", pattern(248, 6));
  const HANDLE busy = CreateFileA((files + "busy.fxp").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(busy, INVALID_HANDLE_VALUE);

  Bytes image{1, 2, 3};
  EXPECT_FALSE(readPresetFile(files + "busy.fxp", 5000, image));
  EXPECT_TRUE(image.empty());
  CloseHandle(busy);
  EXPECT_FALSE(readPresetFile(files + "missing.fxp", 5000, image));
  EXPECT_FALSE(readPresetFile(files, 5000, image));
  EXPECT_TRUE(image.empty());
}

TEST_F(PresetFileTest, ProgramAndBankSurviveTheRoundTripThroughFiles) {
  effect->setProgram(40);
  effect->setParameter(ParameterIndex::Drive, 0.3125f);
  ASSERT_TRUE(writePresetFile(files + "program.fxp", buildSinglePresetData(*effect)));
  ASSERT_TRUE(writePresetFile(files + "bank.fxb", buildBankData(*effect)));
  EXPECT_EQ(contents(files + "program.fxp").size(), singlePresetSize);
  EXPECT_EQ(contents(files + "bank.fxb").size(), bankSize);
  const std::vector<ProgramRecord> saved(effect->programs.get(), effect->programs.get() + programCount);

  char changed[] = "Changed";
  effect->setProgramName(changed);
  effect->setParameter(ParameterIndex::Drive, 0.9f);
  Bytes image;
  ASSERT_TRUE(readPresetFile(files + "program.fxp", largestPresetImage, image));
  ASSERT_TRUE(loadSinglePresetData(*effect, image.data(), image.size()));
  EXPECT_STREQ(effect->programs[40].name, saved[40].name);
  EXPECT_EQ(effect->getParameter(ParameterIndex::Drive), 0.3125f);

  for (VstInt32 p = 0; p < programCount; ++p) {
    copyProgramName(effect->programs[p].name, "Changed");
    effect->programs[p].values[ParameterIndex::Volume] = 0.01f;
  }
  ASSERT_TRUE(readPresetFile(files + "bank.fxb", largestPresetImage, image));
  ASSERT_TRUE(loadBankData(*effect, image.data(), image.size()));
  for (VstInt32 p = 0; p < programCount; ++p) {
    EXPECT_STREQ(effect->programs[p].name, saved[p].name) << p;
    for (VstInt32 i = 0; i < ParameterIndex::count; ++i) {
      EXPECT_EQ(effect->programs[p].values[i], saved[p].values[i]) << p << " " << i;
    }
  }
}

TEST(PresetExtension, IsAppendedUnlessTheNameEndsInItsLetters) {
  struct Case {
    std::string name;
    std::string extension;
    std::string saved;
  };
  const Case cases[] = {
      {"C:\\presets\\bass", ".fxp", "C:\\presets\\bass.fxp"},
      {"C:\\presets\\bass.fxp", ".fxp", "C:\\presets\\bass.fxp"},
      {"C:\\presets\\bassfxp", ".fxp", "C:\\presets\\bassfxp"},
      {"C:\\presets\\bass.FXP", ".fxp", "C:\\presets\\bass.FXP"},
      {"C:\\presets.fxp\\bass", ".fxp", "C:\\presets.fxp\\bass.fxp"},
      {"C:\\presets\\bank.fxp", ".fxb", "C:\\presets\\bank.fxp.fxb"},
      {"C:\\presets\\bank.fxb", ".fxb", "C:\\presets\\bank.fxb"},
      {"xp", ".fxp", "xp.fxp"},
  };
  for (const Case& c : cases) EXPECT_EQ(withPresetExtension(c.name, c.extension), c.saved) << c.name;
}

}  // namespace
