#include "app/control_builders.h"
#include "app/window_templates.h"

namespace kelmor {

using templates::Control;
using templates::HiddenCheckBox;
using templates::MultiLineEdit;
using templates::Named;
using templates::ReadOnlyEdit;
using namespace editor_controls;

// A modal editor: a tab control with a herb page (0) and a prescription page (1); the editor
// chooses the page and sets the title when it opens.
WindowTemplate EditorWindowTemplate() {
  WindowTemplate t;
  t.name = kEditorWindowName;
  t.title = "";
  t.width = 463;
  t.height = 445;
  t.resizable = false;
  t.maximise_button = false;
  t.minimise_button = false;
  t.close_box = true;

  ControlTemplate tabs = Control(kTabs, ControlKind::TabControl, "", 0, 0, 456, 434);
  tabs.tab_pages = 2;
  tabs.tab_captions = {"", ""};
  t.controls.push_back(tabs);

  t.controls.push_back(Control(kHerbGroup, ControlKind::GroupBox, "", 4, 0, 446, 360, kTabs, 0));
  t.controls.push_back(
      Control("标签1", ControlKind::Label, "【药物名称】：", 6, 16, 80, 24, kHerbGroup, 0));
  t.controls.push_back(
      Control(kHerbNameBox, ControlKind::EditBox, "", 94, 16, 112, 20, kHerbGroup, 0));
  t.controls.push_back(
      Control("标签4", ControlKind::Label, "【别    名】：", 216, 16, 80, 24, kHerbGroup, 0));
  t.controls.push_back(
      Control("别名编辑框", ControlKind::EditBox, "", 312, 16, 112, 20, kHerbGroup, 0));
  t.controls.push_back(
      Control("标签2", ControlKind::Label, "【类    别】：", 8, 48, 80, 24, kHerbGroup, 0));
  t.controls.push_back(ReadOnlyEdit(kHerbCategoryBox, 96, 48, 110, 20, kHerbGroup, 0));
  t.controls.push_back(
      Control("标签3", ControlKind::Label, "【英文名称】：", 216, 48, 80, 24, kHerbGroup, 0));
  t.controls.push_back(
      Control("英文名称编辑框", ControlKind::EditBox, "", 312, 48, 110, 20, kHerbGroup, 0));
  t.controls.push_back(
      Control("标签6", ControlKind::Label, "【植物形态】：", 8, 80, 80, 24, kHerbGroup, 0));
  t.controls.push_back(
      Control("植物形态1编辑框", ControlKind::EditBox, "", 96, 80, 336, 20, kHerbGroup, 0));
  // The second plant-form line has no label of its own.
  t.controls.push_back(
      Named(Control("植物形态2编辑框", ControlKind::EditBox, "", 96, 104, 336, 20, kHerbGroup, 0),
            "植物形态（续）"));
  t.controls.push_back(
      Control("标签5", ControlKind::Label, "【来    源】：", 8, 136, 80, 24, kHerbGroup, 0));
  t.controls.push_back(
      Control("来源编辑框", ControlKind::EditBox, "", 96, 136, 336, 20, kHerbGroup, 0));
  t.controls.push_back(
      Control("标签7", ControlKind::Label, "【生 长 地】：", 8, 168, 80, 24, kHerbGroup, 0));
  t.controls.push_back(
      Control("生长地编辑框", ControlKind::EditBox, "", 96, 168, 336, 20, kHerbGroup, 0));
  t.controls.push_back(
      Control("标签8", ControlKind::Label, "【采    制】：", 8, 200, 80, 24, kHerbGroup, 0));
  t.controls.push_back(
      Control("采制编辑框", ControlKind::EditBox, "", 96, 200, 336, 20, kHerbGroup, 0));
  t.controls.push_back(
      Control("标签9", ControlKind::Label, "【化学成分】：", 8, 232, 80, 24, kHerbGroup, 0));
  t.controls.push_back(
      Control("化学成分编辑框", ControlKind::EditBox, "", 96, 232, 336, 20, kHerbGroup, 0));
  t.controls.push_back(
      Control("标签10", ControlKind::Label, "【性    味】：", 8, 256, 80, 24, kHerbGroup, 0));
  t.controls.push_back(
      Control("性味编辑框", ControlKind::EditBox, "", 96, 256, 336, 20, kHerbGroup, 0));
  t.controls.push_back(
      Control("标签11", ControlKind::Label, "【功能主治】：", 8, 280, 80, 24, kHerbGroup, 0));
  t.controls.push_back(
      Control("功能主治编辑框", ControlKind::EditBox, "", 96, 280, 336, 20, kHerbGroup, 0));
  t.controls.push_back(
      Control("标签12", ControlKind::Label, "【附    注】：", 8, 312, 80, 24, kHerbGroup, 0));
  t.controls.push_back(
      Control("附注编辑框", ControlKind::EditBox, "", 96, 312, 336, 20, kHerbGroup, 0));
  t.controls.push_back(HiddenCheckBox(kHerbContinueBox, "连续添加", 112, 368, 80, 24, kTabs, 0));
  t.controls.push_back(
      Control(kHerbOkButton, ControlKind::Button, "确定", 256, 368, 80, 32, kTabs, 0));
  t.controls.push_back(
      Control(kHerbCancelButton, ControlKind::Button, "取消", 344, 368, 80, 32, kTabs, 0));
  t.controls.push_back(
      Control(kPrescriptionGroup, ControlKind::GroupBox, "", 8, 8, 446, 360, kTabs, 1));
  t.controls.push_back(Control("标签24", ControlKind::Label, "【药方名称】：", 6, 16, 80, 24,
                               kPrescriptionGroup, 0));
  t.controls.push_back(Control(kPrescriptionNameBox, ControlKind::EditBox, "", 94, 16, 112, 20,
                               kPrescriptionGroup, 0));
  t.controls.push_back(Control("标签23", ControlKind::Label, "【类    别】：", 224, 16, 80, 24,
                               kPrescriptionGroup, 0));
  t.controls.push_back(
      ReadOnlyEdit(kPrescriptionCategoryBox, 312, 16, 110, 20, kPrescriptionGroup, 0));
  t.controls.push_back(
      Control("标签14", ControlKind::Label, "【配   方】：", 8, 48, 80, 24, kPrescriptionGroup, 0));
  t.controls.push_back(MultiLineEdit("配方编辑框", 96, 48, 336, 120, kPrescriptionGroup, 0));
  t.controls.push_back(Control("标签18", ControlKind::Label, "【制   法】：", 8, 168, 80, 24,
                               kPrescriptionGroup, 0));
  t.controls.push_back(MultiLineEdit("制法编辑框", 96, 168, 336, 40, kPrescriptionGroup, 0));
  t.controls.push_back(Control("标签17", ControlKind::Label, "【功   用】：", 8, 216, 80, 24,
                               kPrescriptionGroup, 0));
  t.controls.push_back(MultiLineEdit("功用编辑框", 96, 216, 336, 40, kPrescriptionGroup, 0));
  t.controls.push_back(Control("标签22", ControlKind::Label, "【禁   忌】：", 8, 264, 80, 24,
                               kPrescriptionGroup, 0));
  t.controls.push_back(MultiLineEdit("禁忌编辑框", 96, 264, 336, 40, kPrescriptionGroup, 0));
  t.controls.push_back(Control("标签13", ControlKind::Label, "【附    注】：", 8, 312, 80, 24,
                               kPrescriptionGroup, 0));
  t.controls.push_back(MultiLineEdit("备注编辑框", 96, 312, 336, 40, kPrescriptionGroup, 0));
  t.controls.push_back(
      HiddenCheckBox(kPrescriptionContinueBox, "连续添加", 160, 376, 80, 24, kTabs, 1));
  t.controls.push_back(
      Control(kPrescriptionOkButton, ControlKind::Button, "确定", 272, 368, 80, 32, kTabs, 1));
  t.controls.push_back(
      Control(kPrescriptionCancelButton, ControlKind::Button, "取消", 360, 368, 80, 32, kTabs, 1));
  return t;
}

}  // namespace kelmor
