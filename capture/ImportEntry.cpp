#include "ImportEntry.h"

#include <elf.h>
#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>

namespace corvane {
namespace {

struct Search {
  const std::string& library;
  const char* function;
  void** entry = nullptr;
  bool readOnly = false;
};

int Visit(dl_phdr_info* info, std::size_t, void* data) {
  auto* search = static_cast<Search*>(data);
  std::error_code error;
  if (!info->dlpi_name || !*info->dlpi_name || !std::filesystem::equivalent(info->dlpi_name, search->library, error))
    return 0;
  const ElfW(Dyn)* dynamic = nullptr;
  ElfW(Addr) relroBegin = 0, relroEnd = 0;
  for (int header = 0; header < info->dlpi_phnum; ++header) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[header];
    if (segment.p_type == PT_DYNAMIC) dynamic = reinterpret_cast<const ElfW(Dyn)*>(info->dlpi_addr + segment.p_vaddr);
    if (segment.p_type == PT_GNU_RELRO) {
      // The loader makes only the whole pages of the range read-only.
      const auto pageMask = ~static_cast<ElfW(Addr)>(sysconf(_SC_PAGESIZE) - 1);
      relroBegin = info->dlpi_addr + segment.p_vaddr;
      relroEnd = (relroBegin + segment.p_memsz) & pageMask;
    }
  }
  if (!dynamic) return 1;
  // The loader may or may not have moved these addresses by the library's base.
  const auto at = [&](ElfW(Addr) address) { return address < info->dlpi_addr ? address + info->dlpi_addr : address; };
  const ElfW(Sym)* symbols = nullptr;
  const char* names = nullptr;
  const ElfW(Rela)* calls = nullptr;
  std::size_t callsSize = 0;
  bool rela = false;
  for (const ElfW(Dyn)* entry = dynamic; entry->d_tag != DT_NULL; ++entry) {
    switch (entry->d_tag) {
      case DT_SYMTAB: symbols = reinterpret_cast<const ElfW(Sym)*>(at(entry->d_un.d_ptr)); break;
      case DT_STRTAB: names = reinterpret_cast<const char*>(at(entry->d_un.d_ptr)); break;
      case DT_JMPREL: calls = reinterpret_cast<const ElfW(Rela)*>(at(entry->d_un.d_ptr)); break;
      case DT_PLTRELSZ: callsSize = entry->d_un.d_val; break;
      case DT_PLTREL: rela = entry->d_un.d_val == DT_RELA; break;
      default: break;
    }
  }
  if (!symbols || !names || !calls || !rela) return 1;
  for (std::size_t call = 0; call < callsSize / sizeof(ElfW(Rela)); ++call) {
    const ElfW(Sym)& symbol = symbols[ELF64_R_SYM(calls[call].r_info)];
    if (std::strcmp(names + symbol.st_name, search->function) != 0) continue;
    const ElfW(Addr) entry = info->dlpi_addr + calls[call].r_offset;
    search->entry = reinterpret_cast<void**>(entry);
    search->readOnly = entry >= relroBegin && entry < relroEnd;
    break;
  }
  return 1;
}

}  // namespace

ImportEntry::ImportEntry(const std::string& library, const char* function) {
  Search search{library, function};
  dl_iterate_phdr(Visit, &search);
  entry_ = search.entry;
  readOnly_ = search.readOnly;
  if (entry_) original_ = __atomic_load_n(entry_, __ATOMIC_SEQ_CST);
}

ImportEntry::~ImportEntry() {
  if (entry_) Write(original_);
}

void ImportEntry::Redirect(void* replacement) {
  if (entry_) Write(replacement);
}

void ImportEntry::Write(void* target) {
  const long page = sysconf(_SC_PAGESIZE);
  const auto pageMask = ~static_cast<std::uintptr_t>(page - 1);
  void* first = reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(entry_) & pageMask);
  if (readOnly_ && mprotect(first, static_cast<std::size_t>(page), PROT_READ | PROT_WRITE) != 0) return;
  // Another thread of the library may call through the entry meanwhile: it finds the old or the new one.
  __atomic_store_n(entry_, target, __ATOMIC_SEQ_CST);
  if (readOnly_) mprotect(first, static_cast<std::size_t>(page), PROT_READ);
}

}  // namespace corvane
