// Gives symbols of a shared object exported names that contain '@', which no ELF linker writes:
// they all read "name@12" as "name" in symbol version "12". The object exports each symbol under
// a stand-in with '_' in place of '@' and is linked with a SysV hash table only; this tool renames
// the stand-ins in the dynamic string table and rebuilds the hash table for the new names.
//
//   vorlix-exportnames LIBRARY NAME...

#include <elf.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// `count` objects of T at `offset`, or null when they do not lie within the image.
template <typename T>
T* At(std::vector<char>& image, uint64_t offset, uint64_t count = 1) {
  if (offset > image.size() || count > (image.size() - offset) / sizeof(T)) return nullptr;
  return reinterpret_cast<T*>(image.data() + offset);
}

// The SysV ELF hash of a symbol name.
uint32_t ElfHash(const char* name) {
  uint32_t hash = 0;
  for (const auto* c = reinterpret_cast<const unsigned char*>(name); *c != 0; ++c) {
    hash = (hash << 4) + *c;
    const uint32_t high = hash & 0xf0000000;
    hash ^= high >> 24;
    hash &= ~high;
  }
  return hash;
}

struct DynamicSymbols {
  Elf64_Sym* symbols = nullptr;  // null: the image has no table this tool can handle
  uint64_t count = 0;
  char* strings = nullptr;
  uint64_t stringsSize = 0;
  Elf64_Word* hash = nullptr;  // nbucket, nchain, buckets, chains
  uint64_t hashWords = 0;
};

DynamicSymbols FindDynamicSymbols(std::vector<char>& image) {
  const auto* header = At<Elf64_Ehdr>(image, 0);
  if (header == nullptr || std::memcmp(header->e_ident, ELFMAG, SELFMAG) != 0 ||
      header->e_ident[EI_CLASS] != ELFCLASS64) {
    return {};
  }
  Elf64_Shdr* sections = At<Elf64_Shdr>(image, header->e_shoff, header->e_shnum);
  if (sections == nullptr) return {};
  Elf64_Shdr* end = sections + header->e_shnum;
  const auto find = [&](Elf64_Word type) {
    Elf64_Shdr* found =
        std::find_if(sections, end, [type](const Elf64_Shdr& s) { return s.sh_type == type; });
    return found == end ? nullptr : found;
  };
  const Elf64_Shdr* dynsym = find(SHT_DYNSYM);
  const Elf64_Shdr* hash = find(SHT_HASH);
  if (dynsym == nullptr || hash == nullptr || find(SHT_GNU_HASH) != nullptr ||
      dynsym->sh_link >= header->e_shnum) {
    return {};
  }
  const Elf64_Shdr& dynstr = sections[dynsym->sh_link];
  DynamicSymbols dynamic;
  dynamic.count = dynsym->sh_size / sizeof(Elf64_Sym);
  dynamic.stringsSize = dynstr.sh_size;
  dynamic.hashWords = hash->sh_size / sizeof(Elf64_Word);
  dynamic.strings = At<char>(image, dynstr.sh_offset, dynamic.stringsSize);
  dynamic.hash = At<Elf64_Word>(image, hash->sh_offset, dynamic.hashWords);
  dynamic.symbols = At<Elf64_Sym>(image, dynsym->sh_offset, dynamic.count);
  if (dynamic.strings == nullptr || dynamic.hash == nullptr) dynamic.symbols = nullptr;
  return dynamic;
}

// Renames the stand-in of `name`; false when there is none.
bool Rename(DynamicSymbols& dynamic, const std::string& name) {
  std::string standIn = name;
  std::replace(standIn.begin(), standIn.end(), '@', '_');
  for (uint64_t i = 1; i < dynamic.count; ++i) {
    const uint64_t offset = dynamic.symbols[i].st_name;
    if (offset + standIn.size() < dynamic.stringsSize &&
        standIn.compare(dynamic.strings + offset) == 0) {
      std::memcpy(dynamic.strings + offset, name.data(), name.size());
      return true;
    }
  }
  return false;
}

// False when the table is not one bucket array and one chain per symbol.
bool RebuildHash(DynamicSymbols& dynamic) {
  if (dynamic.hashWords < 2) return false;
  const Elf64_Word bucketCount = dynamic.hash[0];
  if (bucketCount == 0 || dynamic.hash[1] != dynamic.count ||
      dynamic.hashWords != 2 + uint64_t{bucketCount} + dynamic.count) {
    return false;
  }
  Elf64_Word* buckets = dynamic.hash + 2;
  Elf64_Word* chains = buckets + bucketCount;
  std::fill(buckets, chains + dynamic.count, 0);
  for (uint64_t i = 1; i < dynamic.count; ++i) {
    const uint32_t bucket = ElfHash(dynamic.strings + dynamic.symbols[i].st_name) % bucketCount;
    chains[i] = buckets[bucket];
    buckets[bucket] = static_cast<Elf64_Word>(i);
  }
  return true;
}

int Fail(const char* path, const std::string& why) {
  std::fprintf(stderr, "vorlix-exportnames: %s: %s\n", path, why.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: vorlix-exportnames LIBRARY NAME...\n");
    return 2;
  }
  const char* path = argv[1];
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail(path, "cannot read");
  std::vector<char> image{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  DynamicSymbols dynamic = FindDynamicSymbols(image);
  if (dynamic.symbols == nullptr) {
    return Fail(path, "needs a 64-bit ELF object with a SysV hash table only (--hash-style=sysv)");
  }
  for (int i = 2; i < argc; ++i) {
    if (!Rename(dynamic, argv[i])) return Fail(path, std::string("no stand-in for ") + argv[i]);
  }
  if (!RebuildHash(dynamic)) return Fail(path, "unexpected hash table layout");
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out.write(image.data(), static_cast<std::streamsize>(image.size()))) {
    return Fail(path, "cannot write");
  }
  return 0;
}
