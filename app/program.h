// The program once its display is up: the program folder is checked, then the reference book
// runs in its main window until that closes.
#pragma once

#include "runtime/value.h"

namespace kelmor {

// Shown when the program folder's path holds a character the program's texts cannot hold.
inline constexpr const char* kUnusableFolderMessage =
    "程序所在文件夹的路径中含有本程序不能处理的字符，无法使用这个文件夹。\r\n"
    "请把程序移到路径中不含这类字符的文件夹后再运行。";

// Runs the book from `program_folder` (ProgramDirectory(), empty when its path cannot be held as
// text) and returns the exit code: 0 after the main window has closed and the end-of-program
// routine has run, 1 when the folder is refused (nothing opened, nothing written).
int RunProgram(const Text& program_folder);

}  // namespace kelmor
