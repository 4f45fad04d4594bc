// JPEG snapshots of running test cameras, directly and through the request handler.

#include "CaptureTestSupport.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <chrono>
#include <thread>

namespace capture_test {
namespace {

using namespace std::chrono_literals;

class SnapshotTest : public CaptureTest {
 protected:
  void TearDown() override {
    corvane_.fnSetOutputSize(320, 240);
    corvane_.fnSetOutputImageQuality(90);
    CaptureTest::TearDown();
  }

  // The first frames take a moment to reach the grabber.
  std::optional<std::vector<std::uint8_t>> FirstSnapshot(int camera) {
    for (int attempt = 0; attempt < 50; ++attempt) {
      if (auto jpeg = Snapshot(camera)) return jpeg;
      std::this_thread::sleep_for(20ms);
    }
    return std::nullopt;
  }

  // The bodies of a JPEG's quantization table segments, one after the other.
  static std::vector<std::uint8_t> QuantizationTables(const std::vector<std::uint8_t>& jpeg) {
    constexpr std::uint8_t kStartOfScan = 0xDA, kQuantizationTable = 0xDB;
    std::vector<std::uint8_t> tables;
    for (std::size_t at = 2; at + 4 <= jpeg.size() && jpeg[at] == 0xFF && jpeg[at + 1] != kStartOfScan;) {
      const std::size_t end = std::min(at + 2 + (jpeg[at + 2] << 8 | jpeg[at + 3]), jpeg.size());
      if (jpeg[at + 1] == kQuantizationTable) tables.insert(tables.end(), jpeg.begin() + at + 4, jpeg.begin() + end);
      at = end;
    }
    return tables;
  }

  std::string Get(const std::string& path) {
    const std::string request = "GET " + path + " HTTP/1.0\r\n\r\n";
    char* response = nullptr;
    std::uint32_t length = 0;
    int keepAlive = 0;
    if (!corvane_.fnHandleHttpRequest(request.data(), static_cast<std::uint32_t>(request.size()), &response,
                                      &length, &keepAlive))
      return {};
    std::string answer(response, length);
    corvane_.fnFreeMemory(response);
    return answer;
  }
};

TEST_F(SnapshotTest, ASnapshotIsAJpegOfTheConfiguredSize) {
  ASSERT_EQ(StartRecording(1, (folder_ / "snap.wmv").string()), 1);
  const auto standard = FirstSnapshot(1);
  ASSERT_TRUE(standard);
  const auto image = DecodeJpeg(*standard);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 320);
  EXPECT_EQ(image->height, 240);

  ASSERT_EQ(corvane_.fnSetOutputSize(160, 120), 1);
  const auto small = DecodeJpeg(Snapshot(1).value_or(std::vector<std::uint8_t>{}));
  ASSERT_TRUE(small);
  EXPECT_EQ(small->width, 160);
  EXPECT_EQ(small->height, 120);
}

TEST_F(SnapshotTest, ARefusedSizeKeepsTheOldOne) {
  ASSERT_EQ(StartRecording(1, (folder_ / "snap.wmv").string()), 1);
  ASSERT_TRUE(FirstSnapshot(1));
  EXPECT_EQ(corvane_.fnSetOutputSize(INT_MAX, INT_MAX), 0);
  const auto image = DecodeJpeg(Snapshot(1).value_or(std::vector<std::uint8_t>{}));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 320);
  const std::string answer = Get("/cam1");
  EXPECT_TRUE(DecodeJpeg({answer.begin() + static_cast<long>(answer.find("\r\n\r\n") + 4), answer.end()}));
}

TEST_F(SnapshotTest, OnlyTheLowByteOfTheQualityCounts) {
  ASSERT_EQ(StartRecording(1, (folder_ / "snap.wmv").string()), 1);
  ASSERT_TRUE(FirstSnapshot(1));
  const auto tablesAt = [&](int quality) {
    EXPECT_EQ(corvane_.fnSetOutputImageQuality(quality), 1);
    return QuantizationTables(Snapshot(1).value_or(std::vector<std::uint8_t>{}));
  };
  const auto best = tablesAt(100), low = tablesAt(44);
  ASSERT_FALSE(best.empty());
  EXPECT_NE(low, best);
  EXPECT_EQ(tablesAt(356), best);
  EXPECT_EQ(tablesAt(300), low);
}

TEST_F(SnapshotTest, ACameraThatDoesNotRecordGivesNothing) {
  EXPECT_FALSE(Snapshot(0));
  ASSERT_EQ(StartRecording(0, (folder_ / "snap.wmv").string()), 1);
  ASSERT_TRUE(FirstSnapshot(0));
  corvane_.fnDoStopVideoCapture(0);
  unsigned char* untouched = nullptr;
  std::uint32_t length = 0;
  EXPECT_EQ(corvane_.GetCameraJpeg(0, &untouched, &length), 0);
  EXPECT_EQ(untouched, nullptr);
}

TEST_F(SnapshotTest, SnapshotsWhileTheCameraStopsAndStartsAreSafe) {
  std::atomic<bool> done = false;
  std::atomic<int> decoded = 0, broken = 0;
  std::thread reader([&] {
    while (!done) {
      if (const auto jpeg = Snapshot(0)) (DecodeJpeg(*jpeg) ? decoded : broken)++;
    }
  });
  for (int round = 0; round < 10; ++round) {
    ASSERT_EQ(StartRecording(0, (folder_ / ("round " + std::to_string(round) + ".wmv")).string()), 1);
    std::this_thread::sleep_for(100ms);
    corvane_.fnDoStopVideoCapture(0);
  }
  done = true;
  reader.join();
  EXPECT_GT(decoded, 0);
  EXPECT_EQ(broken, 0);
}

TEST_F(SnapshotTest, CamPathsAnswerTheCamerasJpeg) {
  ASSERT_EQ(StartRecording(1, (folder_ / "snap.wmv").string()), 1);
  ASSERT_TRUE(FirstSnapshot(1));
  corvane_.fnSetWebDirectory(folder_.c_str());

  const std::string answer = Get("/cam1");
  const std::size_t headerEnd = answer.find("\r\n\r\n");
  ASSERT_NE(headerEnd, std::string::npos);
  const std::string header = answer.substr(0, headerEnd), body = answer.substr(headerEnd + 4);
  EXPECT_TRUE(header.starts_with("HTTP/1.0 200 OK\r\n"));
  EXPECT_NE(header.find("\r\nContent-Type: image/jpeg"), std::string::npos);
  EXPECT_NE(header.find("\r\nContent-Length: " + std::to_string(body.size()) + "\r\n"), std::string::npos);
  const auto image = DecodeJpeg({body.begin(), body.end()});
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 320);

  const std::string nested = Get("/live/cam1");
  EXPECT_TRUE(DecodeJpeg({nested.begin() + static_cast<long>(nested.find("\r\n\r\n") + 4), nested.end()}));
  EXPECT_NE(Get("/cam0").find("\r\nContent-Length: 0\r\n"), std::string::npos);
  EXPECT_NE(Get("/cam9").find("\r\nContent-Length: 0\r\n"), std::string::npos);
}

}  // namespace
}  // namespace capture_test
