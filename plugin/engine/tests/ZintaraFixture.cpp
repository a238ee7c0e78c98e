#include "ZintaraFixture.h"

#include <windows.h>

#include <fstream>
#include <iterator>

#include "tests/support/TestPaths.h"

void ZintaraFixture::SetUp() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  folder = Testing::makeTempFolder(std::string("zintara-") + test->test_suite_name() + "-" + test->name());
  pluginPath = folder + "zintara3.dll";
  ASSERT_TRUE(CopyFileA((Testing::binaryFolder() + "zintara3.dll").c_str(), pluginPath.c_str(), FALSE));
  openPlugin();
}

void ZintaraFixture::openPlugin() {
  host.reset();
  host = std::make_unique<RecordingHost>(pluginPath);
  ASSERT_NE(host->effect(), nullptr);
}

std::vector<unsigned char> ZintaraFixture::settingsFile() const {
  std::ifstream file(folder + "zintara.cfg", std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void ZintaraFixture::writeSettingsFile(const std::vector<unsigned char>& bytes) const {
  std::ofstream file(folder + "zintara.cfg", std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
