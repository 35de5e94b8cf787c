#include "tests/reliability/writing_actions.h"

#include "runtime/dialogs.h"

namespace kelmor::test {

std::vector<WritingAction> WritingActions() {
  std::vector<WritingAction> actions;
  actions.push_back({"AddCategory",
                     [](Session& s) {
                       s.driver().AnswerInputBox("丁");
                       s.Menu("增加一类");
                     },
                     {},
                     {"增加一类项目[丁]失败"}});
  actions.push_back({"Rename",
                     [](Session& s) {
                       s.Menu("编辑类别");
                       s.driver().AnswerMessageBox(kAnswerYes);
                       s.driver().EditLabel(s.app().Tree(), s.Item("甲"), "乙");
                     },
                     {"你确定要修改[甲]吗？"},
                     {"修改[甲]错误"}});
  actions.push_back({"Delete",
                     [](Session& s) {
                       s.driver().ClickTreeItem(s.app().Tree(), s.Item("丙"));
                       s.driver().AnswerMessageBox(kAnswerYes);
                       s.Menu("删除", s.Item("丙"));
                     },
                     {"你确定要删除[丙]吗？"},
                     {"删除[丙]错误"}});
  actions.push_back({"DeleteWithEntries",
                     [](Session& s) {
                       s.driver().ClickTreeItem(s.app().Tree(), s.Item("人参"));
                       s.driver().AnswerMessageBox(kAnswerYes);
                       s.Menu("删除", s.Item("人参"));
                     },
                     {"你确定要删除[人参]吗？"},
                     {"删除[人参]错误"}});
  actions.push_back({"UpdateTree", [](Session& s) { s.Menu("更新"); }, {}, {}, false});
  actions.push_back({"Compact", [](Session& s) { s.Menu("收缩数据库"); }, {}, {}, false});
  actions.push_back({"Backup", [](Session& s) { s.Menu("备份数据"); }, {}, {}, false});
  return actions;
}

}  // namespace kelmor::test
