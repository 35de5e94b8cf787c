#include "tests/reliability/writing_actions.h"

#include "runtime/dialogs.h"
#include "runtime/text_commands.h"
#include "runtime/window_commands.h"

namespace kelmor::test {

namespace {

// Opens the editor from the popup menu on a tree item and plays `steps` in it.
void InEditor(Session& s, const char* caption, const Text& item, std::function<void()> steps) {
  s.driver().OnModal(std::move(steps));
  s.Menu(caption, s.Item(item));
}

ControlRef Editor(Session& s, const char* control) {
  return {s.app().editor_window, control};
}

void ShowPrescriptions(Session& s) {
  s.driver().Click(s.app().Main("按钮2"));
}

}  // namespace

std::vector<WritingAction> WritingActions() {
  std::vector<WritingAction> actions;
  actions.push_back({"AddCategory",
                     [](Session& s, const Hook& writing) {
                       s.driver().AnswerInputBox("丁");
                       writing();
                       s.Menu("增加一类");
                     },
                     {},
                     {"增加一类项目[丁]失败"}});
  actions.push_back({"Rename",
                     [](Session& s, const Hook& writing) {
                       s.Menu("编辑类别");
                       s.driver().AnswerMessageBox(kAnswerYes);
                       writing();
                       s.driver().EditLabel(s.app().Tree(), s.Item("甲"), "乙");
                     },
                     {"你确定要修改[甲]吗？"},
                     {"修改[甲]错误"}});
  actions.push_back({"Delete",
                     [](Session& s, const Hook& writing) {
                       s.driver().ClickTreeItem(s.app().Tree(), s.Item("丙"));
                       s.driver().AnswerMessageBox(kAnswerYes);
                       writing();
                       s.Menu("删除", s.Item("丙"));
                     },
                     {"你确定要删除[丙]吗？"},
                     {"删除[丙]错误"}});
  actions.push_back({"DeleteWithEntries",
                     [](Session& s, const Hook& writing) {
                       s.driver().ClickTreeItem(s.app().Tree(), s.Item("人参"));
                       s.driver().AnswerMessageBox(kAnswerYes);
                       writing();
                       s.Menu("删除", s.Item("人参"));
                     },
                     {"你确定要删除[人参]吗？"},
                     {"删除[人参]错误"}});
  actions.push_back({"AddHerb",
                     [](Session& s, const Hook& writing) {
                       InEditor(s, "增加二类", "甲", [&s, &writing] {
                         s.driver().Type(Editor(s, "药物名称编辑框"), "党参");
                         s.driver().Type(Editor(s, "性味编辑框"), "甘，平");
                         writing();
                         s.driver().Click(Editor(s, "按钮1"));
                       });
                     },
                     {},
                     {"添加[党参]失败"}});
  actions.push_back({"EditHerb",
                     [](Session& s, const Hook& writing) {
                       InEditor(s, "编辑内容", "人参", [&s, &writing] {
                         s.driver().ClearText(Editor(s, "性味编辑框"));
                         s.driver().Type(Editor(s, "性味编辑框"), "甘，微苦");
                         writing();
                         s.driver().Click(Editor(s, "按钮1"));
                       });
                     },
                     {},
                     {"修改[人参]失败"}});
  actions.push_back({"AddPrescription",
                     [](Session& s, const Hook& writing) {
                       ShowPrescriptions(s);
                       InEditor(s, "增加二类", "甲", [&s, &writing] {
                         s.driver().Type(Editor(s, "药方编辑框"), "桂枝汤");
                         s.driver().Type(Editor(s, "配方编辑框"), "桂枝9克");
                         writing();
                         s.driver().Click(Editor(s, "按钮3"));
                       });
                     },
                     {},
                     {"添加[桂枝汤]失败"}});
  actions.push_back({"EditPrescription",
                     [](Session& s, const Hook& writing) {
                       ShowPrescriptions(s);
                       InEditor(s, "编辑内容", "人参", [&s, &writing] {
                         s.driver().ClearText(Editor(s, "配方编辑框"));
                         s.driver().Type(Editor(s, "配方编辑框"), "人参6克");
                         writing();
                         s.driver().Click(Editor(s, "按钮3"));
                       });
                     },
                     {},
                     {"修改[人参]失败"}});
  actions.push_back({"UpdateTree",
                     [](Session& s, const Hook& writing) {
                       writing();
                       s.Menu("更新");
                     },
                     {},
                     {},
                     false});
  actions.push_back({"Compact",
                     [](Session& s, const Hook& writing) {
                       writing();
                       s.Menu("收缩数据库");
                     },
                     {},
                     {},
                     false});
  actions.push_back({"Backup",
                     [](Session& s, const Hook& writing) {
                       writing();
                       s.Menu("备份数据");
                     },
                     {},
                     {},
                     false});
  return actions;
}

}  // namespace kelmor::test
