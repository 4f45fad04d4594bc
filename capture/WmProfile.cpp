#include "WmProfile.h"

#include "PreviewWindow.h"

#include <glib.h>

#include <fcntl.h>
#include <unistd.h>

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

// Profiles name durations in units of 100 ns, as the format has them.

namespace corvane {
namespace {

constexpr double kUnitsPerSecond = 1e7;

// A profile is a few kilobytes of text; anything else that bears the name is not read at all.
constexpr off_t kLargestProfile = 64 * 1024;

std::optional<std::vector<char>> ReadSmallFile(const std::string& path) {
  const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (file < 0) return std::nullopt;
  struct stat status {};
  std::optional<std::vector<char>> bytes;
  if (fstat(file, &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= kLargestProfile) {
    bytes.emplace(static_cast<std::size_t>(status.st_size));
    const ssize_t read = pread(file, bytes->data(), bytes->size(), 0);
    if (read < 0) bytes.reset();
    else bytes->resize(static_cast<std::size_t>(read));
  }
  close(file);
  return bytes;
}

// As written; attribute names are found in a lower-case copy, at the same places.
std::optional<std::string> ReadUtf16File(const std::string& path) {
  const std::optional<std::vector<char>> read = ReadSmallFile(path);
  if (!read) return std::nullopt;
  const std::vector<char>& bytes = *read;
  if (bytes.empty() || bytes.size() % 2 != 0) return std::nullopt;
  std::vector<gunichar2> units(bytes.size() / 2);
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<gunichar2>(static_cast<unsigned char>(bytes[2 * i]) |
                                      static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  const size_t skip = units.front() == 0xFEFF ? 1 : 0;
  gchar* utf8 = g_utf16_to_utf8(units.data() + skip, static_cast<glong>(units.size() - skip), nullptr, nullptr, nullptr);
  if (!utf8) return std::nullopt;
  std::string text(utf8);
  g_free(utf8);
  return text;
}

std::string Lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// The value of name="..." after the given start, as written; profiles write attribute names in any case.
std::optional<std::string> AttributeText(const std::string& text, const std::string& lowered, const std::string& name,
                                         size_t from = 0) {
  const std::string key = name + "=\"";
  const size_t at = lowered.find(key, from);
  if (at == std::string::npos) return std::nullopt;
  const size_t begin = at + key.size(), end = text.find('"', begin);
  if (end == std::string::npos) return std::nullopt;
  return text.substr(begin, end - begin);
}

// A whole number, and nothing but it.
std::optional<long long> Number(const std::string& text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Clamped where it would not fit, a size no camera delivers anyway.
int Side(long long pixels) { return static_cast<int>(std::clamp(pixels, 0LL, INT_MAX - 1LL)); }

// The simplest fraction whose time per frame the profile names: it keeps only whole units, so 7.5 frames
// per second is written 1333333 and 29.97 either 333667 or 333666. The denominator of the television
// rates (1001) is the largest looked for, as encoders take no time base much finer; a time per frame
// that no such fraction names to the unit takes the nearest of them.
FrameRate RateOf(long long timePerFrame) {
  const double named = static_cast<double>(timePerFrame);
  FrameRate nearest{1, 1};
  double nearestOff = std::abs(kUnitsPerSecond - named);
  for (int seconds = 1; seconds <= 1001; ++seconds) {
    const long long frames = std::llround(kUnitsPerSecond * seconds / named);
    if (frames <= 0) continue;
    const double off = std::abs(kUnitsPerSecond * seconds / static_cast<double>(frames) - named);
    if (off < 1) return {static_cast<int>(frames), seconds};
    if (off < nearestOff) {
      nearest = {static_cast<int>(frames), seconds};
      nearestOff = off;
    }
  }
  return nearest;
}

}  // namespace

// Six digits that count, in plain decimals: a rate of one frame a day is 0.0000115741, not 1.15741e-05.
std::string FramesPerSecondText(double framesPerSecond) {
  const int decimals = std::max(0, 5 - static_cast<int>(std::floor(std::log10(framesPerSecond))));
  char text[400];
  const auto [end, error] =
      std::to_chars(text, text + sizeof text, framesPerSecond, std::chars_format::fixed, decimals);
  if (error != std::errc()) return {};
  std::string written(text, end);
  if (written.find('.') != std::string::npos) {
    written.erase(written.find_last_not_of('0') + 1);
    if (written.back() == '.') written.pop_back();
  }
  return written;
}

std::optional<WmProfile> LoadWmProfile(const std::string& path) {
  const std::optional<std::string> written = ReadUtf16File(path);
  if (!written) return std::nullopt;
  const std::string text = Lowered(*written);
  if (text.find("<profile") == std::string::npos) return std::nullopt;
  const size_t video = text.find("<videoinfoheader");
  if (video == std::string::npos) return std::nullopt;
  const auto number = [&](const char* name, size_t from) -> std::optional<long long> {
    const std::optional<std::string> value = AttributeText(*written, text, name, from);
    return value ? Number(*value) : std::nullopt;
  };

  const auto width = number("biwidth", video);
  const auto height = number("biheight", video);
  if (!width || !height) return std::nullopt;

  WmProfile profile;
  // The encoder takes even widths only; a width that no camera delivers stays as named, to be refused. A
  // bitmap stored top down has a negative height.
  profile.width = Side(*width);
  if (profile.width % 2 && profile.width < kMaxFrameSide) ++profile.width;
  profile.height = Side(*height < 0 ? -std::max(*height, -LLONG_MAX) : *height);
  if (const auto bitrate = number("dwbitrate", video); bitrate && *bitrate > 0 && *bitrate <= G_MAXINT)
    profile.bitrate = static_cast<int>(*bitrate);
  if (const auto frameText = AttributeText(*written, text, "avgtimeperframe", video)) {
    const std::optional<long long> frame = Number(*frameText);
    if (!frame || *frame <= 0) {
      profile.unnamedRate = *frameText;
    } else {
      const long long within = std::clamp(*frame, static_cast<long long>(kUnitsPerSecond) / kFastestRate,
                                          static_cast<long long>(kUnitsPerSecond) / kSlowestRate);
      profile.rate = RateOf(within);
      // No fraction of the rates recorded names a very long time per frame: it is told as it is.
      if (within < *frame) profile.cappedRate = kUnitsPerSecond / static_cast<double>(*frame);
      else if (within > *frame) profile.cappedRate = RateOf(*frame).PerSecond();
    }
  }
  if (const auto spacing = number("maxkeyframespacing", 0); spacing && *spacing > 0)
    profile.keyFrameSeconds = std::clamp(static_cast<int>(*spacing / kUnitsPerSecond), 1, 60);
  return profile;
}

}  // namespace corvane
