// HTTP/1.0 answers for files under a document root and for camera snapshots, from whole request texts to
// whole response texts. The network layer that would carry them is the host's.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class CWebServer {
 public:
  // JPEG bytes of a camera, empty when it has none.
  using SnapshotSource = std::function<std::vector<std::uint8_t>(int camera)>;

  // A file is answered whole from memory, so larger ones are refused with "403 Forbidden".
  static constexpr std::uintmax_t kLargestDocument = 64 * 1024 * 1024;

  explicit CWebServer(SnapshotSource snapshot);

  // Until a root is set, no file is served.
  void SetDocumentRoot(const std::string& root);

  static bool IsRequestComplete(std::string_view request);

  // keepAlive is the connection's flag: set by a request that asks for it, cleared by every answer that
  // ends the connection. False for a malformed request line, which leaves response and flag alone.
  bool HandleRequest(std::string_view request, std::string& response, int& keepAlive) const;

 private:
  std::filesystem::path DocumentRoot() const;
  std::string ContentType(std::string_view path) const;
  std::optional<std::string> ReadDocument(std::string_view path, bool& tooLarge) const;

  SnapshotSource snapshot_;
  // Set by one host thread while another may be answering a request.
  mutable std::mutex rootLock_;
  std::filesystem::path documentRoot_;
  std::map<std::string, std::string, std::less<>> mimeTypes_;
};

}  // namespace corvane
