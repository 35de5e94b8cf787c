// Memory files: byte buffers with a position, read and written through the file commands by the
// number OpenMemoryFile returns. Uses only the runtime's values and ToText.
//
// The runtime owns every open file in one process-wide table; a file lives until CloseFile
// (or the end of the process) and its number is never reused, so a stale number is simply a
// bad file. REQUIRES: the one user-interface thread (the table is not locked).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>

#include "runtime/value.h"

namespace kelmor {

// In-memory files, identified by the file number that OpenMemoryFile returns. Every command on
// a number that is not open fails as its comment says.

enum class SeekOrigin : std::int32_t { Start = 1, End = 2, Current = 3 };

std::int32_t OpenMemoryFile();
void CloseFile(std::int32_t file);
// origin 1 start, 2 end, 3 current; any other value gives false.
bool SeekFile(std::int32_t file, std::int32_t origin, std::int64_t offset);
bool SeekFileStart(std::int32_t file);
// Up to count bytes from the position; count <= 0 or a bad file gives the empty byte string.
Bytes FileReadBytes(std::int32_t file, std::int32_t count);
// Text up to a stop byte 0x00 or 0x1A (double-byte aware), the position left AT the stop byte;
// count omitted = the whole file.
Text FileReadText(std::int32_t file, std::optional<std::int32_t> count = std::nullopt);
// Writes each byte string in order; false (position unchanged) on failure.
bool FileWriteBytes(std::int32_t file, std::initializer_list<const Bytes*> data);
bool FileWriteBytes(std::int32_t file, const Bytes& data);
// Writes each value's text (texts as they are, other values as ToText), no terminator.
bool FileWriteText(std::int32_t file, std::initializer_list<Value> values);
bool FileWriteText(std::int32_t file, const Text& text);
// At or past the end; in text mode also before a 0x00 or 0x1A byte. A bad file gives true.
bool FileAtEnd(std::int32_t file, bool text_mode = false);
// -1 for a bad file.
std::int64_t FileLength(std::int32_t file);

// Raw view of a memory file's bytes (empty for a bad file), for callers that hand the whole
// content on at once.
Bytes FileContent(std::int32_t file);

}  // namespace kelmor
