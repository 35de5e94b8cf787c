// The page printed and saved as PDF, as a user gets it: through the page's menu or Ctrl+P, Qt's
// own dialogs, and the PDF read back with pdftotext (poppler-utils).
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "app/application.h"
#include "app/entry_view.h"
#include "app/window_templates.h"
#include "display/qt_text.h"
#include "display_fixture.h"
#include "platform/page_print.h"
#include "platform/rich_edit.h"
#include "platform/user_input.h"
#include "runtime/rich_edit_control.h"
#include "runtime/window_commands.h"
#include "runtime/window_framework.h"
#include "sqlite_access/sqlite_db.h"
#include "tests/support/schema.h"
#include "tests/support/temp_dir.h"

namespace kelmor::display::test {
namespace {

using namespace kelmor::platform;
namespace fs = std::filesystem;

// The delivered herb 麻黄, from the book's content.
std::map<Text, Text> DeliveredHerb(const char* name) {
  std::ifstream in(std::string(KELMOR_CONTENT_DIR) + "/herbs.tsv");
  std::vector<std::string> header, row;
  std::string line;
  const auto split = [](const std::string& s) {
    std::vector<std::string> out(1);
    for (char c : s) {
      if (c == '\t') {
        out.emplace_back();
      } else {
        out.back().push_back(c);
      }
    }
    return out;
  };
  std::getline(in, line);
  header = split(line);
  while (std::getline(in, line)) {
    row = split(line);
    if (row.size() > 1 && row[1] == name) break;
  }
  std::map<Text, Text> fields;
  for (std::size_t i = 0; i < header.size() && i < row.size(); ++i) {
    fields[Gbk(header[i].c_str())] = Gbk(row[i].c_str());
  }
  return fields;
}

struct PdfText {
  int sheets = 0;
  QStringList pages;  // pdftotext's text of each sheet
  QString info;       // pdfinfo
};

PdfText ReadPdf(const QString& file) {
  PdfText out;
  QProcess text, info;
  text.start("pdftotext", {"-enc", "UTF-8", file, "-"});
  info.start("pdfinfo", {file});
  text.waitForFinished();
  info.waitForFinished();
  out.info = QString::fromUtf8(info.readAllStandardOutput());
  out.pages = QString::fromUtf8(text.readAllStandardOutput()).split(QChar('\f'));
  while (!out.pages.isEmpty() && out.pages.last().trimmed().isEmpty()) out.pages.removeLast();
  out.sheets = static_cast<int>(out.pages.size());
  return out;
}

QString WithoutSpaces(QString s) {
  return s.remove(QRegularExpression(QStringLiteral("\\s")));
}

class PagePrintTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    // The documents folder the dialogs propose is this test's own.
    home_ = qgetenv("HOME");
    qputenv("HOME", QByteArray::fromStdString(dir_.path().string()));
    qunsetenv("XDG_CONFIG_HOME");
    fs::create_directory(dir_ / "Documents");
    {
      SqliteDB db;
      ASSERT_TRUE(db.Open((dir_ / "kelmor.db").string(), true));
      ASSERT_TRUE(kelmor::test::CreateSchema(db));
      std::map<Text, Text> herb = DeliveredHerb("麻黄");
      const Text category = herb[Gbk("类别")];
      herb.erase(Gbk("类别"));
      herb.erase(Gbk("药物名称"));
      ASSERT_TRUE(kelmor::test::InsertHerb(db, Gbk("麻黄"), category, herb));
    }
    ApplicationOptions options;
    options.database_file = (dir_ / "kelmor.db").string();
    app_ = std::make_unique<Application>(options);
    ASSERT_TRUE(LoadWindow(app_->main_window));
    ShowEntry(*app_, Gbk("麻黄"));
    page_ = WindowHandle(Page());
    ASSERT_NE(RichEdit::From(page_), nullptr);
    Settle();
  }
  void TearDown() override {
    app_.reset();
    ResetWindowFramework();
    DisplayTest::TearDown();
    qputenv("HOME", home_);
  }

