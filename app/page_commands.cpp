#include "app/page_commands.h"

#include "runtime/dialogs.h"
#include "runtime/rich_edit_control.h"

namespace kelmor {
namespace {

// The entry's name as a file name: a '/' would make part of it a folder. (0x2F is never the
// second byte of a GBK character, so bytes can be replaced here.)
Text ProposedFile(const Text& name) {
  Text file = name;
  for (char& c : file) {
    if (c == '/') c = '-';
  }
  return file + ".pdf";
}

void ReportFailure(const platform::PrintResult& result, const char* title) {
  if (result.outcome != platform::PrintOutcome::Failed) return;
  const Text what =
      result.file.empty() ? Text("打印失败：") : "无法写入文件[" + result.file + "]：";
  MsgBox(Value::FromText(what + result.reason), kMsgBoxStop, Text(title));
}

}  // namespace

Text PageHeader(const CollectionDescription& c, const Text& name) {
  return name + " — " + c.title;
}

void PrintShownPage(Application& app) {
  const Text name = GetPageName(app.Page());
  if (name.empty()) return;
  ReportFailure(PrintPage(app.Page(), Text(), ProposedFile(name)), "打印");
}

void ExportShownPage(Application& app) {
  const Text name = GetPageName(app.Page());
  if (name.empty()) return;
  const Text file = AskSaveFileName("导出PDF", ProposedFile(name), "PDF 文件 (*.pdf)", "pdf");
  if (file.empty()) return;
  ReportFailure(PrintPage(app.Page(), file, Text()), "导出PDF");
}

}  // namespace kelmor
