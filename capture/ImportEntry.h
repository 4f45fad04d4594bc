// The entry through which a loaded shared library calls a function it imports: rewriting it sends that
// library's calls elsewhere and leaves every other caller of the function as it was.
#pragma once

#include <string>

namespace corvane {

class ImportEntry {
 public:
  // The entry of the library loaded from that file for the function it calls through its procedure
  // linkage table; none when the library is not loaded or makes no such call.
  ImportEntry(const std::string& library, const char* function);
  ImportEntry(const ImportEntry&) = delete;
  ImportEntry& operator=(const ImportEntry&) = delete;
  // The library calls what it called before again.
  ~ImportEntry();

  // From now on the library's calls of the function go to the replacement.
  void Redirect(void* replacement);

 private:
  void Write(void* target);

  void** entry_ = nullptr;
  void* original_ = nullptr;
  // The entry lies where the loader made the table read-only once it was filled.
  bool readOnly_ = false;
};

}  // namespace corvane
