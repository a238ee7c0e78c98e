#include "common/logging/ILogDevice.h"
#include "common/logging/Logger.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using Common::Logging::ILogDevice;
using Common::Logging::Logger;

namespace {

struct Message {
  std::string device;
  int level;
  std::string text;
};

// Records what it receives into a list shared with other devices, so that order shows.
class RecordingDevice : public ILogDevice {
 public:
  RecordingDevice(std::string name, std::vector<Message>& record, bool* destroyed = nullptr)
      : name_(std::move(name)), record_(record), destroyed_(destroyed) {}
  ~RecordingDevice() override {
    DetachFromAllLoggers();
    if (destroyed_) *destroyed_ = true;
  }

  void Write(int level, const std::string& text) override { record_.push_back({name_, level, text}); }

  int detaches = 0;
  void Detach(Logger* logger) override {
    ++detaches;
    ILogDevice::Detach(logger);
  }

 private:
  std::string name_;
  std::vector<Message>& record_;
  bool* destroyed_;
};

class ThrowingDevice : public ILogDevice {
 public:
  void Write(int, const std::string&) override { throw std::runtime_error("disk gone"); }
};

// Devices on the stack detach themselves when they go, before the logger would delete them.
class LoggerTest : public ::testing::Test {
 protected:
  void attach(ILogDevice& device, int mask) { logger.AddDevice(&device, mask); }

  Logger logger;
  std::vector<Message> record;
};

}  // namespace

TEST_F(LoggerTest, EachWrapperLogsAtItsLevelToDevicesWhoseMaskHoldsIt) {
  struct Case {
    const char* name;
    int level;
    std::function<void(Logger&)> log;
  };
  const Case cases[] = {
      {"Info", 2, [](Logger& l) { l.Info("m %d", 1); }},
      {"Warning", 4, [](Logger& l) { l.Warning("m %d", 1); }},
      {"Error", 8, [](Logger& l) { l.Error("m %d", 1); }},
      {"Critical", 16, [](Logger& l) { l.Critical("m %d", 1); }},
      {"Fatal", 32, [](Logger& l) { l.Fatal("m %d", 1); }},
      {"Info text", 2, [](Logger& l) { l.Info(std::string("m 1")); }},
      {"Warning text", 4, [](Logger& l) { l.Warning(std::string("m 1")); }},
      {"Error text", 8, [](Logger& l) { l.Error(std::string("m 1")); }},
      {"Critical text", 16, [](Logger& l) { l.Critical(std::string("m 1")); }},
      {"Fatal text", 32, [](Logger& l) { l.Fatal(std::string("m 1")); }},
  };
  RecordingDevice all("all", record);
  RecordingDevice onlyThis("only", record);
  RecordingDevice allOthers("others", record);
  attach(all, Logger::AllLevels);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    record.clear();
    logger.RemoveDevice(&onlyThis);
    logger.RemoveDevice(&allOthers);
    logger.AddDevice(&onlyThis, c.level);
    logger.AddDevice(&allOthers, Logger::AllLevels & ~c.level);
    c.log(logger);
    ASSERT_EQ(2u, record.size());
    EXPECT_EQ("all", record[0].device);
    EXPECT_EQ("only", record[1].device);
    EXPECT_EQ(c.level, record[1].level);
    EXPECT_EQ("m 1", record[1].text);
  }
  logger.RemoveDevice(&onlyThis);
  logger.RemoveDevice(&allOthers);
}

TEST_F(LoggerTest, DebugNeverReachesADevice) {
  RecordingDevice device("d", record);
  attach(device, Logger::AllLevels);
  logger.Debug("format %d", 1);
  logger.Debug(std::string("text"));
  EXPECT_TRUE(record.empty());
}

TEST_F(LoggerTest, DevicesReceiveInAttachOrderAndOncePerEntry) {
  RecordingDevice first("first", record);
  RecordingDevice second("second", record);
  attach(second, Logger::AllLevels);
  attach(first, Logger::AllLevels);
  logger.AddDevice(&second, Logger::ErrorLevel);
  logger.Error("x\n");
  ASSERT_EQ(3u, record.size());
  EXPECT_EQ("second", record[0].device);
  EXPECT_EQ("first", record[1].device);
  EXPECT_EQ("second", record[2].device);
  logger.RemoveDevice(&second);
}

