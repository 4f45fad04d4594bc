#include "WebServer.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <utility>

namespace corvane {
namespace {

constexpr std::string_view kServerName = "VexhollowWebServer/0.1b";
constexpr std::string_view kDefaultDocument = "/index.html";
constexpr std::string_view kNotFoundPage = "/fnf.html";
constexpr std::string_view kNotImplementedPage = "/mna.html";

// English names whatever locale the host has set, as HTTP dates require.
std::string HttpDate(std::time_t now) {
  static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[128];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT", days[utc.tm_wday], utc.tm_mday,
                months[utc.tm_mon], utc.tm_year + 1900, utc.tm_hour, utc.tm_min, utc.tm_sec);
  return text;
}

std::string Header(std::string_view status, std::size_t length, bool keepAlive, std::string_view contentType) {
  char header[1024];
  const int size = std::snprintf(
      header, sizeof header,
      "HTTP/1.0 %.*s\r\nDate: %s\r\nServer: %.*s\r\nAccept-Ranges: bytes\r\nContent-Length: %zu\r\n"
      "Connection: %s\r\nContent-Type: %.*s\r\n\r\n",
      static_cast<int>(status.size()), status.data(), HttpDate(std::time(nullptr)).c_str(),
      static_cast<int>(kServerName.size()), kServerName.data(), length, keepAlive ? "Keep-Alive" : "close",
      static_cast<int>(contentType.size()), contentType.data());
  return std::string(header, static_cast<std::size_t>(std::clamp(size, 0, static_cast<int>(sizeof header) - 1)));
}

// The camera named by the digit right after "/cam"; no digit means camera 0.
int CameraOf(std::string_view path, std::size_t cam) {
  const std::size_t digit = cam + 4;
  return digit < path.size() && std::isdigit(static_cast<unsigned char>(path[digit])) ? path[digit] - '0' : 0;
}

}  // namespace

CWebServer::CWebServer(SnapshotSource snapshot) : snapshot_(std::move(snapshot)) {
  // Each content type with its extensions, separated by blanks.
  static const std::pair<std::string_view, std::string_view> types[] = {
      {"application/msword", "doc"},
      {"application/octet-stream", "bin dll exe"},
      {"application/pdf", "pdf"},
      {"application/pkcs7-mime", "p7c"},
      {"application/postscript", "ai eps ps"},
      {"application/vnd.fdf", "fdf"},
      {"application/x-compressed", "arj cab"},
      {"application/x-gzip", "gz"},
      {"application/x-java-class", "class"},
      {"application/x-javascript", "js"},
      {"application/x-lzh", "lzh"},
      {"application/x-ms-shortcut", "lnk"},
      {"application/x-tar", "tar"},
      {"application/x-winhelp", "hlp"},
      {"application/x-x509-ca-cert", "cert"},
      {"application/zip", "zip"},
      {"audio/aiff", "aif aifc aiff"},
      {"audio/basic", "au snd"},
      {"audio/midi", "mid rmi"},
      {"audio/mpeg", "mp3"},
      {"audio/voxware", "vox"},
      {"audio/wav", "wav"},
      {"audio/x-pn-realaudio", "ra ram"},
      {"image/bmp", "bmp"},
      {"image/gif", "gif"},
      {"image/jpeg", "jpeg jpg"},
      {"image/tiff", "tif tiff"},
      {"image/xbm", "xbm"},
      {"model/vrml", "wrl"},
      {"text/css", "css"},
      {"text/html", "htm html"},
      {"text/plain", "c cpp def h txt"},
      {"text/richtext", "rtf rtx"},
      {"text/x-java-source", "java"},
      {"video/mpeg", "mpe mpeg mpg"},
      {"video/msvideo", "avi"},
      {"video/quicktime", "mov qt"},
      {"wwwserver/html-ssi", "shtml"},
      {"wwwserver/isapi", "asa asp cfm cgi dbm isa php plx url wcgi"},
  };
  for (const auto& [type, extensions] : types) {
    for (std::size_t begin = 0; begin < extensions.size();) {
      const std::size_t end = std::min(extensions.find(' ', begin), extensions.size());
      mimeTypes_.emplace(extensions.substr(begin, end - begin), type);
      begin = end + 1;
    }
  }
}

