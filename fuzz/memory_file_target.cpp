#include <algorithm>
#include <climits>

#include "fuzz/targets.h"
#include "runtime/memory_file.h"

namespace kelmor::fuzz {

// The first byte chooses the count given to FileReadText (0: omitted), the rest is the file,
// read as a reader of records does: a text, then past the byte that stopped it.
void FuzzMemoryFile(Input input) {
  if (input.empty()) return;
  const std::optional<std::int32_t> count =
      input[0] == 0 ? std::nullopt : std::optional<std::int32_t>(input[0] - 128);
  const Bytes data(input.begin() + 1, input.end());
  const std::int32_t file = OpenMemoryFile();
  Require(FileWriteBytes(file, data), "write");
  Require(FileContent(file) == data, "content as written");
  Require(SeekFileStart(file), "seek");
  std::size_t position = 0;
  while (!FileAtEnd(file)) {
    const Text text = FileReadText(file, count);
    // The text is the file's bytes from the position: nothing invented, nothing past the end.
    Require(text.size() <= data.size() - position, "text within the file");
    Require(Bytes(text.begin(), text.end()) ==
                Bytes(data.begin() + static_cast<long>(position),
                      data.begin() + static_cast<long>(position + text.size())),
            "text is the file's bytes");
    Require(text.find('\0') == Text::npos, "no zero byte in a text");
    const std::size_t rest = FileReadBytes(file, INT_MAX).size();
    const std::size_t after = data.size() - rest;
    Require(after >= position + text.size() || rest == 0, "the read does not go backwards");
    // A read that stopped at once (count <= 0 or a stop byte) is stepped over by one byte.
    position = std::max(after, position + 1);
    if (!SeekFile(file, 1, static_cast<std::int64_t>(position))) break;
  }
  CloseFile(file);
  Require(FileLength(file) == -1, "closed");
}

}  // namespace kelmor::fuzz