  // Answers what the program shows next, in order: a menu item by its text, a file dialog with
  // a path, the print dialog, a message box (its text kept).
  void Answer(std::function<bool(QWidget*)> step) { steps_.push_back(std::move(step)); }
  void ChooseMenuItem(const QString& text) {
    Answer([text](QWidget* w) {
      auto* menu = qobject_cast<QMenu*>(w);
      if (menu == nullptr) return false;
      for (QAction* a : menu->actions()) {
        if (a->text() == text) menu->setActiveAction(a);
      }
      QTest::keyClick(menu, Qt::Key_Return);
      return true;
    });
  }
  void SaveAs(const QString& path, QString* proposed) {
    Answer([=](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      if (dialog == nullptr) return false;
      *proposed = dialog->selectedFiles().value(0);
      dialog->selectFile(path);
      QMetaObject::invokeMethod(dialog, "accept");
      return true;
    });
  }
  void AcceptPrintDialog() {
    Answer([](QWidget* w) {
      auto* dialog = qobject_cast<QPrintDialog*>(w);
      if (dialog == nullptr) return false;
      dialog->accept();
      return true;
    });
  }
  void CloseMessageBox(QString* text) {
    Answer([text](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (box == nullptr) return false;
      *text = box->text();
      box->accept();
      return true;
    });
  }
  // Plays the gesture; the scripted answers are given as the dialogs and menus come up.
  void Play(const std::function<void()>& gesture) {
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      QWidget* shown = QApplication::activePopupWidget();
      if (shown == nullptr) shown = QApplication::activeModalWidget();
      if (shown == nullptr || steps_.empty() || !shown->isVisible()) return;
      if (steps_.front()(shown)) steps_.pop_front();
    });
    timer.start(20);
    gesture();
    Settle();
    EXPECT_TRUE(steps_.empty()) << steps_.size() << " answers left";
    steps_.clear();
  }

  // Each sheet: the header line, the page's text in order, "第 i 页，共 n 页".
  void ExpectThePage(const QString& pdf, int at_least_sheets = 1) {
    ASSERT_TRUE(QFile::exists(pdf)) << pdf.toStdString();
    const PdfText read = ReadPdf(pdf);
    EXPECT_TRUE(read.info.contains(QStringLiteral("(A4)"))) << read.info.toStdString();
    ASSERT_GE(read.sheets, at_least_sheets);
    QString body;
    for (int i = 0; i < read.sheets; ++i) {
      QStringList lines = read.pages[i].split(QChar('\n'), Qt::SkipEmptyParts);
      ASSERT_GE(lines.size(), 2);
      EXPECT_EQ(lines.first().trimmed(), QStringLiteral(u"麻黄 — 中药"));
      EXPECT_EQ(WithoutSpaces(lines.last()),
                QStringLiteral(u"第%1页，共%2页").arg(i + 1).arg(read.sheets));
      lines.removeFirst();
      lines.removeLast();
      body += lines.join(QString());
    }
    EXPECT_EQ(WithoutSpaces(body), WithoutSpaces(ToQString(RichEdit::From(page_)->Text())));
  }

  // This folder's literals are UTF-8; the program's control names are GBK.
  ControlRef Page() const { return {app_->main_window, Gbk(main_controls::kPage)}; }

  QString Documents(const char* name) const {
    return QString::fromStdString((dir_ / "Documents").string()) + QChar('/') +
           QString::fromUtf8(name);
  }

  kelmor::test::TempDir dir_;
  std::unique_ptr<Application> app_;
  HWND page_ = 0;
  QByteArray home_;
  std::deque<std::function<bool(QWidget*)>> steps_;
};

TEST_F(PagePrintTest, SavedAndPrintedToAFileThePdfHoldsThePageOnA4) {
  QString proposed;
  ChooseMenuItem(QStringLiteral(u"导出PDF…"));
  SaveAs(Documents("麻黄.pdf"), &proposed);
  Play([&] { RightClickAt(page_, 20, 20); });
  EXPECT_EQ(proposed, Documents("麻黄.pdf"));
  ExpectThePage(Documents("麻黄.pdf"));
  QFile::remove(Documents("麻黄.pdf"));

  // Ctrl+P without a printer: the dialog prints to the same file.
  AcceptPrintDialog();
  Play([&] {
    QTest::keyClick(host_.renderer().WidgetFor(page_), Qt::Key_P, Qt::ControlModifier);
  });
  ExpectThePage(Documents("麻黄.pdf"));
  EXPECT_EQ(fs::directory_iterator(dir_ / "Documents")->path().filename(), fs::u8path("麻黄.pdf"));
}

TEST_F(PagePrintTest, ALongPageBreaksBetweenLinesOverSeveralSheets) {
  Text longer;
  for (int i = 0; i < 6; ++i) longer += GetText(Page()) + "\r\n";
  SetText(Page(), longer);
  SetPageInfo(Page(), Gbk("麻黄"), Gbk("麻黄 — 中药"));
  const QString pdf = Documents("long.pdf");
  const PrintResult result = PrintPage(page_, ToGbk(pdf).value_or(""), "");
  EXPECT_EQ(result.outcome, PrintOutcome::Printed) << result.reason;
  ExpectThePage(pdf, 2);
}

// A screen reader finds the page's menu in the window, each item with its name, its key and
// whether it can be chosen.
TEST_F(PagePrintTest, ThePageMenuIsAnnouncedWithItsItemsAndKeys) {
  QStringList items;
  Answer([&](QWidget* w) {
    auto* menu = qobject_cast<QMenu*>(w);
    if (menu == nullptr) return false;
    QAccessibleInterface* window =
        QAccessible::queryAccessibleInterface(host_.renderer().WidgetFor(WindowHandle({app_->main_window, ""})));
    for (int i = 0; window != nullptr && i < window->childCount(); ++i) {
      QAccessibleInterface* popup = window->child(i);
      if (popup->role() != QAccessible::PopupMenu) continue;
      for (int j = 0; j < popup->childCount(); ++j) {
        QAccessibleInterface* item = popup->child(j);
        items << item->text(QAccessible::Name) + "|" + item->text(QAccessible::Accelerator) + "|" +
                     (item->state().disabled ? "off" : "on");
      }
    }
    menu->close();
    return true;
  });
  Play([&] { PressKey(page_, VK_APPS); });
  EXPECT_EQ(items, (QStringList{QStringLiteral(u"复制|Ctrl+C|off"), QStringLiteral(u"全选|Ctrl+A|on"),
                                QStringLiteral(u"打印…|Ctrl+P|on"), QStringLiteral(u"导出PDF…||on")}));
}

// Even the superuser cannot make a file in /proc.
TEST_F(PagePrintTest, AFileThatCannotBeWrittenIsNamedWithTheReasonAndNotLeftBehind) {
  const QString nowhere = QStringLiteral(u"/proc/麻黄.pdf");
  QString proposed, message;
  ChooseMenuItem(QStringLiteral(u"导出PDF…"));
  SaveAs(nowhere, &proposed);
  CloseMessageBox(&message);
  Play([&] { RightClickAt(page_, 20, 20); });
  const QString named = QStringLiteral(u"无法写入文件[%1]：").arg(nowhere);
  EXPECT_TRUE(message.startsWith(named) && message.size() > named.size()) << message.toStdString();
  EXPECT_FALSE(QFile::exists(nowhere));
  EXPECT_TRUE(fs::is_empty(dir_ / "Documents"));
}

}  // namespace
}  // namespace kelmor::display::test