bool CWebServer::IsRequestComplete(std::string_view request) { return request.ends_with("\r\n\r\n"); }

std::string CWebServer::ContentType(std::string_view path) const {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return "image/jpeg";
  std::string extension(path.substr(dot + 1));
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  const auto found = mimeTypes_.find(extension);
  return found == mimeTypes_.end() ? "image/jpeg" : found->second;
}

void CWebServer::SetDocumentRoot(const std::string& root) {
  std::lock_guard guard(rootLock_);
  documentRoot_ = root;
}

std::filesystem::path CWebServer::DocumentRoot() const {
  std::lock_guard guard(rootLock_);
  return documentRoot_;
}

// Only regular files that resolve, links followed, to a place inside the root; opened for reading only.
std::optional<std::string> CWebServer::ReadDocument(std::string_view path, bool& tooLarge) const {
  namespace fs = std::filesystem;
  tooLarge = false;
  const fs::path documentRoot = DocumentRoot();
  if (documentRoot.empty() || path.find('\0') != std::string_view::npos) return std::nullopt;
  std::error_code error;
  const fs::path root = fs::canonical(documentRoot, error);
  if (error) return std::nullopt;
  const std::size_t relative = std::min(path.find_first_not_of('/'), path.size());
  const fs::path target = fs::weakly_canonical(root / path.substr(relative), error);
  if (error || std::mismatch(root.begin(), root.end(), target.begin(), target.end()).first != root.end() ||
      !fs::is_regular_file(target, error))
    return std::nullopt;
  const std::uintmax_t size = fs::file_size(target, error);
  if (error) return std::nullopt;
  if (size > kLargestDocument) {
    tooLarge = true;
    return std::nullopt;
  }
  std::ifstream file(target, std::ios::binary);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!file.read(bytes.data(), static_cast<std::streamsize>(size))) return std::nullopt;
  return bytes;
}

bool CWebServer::HandleRequest(std::string_view request, std::string& response, int& keepAlive) const {
  const std::size_t methodEnd = request.find(' ');
  if (methodEnd == std::string_view::npos) return false;
  const bool isGet = request.substr(0, methodEnd) == "GET";
  std::string_view path = kNotImplementedPage;
  if (isGet) {
    const std::size_t pathEnd = request.find(' ', methodEnd + 1);
    if (pathEnd == std::string_view::npos) return false;
    path = request.substr(methodEnd + 1, pathEnd - methodEnd - 1);
    if (path == "/") path = kDefaultDocument;
  }
  if (request.find("\nConnection: Keep-Alive") != std::string_view::npos) keepAlive = 1;

  std::string status = isGet ? "200 OK" : "501 Not Implemented";
  std::string contentType = ContentType(path);
  bool tooLarge = false;
  std::optional<std::string> body = ReadDocument(path, tooLarge);
  if (tooLarge) {
    keepAlive = 0;
    status = "403 Forbidden";
    body.emplace();
    contentType = ContentType(kNotFoundPage);
  } else if (!body) {
    keepAlive = 0;
    if (const std::size_t cam = path.find("/cam"); isGet && cam != std::string_view::npos) {
      const std::vector<std::uint8_t> jpeg = snapshot_(CameraOf(path, cam));
      body.emplace(jpeg.begin(), jpeg.end());
      contentType = ContentType(".jpg");
    } else if (isGet) {
      status = "404 Not Found";
      body = ReadDocument(kNotFoundPage, tooLarge).value_or(std::string());
      contentType = ContentType(kNotFoundPage);
    } else {
      body.emplace();
    }
  }
  response = Header(status, body->size(), keepAlive != 0, contentType) + *body;
  return true;
}

}  // namespace corvane
