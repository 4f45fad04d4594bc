// The request handler's answers, byte for byte, for files under its document root.

#include "CaptureTestSupport.h"

#include <cstring>
#include <fstream>
#include <regex>

namespace capture_test {
namespace {

struct Answer {
  int handled;
  std::string response;
  int keepAlive;
};

class WebServerTest : public CaptureTest {
 protected:
  void SetUp() override {
    CaptureTest::SetUp();
    root_ = folder_ / "www";
    std::filesystem::create_directories(root_ / "sub");
    Write(root_ / "index.htm", "<html>court plan</html>");
    Write(root_ / "index.html", "<html>welcome</html>");
    Write(root_ / "a.TXT", "plain\0text", 10);
    Write(root_ / "readme.XYZ", "xyz");
    Write(folder_ / "secret.txt", "outside the root");
    std::filesystem::create_symlink("/etc/passwd", root_ / "passwd");
    corvane_.fnSetWebDirectory(root_.c_str());
  }

  static void Write(const std::filesystem::path& file, const char* text, std::size_t size = std::string::npos) {
    std::ofstream(file, std::ios::binary).write(text, static_cast<std::streamsize>(
                                                          size == std::string::npos ? std::strlen(text) : size));
  }

  Answer Handle(const std::string& request, int keepAlive = 0) {
    Answer answer{0, "untouched", keepAlive};
    char* response = nullptr;
    std::uint32_t length = 0;
    answer.handled = corvane_.fnHandleHttpRequest(request.data(), static_cast<std::uint32_t>(request.size()),
                                                  &response, &length, &answer.keepAlive);
    if (answer.handled) {
      answer.response.assign(response, length);
      corvane_.fnFreeMemory(response);
    }
    return answer;
  }

  // The whole answer expected, with the date the handler wrote, once that date has the HTTP form.
  static std::string Expected(const std::string& actual, const std::string& status, const std::string& body,
                              const std::string& connection, const std::string& type) {
    std::smatch date;
    static const std::regex form(R"(\r\nDate: ((Mon|Tue|Wed|Thu|Fri|Sat|Sun), \d\d )"
                                 R"((Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) \d{4} \d\d:\d\d:\d\d GMT)\r\n)");
    if (!std::regex_search(actual, date, form)) return "no date in: " + actual;
    return "HTTP/1.0 " + status + "\r\nDate: " + date[1].str() +
           "\r\nServer: VexhollowWebServer/0.1b\r\nAccept-Ranges: bytes\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nConnection: " + connection + "\r\nContent-Type: " + type + "\r\n\r\n" +
           body;
  }

