// Printing the page and saving it as PDF (Qt Print Support), and the save-file dialog. A printed
// page is the page as shown: its text in order with its labels and formats, in the Song font,
// black on white at its own size (the screen's zoom is left out), laid out on A4 unless the
// print dialog chose otherwise, with the header line above and "第 N 页，共 M 页" below every
// sheet; a long page breaks over several sheets between lines, never through one.
#pragma once

#include <QString>
#include <string>

#include "platform/host.h"

class QPagedPaintDevice;
class QWidget;

namespace kelmor::display {

// The save-file dialog (Qt's own, so that it looks and reads the same everywhere). A name GBK
// cannot hold is refused with a message and the dialog asked again.
std::string AskSaveFileName(const platform::SaveFileRequest& request, QWidget* parent);

// Prints the page of request.page: to request.file as PDF, or through the print dialog (which
// prints to request.proposed_file, in the documents folder, when there is no printer). Files
// are written through platform::WriteFileReplacingA.
platform::PrintResult PrintPage(const platform::PrintRequest& request, QWidget* parent);

// Paints the page of `rich` (a rich edit) on the device's sheets; false with `reason` when the
// device cannot be painted on.
bool PaintPage(platform::HWND rich, const QString& header, QPagedPaintDevice& device,
               QString* reason);

// The user's documents folder (their home when it does not exist).
QString DocumentsFolder();

}  // namespace kelmor::display
