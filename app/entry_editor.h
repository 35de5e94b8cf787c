// The modal entry editor: adds an entry under the selected first-level category or edits the
// selected entry, for either collection. AddEntry and EditEntry (commands.h) open it.
#pragma once

#include "app/application.h"

namespace kelmor {

// The editor window was created: fills the boxes, sets the title, the page and the check box.
void PrepareEditor(Application& app);
// "确定" on the herb page and on the prescription page.
void SaveHerb(Application& app);
void SavePrescription(Application& app);

void WireEditorWindow(Application& app);

}  // namespace kelmor
