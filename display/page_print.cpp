#include "display/page_print.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <vector>

#include "display/fonts.h"
#include "display/qt_text.h"
#include "display/rich_text.h"
#include "platform/file_copy.h"
#include "platform/rich_edit.h"

namespace kelmor::display {
namespace {

using platform::PrintOutcome;
using platform::PrintResult;

constexpr double kHeaderPoints = 9;

void SetUpSheets(QPagedPaintDevice& device) {
  device.setPageSize(QPageSize(QPageSize::A4));
  device.setPageMargins(QMarginsF(20, 15, 20, 15), QPageLayout::Millimeter);
}

// A PDF file written whole or not at all; `paint` paints into the file of the name it is given.
PrintResult WriteFile(const QString& file, const std::function<bool(const QString&, QString*)>& paint) {
  PrintResult result;
  const std::optional<Text> gbk = ToGbk(file);
  result.file = gbk.value_or(ToGbk(FromTyped(file).kept).value_or(Text()));
  if (!gbk) {
    result.outcome = PrintOutcome::Failed;
    result.reason = ToGbk(UnrepresentableMessage(FromTyped(file).rejected)).value_or(Text());
    return result;
  }
  std::string reason;
  const bool written = platform::WriteFileReplacingA(
      gbk->c_str(),
      [&](const std::string& temporary, std::string& why) {
        QString qt_why;
        if (paint(QString::fromUtf8(temporary), &qt_why)) return true;
        why = ToGbk(qt_why).value_or(Text());
        return false;
      },
      &reason);
  result.outcome = written ? PrintOutcome::Printed : PrintOutcome::Failed;
  result.reason = reason;
  return result;
}

// Where each sheet's text begins: a line that would not fit whole on a sheet begins the next.
std::vector<qreal> SheetStarts(QTextDocument& doc, qreal height) {
  std::vector<qreal> starts{0};
  doc.documentLayout()->documentSize();  // lays the document out
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    const QTextLayout* layout = block.layout();
    for (int i = 0; layout != nullptr && i < layout->lineCount(); ++i) {
      const QTextLine line = layout->lineAt(i);
      const qreal top = layout->position().y() + line.y();
      if (top + line.height() > starts.back() + height && top > starts.back()) {
        starts.push_back(top);
      }
    }
  }
  return starts;
}

}  // namespace

QString DocumentsFolder() {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

bool PaintPage(platform::HWND rich, const QString& header, QPagedPaintDevice& device,
               QString* reason) {
  const platform::RichEdit* page = platform::RichEdit::From(rich);
  QPainter painter;
  if (page == nullptr || !painter.begin(&device)) {
    if (reason) *reason = QStringLiteral("the PDF or printer could not be opened for writing");
    return false;
  }
  QTextDocument doc;
  doc.documentLayout()->setPaintDevice(&device);
  FillDocument(doc, *page, Qt::black, 1.0);
  doc.setDocumentMargin(0);

  const QFont small = SongFontPoints(kHeaderPoints);
  const QFontMetricsF metrics(small, &device);
  const qreal line = metrics.height();
  const qreal width = device.width();
  const qreal height = device.height();
  // The header line and its rule above, the page number below; the text between.
  const QRectF body(0, line * 2, width, height - line * 4);
  doc.setTextWidth(body.width());
  const std::vector<qreal> starts = SheetStarts(doc, body.height());
  const int sheets = static_cast<int>(starts.size());
  for (int i = 0; i < sheets; ++i) {
    if (i > 0 && !device.newPage()) {
      if (reason) *reason = QStringLiteral("a new sheet could not be started");
      return false;
    }
    painter.setFont(small);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, 0, width, line), Qt::AlignLeft | Qt::AlignVCenter, header);
    painter.drawLine(QLineF(0, line * 1.3, width, line * 1.3));
    painter.drawText(QRectF(0, height - line, width, line), Qt::AlignHCenter | Qt::AlignVCenter,
                     QStringLiteral(u"第 %1 页，共 %2 页").arg(i + 1).arg(sheets));
    const qreal top = starts[i];
    const qreal next = i + 1 < sheets ? starts[i + 1] : top + body.height();
    painter.save();
    painter.translate(body.left(), body.top() - top);
    painter.setClipRect(QRectF(0, top, body.width(), body.height()));
    // Drawn are the lines inside, not those that only touch the sheet's edges: a line drawn
    // outside the clip would be invisible and yet be text of this sheet.
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, top + 1, body.width(), next - top - 2);
    doc.documentLayout()->draw(&painter, context);
    painter.restore();
  }
  if (!painter.end()) {
    if (reason) *reason = QStringLiteral("the PDF or printer could not be written");
    return false;
  }
  return true;
}

std::string AskSaveFileName(const platform::SaveFileRequest& request, QWidget* parent) {
  QString proposed = ToQString(request.file_name);
  if (QFileInfo(proposed).isRelative()) proposed = QDir(DocumentsFolder()).filePath(proposed);
  QFileDialog dialog(parent, ToQString(request.title), QFileInfo(proposed).path(),
                     ToQString(request.filter));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(ToQString(request.extension));
  dialog.selectFile(QFileInfo(proposed).fileName());
  for (;;) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString chosen = dialog.selectedFiles().first();
    if (std::optional<Text> gbk = ToGbk(chosen)) return *gbk;
    QMessageBox::warning(&dialog, dialog.windowTitle(),
                         UnrepresentableMessage(FromTyped(chosen).rejected));
  }
}

platform::PrintResult PrintPage(const platform::PrintRequest& request, QWidget* parent) {
  const QString header = ToQString(request.header);
  if (!request.file.empty()) {
    return WriteFile(ToQString(request.file), [&](const QString& temporary, QString* reason) {
      QPdfWriter writer(temporary);
      SetUpSheets(writer);
      writer.setTitle(header);
      writer.setCreator(QStringLiteral("Kelmor"));
      return PaintPage(request.page, header, writer, reason);
    });
  }
  QPrinter printer(QPrinter::HighResolution);
  SetUpSheets(printer);
  printer.setDocName(header);
  // Without a printer the dialog offers the PDF file beside the documents.
  if (QPrinterInfo::availablePrinterNames().isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir(DocumentsFolder()).filePath(ToQString(request.proposed_file)));
  }
  QPrintDialog dialog(&printer, parent);
  if (dialog.exec() != QDialog::Accepted) return {};
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
    return WriteFile(printer.outputFileName(), [&](const QString& temporary, QString* reason) {
      printer.setOutputFileName(temporary);
      return PaintPage(request.page, header, printer, reason);
    });
  }
  PrintResult result;
  QString reason;
  result.outcome =
      PaintPage(request.page, header, printer, &reason) ? PrintOutcome::Printed : PrintOutcome::Failed;
  result.reason = ToGbk(reason).value_or(Text());
  return result;
}

}  // namespace kelmor::display