  std::filesystem::path root_;
};

TEST_F(WebServerTest, FilesAreAnsweredWhole) {
  const Answer html = Handle("GET /index.htm HTTP/1.0\r\n\r\n");
  EXPECT_EQ(html.handled, 1);
  EXPECT_EQ(html.response, Expected(html.response, "200 OK", "<html>court plan</html>", "close", "text/html"));

  const Answer text = Handle("GET /a.TXT HTTP/1.0\r\n\r\n");
  EXPECT_EQ(text.response, Expected(text.response, "200 OK", std::string("plain\0text", 10), "close", "text/plain"));

  const Answer unknown = Handle("GET /readme.XYZ HTTP/1.0\r\n\r\n");
  EXPECT_EQ(unknown.response, Expected(unknown.response, "200 OK", "xyz", "close", "image/jpeg"));

  const Answer home = Handle("GET / HTTP/1.0\r\n\r\n");
  EXPECT_EQ(home.response, Expected(home.response, "200 OK", "<html>welcome</html>", "close", "text/html"));
}

TEST_F(WebServerTest, KeepAliveHoldsForFilesAndEndsWithAMissingOne) {
  const std::string asking = "\r\nConnection: Keep-Alive\r\n\r\n";
  const Answer found = Handle("GET /index.htm HTTP/1.0" + asking);
  EXPECT_EQ(found.keepAlive, 1);
  EXPECT_EQ(found.response, Expected(found.response, "200 OK", "<html>court plan</html>", "Keep-Alive", "text/html"));

  const Answer missing = Handle("GET /gone.htm HTTP/1.0" + asking, 1);
  EXPECT_EQ(missing.keepAlive, 0);
  EXPECT_EQ(missing.response, Expected(missing.response, "404 Not Found", "", "close", "text/html"));
}

TEST_F(WebServerTest, AMissingFileIsNotFoundWithTheNotFoundPage) {
  Write(root_ / "fnf.html", "<p>no such page</p>");
  const Answer missing = Handle("GET /gone.htm HTTP/1.0\r\n\r\n");
  EXPECT_EQ(missing.response, Expected(missing.response, "404 Not Found", "<p>no such page</p>", "close", "text/html"));
}

TEST_F(WebServerTest, OtherMethodsAreNotImplemented) {
  const Answer bare = Handle("POST /x HTTP/1.0\r\n\r\n");
  EXPECT_EQ(bare.response, Expected(bare.response, "501 Not Implemented", "", "close", "text/html"));

  Write(root_ / "mna.html", "<p>GET only</p>");
  const Answer paged = Handle("POST /x HTTP/1.0\r\n\r\n");
  EXPECT_EQ(paged.response, Expected(paged.response, "501 Not Implemented", "<p>GET only</p>", "close", "text/html"));
}

TEST_F(WebServerTest, NothingOutsideTheRootIsServed) {
  for (const char* path : {"/../etc/passwd", "/../secret.txt", "/sub/../../secret.txt", "/passwd", "//etc/passwd",
                           "/sub", "/"}) {
    SCOPED_TRACE(path);
    if (std::string(path) == "/") std::filesystem::remove(root_ / "index.html");
    const Answer answer = Handle(std::string("GET ") + path + " HTTP/1.0\r\n\r\n");
    EXPECT_EQ(answer.response, Expected(answer.response, "404 Not Found", "", "close", "text/html"));
  }
}

// Answers are whole texts in memory with a 32-bit length; a recording of a gigabyte is no answer.
TEST_F(WebServerTest, AFileTooLargeForAnAnswerIsRefused) {
  std::ofstream(root_ / "day.wmv").close();
  std::filesystem::resize_file(root_ / "day.wmv", (std::uintmax_t{1} << 30) + 1);
  const Answer answer = Handle("GET /day.wmv HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n");
  EXPECT_EQ(answer.keepAlive, 0);
  EXPECT_EQ(answer.response, Expected(answer.response, "403 Forbidden", "", "close", "text/html"));
}

TEST_F(WebServerTest, WithoutADocumentRootNoFileIsServed) {
  corvane_.fnSetWebDirectory("");
  const Answer answer = Handle("GET /etc/passwd HTTP/1.0\r\n\r\n");
  EXPECT_EQ(answer.response, Expected(answer.response, "404 Not Found", "", "close", "text/html"));
}

TEST_F(WebServerTest, MalformedRequestLinesAreLeftAlone) {
  for (const char* request : {"GET /index.html", "GET", ""}) {
    const Answer answer = Handle(request, 1);
    EXPECT_EQ(answer.handled, 0) << request;
    EXPECT_EQ(answer.response, "untouched");
    EXPECT_EQ(answer.keepAlive, 1);
  }
}

TEST_F(WebServerTest, ARequestIsCompleteAtTheBlankLine) {
  const auto complete = [&](const std::string& text) {
    return corvane_.fnIsRequestComplete(text.data(), static_cast<std::uint32_t>(text.size()));
  };
  EXPECT_EQ(complete("GET / HTTP/1.0\r\nHost: x\r\n\r\n"), 1);
  EXPECT_EQ(complete("GET / HTTP/1.0\r\nHost: x\r\n"), 0);
  EXPECT_EQ(complete("\r\n"), 0);
}

}  // namespace
}  // namespace capture_test
