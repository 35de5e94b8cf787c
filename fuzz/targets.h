// Fuzz targets: one function per parser of outside bytes. Each takes any byte string, must
// neither crash nor read out of bounds, and aborts (through Require) when a property that must
// hold for every input does not. The same functions run under libFuzzer (fuzz_main.cpp, built
// with clang) and in the corpus replay test (built with the project's compiler).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace kelmor::fuzz {

using Input = std::span<const std::uint8_t>;

struct Target {
  std::string_view name;  // also the folder of its seeds under fuzz/corpus/
  void (*run)(Input input);
};

// Every target, in a fixed order.
std::span<const Target> Targets();

// Aborts with the message on stderr when `holds` is false.
void Require(bool holds, const char* what);

void FuzzPack(Input input);          // DecompressBytes, and the round trip of what it gives
void FuzzTreeContent(Input input);   // writing any Content into a tree box and reading it back
void FuzzParseContent(Input input);  // the tree-view accessor's parse of a content
void FuzzCodec(Input input);         // both directions of the GBK codec
void FuzzMemoryFile(Input input);    // FileReadText and its kin on a memory file
void FuzzTableFind(Input input);     // SqliteTable.Find with any condition text
void FuzzEntryView(Input input);     // ShowEntry and FillResults over any stored column bytes

}  // namespace kelmor::fuzz