TEST_F(LoggerTest, LongMessagesAreCutAtTheirFormattedLength) {
  const std::string cut = "[...]";
  struct Case {
    const char* name;
    std::function<void(Logger&)> log;
    std::string expected;
  };
  const std::string text1022(1022, 'a');
  const std::string text1023(1023, 'b');
  const std::string long5000(5000, 'c');
  const Case cases[] = {
      {"format of 1022 kept", [&](Logger& l) { l.Info(text1022.c_str()); }, text1022},
      {"format of 1023 cut", [&](Logger& l) { l.Info(text1023.c_str()); }, std::string(1014, 'b') + cut},
      {"expansion past the buffer cut", [&](Logger& l) { l.Info("<%s>", long5000.c_str()); },
       "<" + std::string(1013, 'c') + cut},
      {"expansion of exactly 1022 kept", [&](Logger& l) { l.Info("%s", text1022.c_str()); }, text1022},
      {"text form cut", [&](Logger& l) { l.Warning(long5000); }, std::string(1014, 'c') + cut},
      {"text form of 1022 kept", [&](Logger& l) { l.Warning(text1022); }, text1022},
  };
  RecordingDevice device("d", record);
  attach(device, Logger::AllLevels);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    record.clear();
    c.log(logger);
    ASSERT_EQ(1u, record.size());
    EXPECT_EQ(c.expected, record[0].text);
  }
}

TEST_F(LoggerTest, PercentSignsInTextsAreLoggedAsTheyStand) {
  RecordingDevice device("d", record);
  attach(device, Logger::AllLevels);
  const std::string path = "C:\\Plugins\\100%s%n%d%%.dll\n";
  logger.Info(path);
  logger.Error(path);
  logger.Info("Loading plugin: %s", path.c_str());
  logger.Info("%zu %lld %5.1f %c", std::size_t{5}, 1LL << 40, 2.5, 'x');
  ASSERT_EQ(4u, record.size());
  EXPECT_EQ(path, record[0].text);
  EXPECT_EQ(path, record[1].text);
  EXPECT_EQ("Loading plugin: " + path, record[2].text);
  EXPECT_EQ("5 1099511627776   2.5 x", record[3].text);
}

TEST_F(LoggerTest, AThrowingDeviceLosesOnlyItsOwnCopy) {
  ThrowingDevice failing;
  RecordingDevice device("d", record);
  attach(failing, Logger::AllLevels);
  attach(device, Logger::AllLevels);
  EXPECT_NO_THROW(logger.Fatal("still here\n"));
  ASSERT_EQ(1u, record.size());
  EXPECT_EQ("still here\n", record[0].text);
}

TEST_F(LoggerTest, RemovingADeviceNeverAddedOnlyTellsTheDevice) {
  RecordingDevice added("added", record);
  RecordingDevice stranger("stranger", record);
  attach(added, Logger::AllLevels);
  logger.RemoveDevice(&stranger);
  EXPECT_EQ(1, stranger.detaches);
  logger.Info("x");
  ASSERT_EQ(1u, record.size());
  EXPECT_EQ("added", record[0].device);
}

TEST(Logger, OwnsItsDevicesAndADeletedDeviceLeavesIt) {
  std::vector<Message> record;
  bool keptDestroyed = false;
  bool ownDestroyed = false;
  {
    Logger logger;
    auto* kept = new RecordingDevice("kept", record, &keptDestroyed);
    auto* own = new RecordingDevice("own", record, &ownDestroyed);
    logger.AddDevice(kept, Logger::AllLevels);
    logger.AddDevice(kept, Logger::AllLevels);
    logger.AddDevice(own, Logger::AllLevels);
    delete own;  // detaches itself: the logger must not write to it any more
    EXPECT_TRUE(ownDestroyed);
    logger.Info("x");
    EXPECT_EQ(2u, record.size());
  }
  EXPECT_TRUE(keptDestroyed) << "the logger deletes the devices still attached (twice-added once)";
}

TEST(Logger, ManyThreadsLogWholeMessages) {
  std::vector<Message> record;
  Logger logger;
  auto* device = new RecordingDevice("d", record);
  logger.AddDevice(device, Logger::AllLevels);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&logger, t] {
      for (int i = 0; i < 500; ++i)
        logger.Info("thread %d message %d %s\n", t, i, std::string(200, 'a' + t).c_str());
    });
  }
  for (std::thread& thread : threads) thread.join();
  ASSERT_EQ(2000u, record.size());
  std::vector<int> next(4, 0);
  for (const Message& message : record) {
    int t = -1;
    int i = -1;
    ASSERT_EQ(2, sscanf(message.text.c_str(), "thread %d message %d", &t, &i)) << message.text;
    EXPECT_EQ(next[t]++, i);
    EXPECT_EQ(std::string(200, 'a' + t), message.text.substr(message.text.size() - 201, 200));
  }
}

TEST(Logger, TheGlobalLoggerTakesDevices) {
  std::vector<Message> record;
  RecordingDevice device("d", record);
  Common::Logging::theLogger.AddDevice(&device, Logger::InfoLevel);
  Common::Logging::theLogger.Info("Startup\n");
  Common::Logging::theLogger.RemoveDevice(&device);
  ASSERT_EQ(1u, record.size());
  EXPECT_EQ("Startup\n", record[0].text);
}
