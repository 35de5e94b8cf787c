#include "lookup/command_line.h"

#include <string_view>

#include "lookup/terminal_text.h"
#include "runtime/codec.h"

namespace kelmor::lookup {

namespace {

constexpr const char* kHelp =
    "用法：kelmor-lookup [选项] 名称\n"
    "      kelmor-lookup [选项] --field 项目 --search 内容\n"
    "      kelmor-lookup [选项] --tree\n"
    "      kelmor-lookup [选项] --export-html 文件\n"
    "\n"
    "在终端里查阅 Kelmor 的书 kelmor.db。只读，从不改动它。\n"
    "\n"
    "  名称                  打印这个名称的条目页，和程序右边显示的一样，一项一行；\n"
    "                        先查中药，再查药方（两处都有时都打印，中间空一行）\n"
    "  --herbs               只查中药\n"
    "  --prescriptions       只查药方\n"
    "  --field 项目 --search 内容\n"
    "                        在这个项目（查询栏里的项目，如 功能主治、性味、功用）中\n"
    "                        查找含有内容的条目，像查询窗口一样一行列出一个：名称、\n"
    "                        类别、功效，以制表符分隔（格内的制表符和换行显示为空格）；\n"
    "                        内容中的 % 和 _ 是通配符\n"
    "  --tree                打印保存的类别树，每深一层多缩进两格；\n"
    "                        没有指定集合时先打印中药，再打印药方，各有标题\n"
    "  --export-html 文件    把全书写成一个 HTML 文件：UTF-8，两个集合按类别树的顺序\n"
    "                        分章，目录带链接，每个条目一页，手机上可读，可打印，\n"
    "                        没有脚本，不引用外部资源；文件为 - 时写到标准输出\n"
    "  --db 路径             读这个文件；默认是程序所在文件夹里的 kelmor.db\n"
    "  -h, --help            显示这段说明\n"
    "\n"
    "名称、项目和内容按 UTF-8 读入；含有 GBK 不能表示的字符时拒绝。\n"
    "退出状态：0 找到了或已写出；1 什么也没找到；2 命令行有误或书无法读取\n"
    "（这时标准错误上有 SQLite 自己的说明）。\n";

// A name, field or term as the book's text; nullopt with the error when GBK cannot hold it.
std::optional<Text> BookText(const std::string& arg, std::string& error) {
  std::optional<Text> text = Utf8ToLocal(arg);
  if (!text) error = ToUtf8("“") + arg + ToUtf8("”含有 GBK 不能表示的字符，书里不会有它");
  return text;
}

// The value of option `arg` at args[i]: after "=", or the next argument.
std::optional<std::string> OptionValue(std::span<const std::string> args, std::size_t& i,
                                       std::string_view option, std::string& error) {
  const std::string& arg = args[i];
  if (arg.size() > option.size() && arg[option.size()] == '=') {
    return arg.substr(option.size() + 1);
  }
  if (i + 1 < args.size()) return args[++i];
  error = ToUtf8("选项 ") + std::string(option) + ToUtf8(" 后面缺少值");
  return std::nullopt;
}

// Whether `arg` is `option` alone or `option=value`.
bool IsOption(const std::string& arg, std::string_view option) {
  return arg.starts_with(option) && (arg.size() == option.size() || arg[option.size()] == '=');
}

}  // namespace

std::string HelpText() {
  return ToUtf8(kHelp);
}

std::optional<Request> ParseCommandLine(std::span<const std::string> args, std::string& error) {
  Request r;
  bool herbs = false;
  bool prescriptions = false;
  bool help = false;
  bool tree = false;
  std::optional<std::string> name, field, term, html;
  bool options_end = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::optional<std::string>* value = nullptr;
    std::string_view option;
    if (options_end || arg == "-" || !arg.starts_with("-")) {
      if (name) {
        error = ToUtf8("只能查一个名称：“") + *name + ToUtf8("”之后又有“") + arg + ToUtf8("”");
        return std::nullopt;
      }
      name = arg;
      continue;
    }
    if (arg == "--") {
      options_end = true;
    } else if (arg == "-h" || arg == "--help") {
      help = true;
    } else if (arg == "--herbs") {
      herbs = true;
    } else if (arg == "--prescriptions") {
      prescriptions = true;
    } else if (arg == "--tree") {
      tree = true;
    } else if (IsOption(arg, option = "--field")) {
      value = &field;
    } else if (IsOption(arg, option = "--search")) {
      value = &term;
    } else if (IsOption(arg, option = "--export-html")) {
      value = &html;
    } else if (IsOption(arg, option = "--db")) {
      value = &r.database_file;
    } else {
      error = ToUtf8("未知的选项 ") + arg;
      return std::nullopt;
    }
    if (value) {
      if (*value) {
        error = ToUtf8("选项 ") + std::string(option) + ToUtf8(" 给了两次");
        return std::nullopt;
      }
      *value = OptionValue(args, i, option, error);
      if (!*value) return std::nullopt;
    }
  }
  if (help) return r;

  if (!herbs && !prescriptions) herbs = prescriptions = true;
  if (herbs) r.collections.push_back(Collection::Herbs);
  if (prescriptions) r.collections.push_back(Collection::Prescriptions);

  const int commands = (name ? 1 : 0) + (field || term ? 1 : 0) + (tree ? 1 : 0) + (html ? 1 : 0);
  if (commands == 0) {
    error = ToUtf8("没有要查的名称，也没有 --search、--tree 或 --export-html");
    return std::nullopt;
  }
  if (commands > 1) {
    error = ToUtf8("一次只做一件事：名称、--search、--tree、--export-html 选其一");
    return std::nullopt;
  }
  if (name) {
    r.command = Command::Entry;
    std::optional<Text> text = BookText(*name, error);
    if (!text) return std::nullopt;
    if (text->empty()) {
      error = ToUtf8("名称是空的");
      return std::nullopt;
    }
    r.name = std::move(*text);
  } else if (field || term) {
    r.command = Command::Search;
    if (!field || !term) {
      error = ToUtf8("--field 和 --search 要一起用");
      return std::nullopt;
    }
    std::optional<Text> f = BookText(*field, error);
    if (!f) return std::nullopt;
    std::optional<Text> t = BookText(*term, error);
    if (!t) return std::nullopt;
    if (t->empty()) {
      error = ToUtf8("请查询内容");
      return std::nullopt;
    }
    r.field = std::move(*f);
    r.term = std::move(*t);
  } else if (tree) {
    r.command = Command::Tree;
  } else {
    r.command = Command::ExportHtml;
    if (html->empty()) {
      error = ToUtf8("--export-html 需要一个文件名");
      return std::nullopt;
    }
    r.html_file = *html;
  }
  return r;
}

}  // namespace kelmor::lookup
