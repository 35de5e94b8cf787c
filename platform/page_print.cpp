#include "platform/page_print.h"

#include "platform/rich_edit.h"

namespace kelmor::platform {

std::string GetSaveFileNameA(const SaveFileRequest& request) {
  Host* host = CurrentHost();
  return host == nullptr ? std::string() : host->AskSaveFileName(request);
}

PrintResult PrintPage(HWND rich, const std::string& file, const std::string& proposed_file) {
  const RichEdit* page = RichEdit::From(rich);
  Host* host = CurrentHost();
  if (page == nullptr || !page->Printable() || host == nullptr) return {};
  return host->PrintPage(PrintRequest{rich, page->PageHeader(), file, proposed_file});
}

}  // namespace kelmor::platform
