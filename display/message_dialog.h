// The message box as Qt shows it: the buttons and the icon of the MB_ flags, the caption, no owner
// (application modal), and the platform's answer (IDOK ... IDNO) for the button pressed.
#pragma once

#include <QMessageBox>
#include <memory>

#include "platform/host.h"

namespace kelmor::display {

std::unique_ptr<QMessageBox> BuildMessageBox(const platform::MessageBoxRequest& request);

// IDOK ... IDNO for a standard button; IDCANCEL for a box closed without one where the box has a
// cancel button, otherwise the box's only or first answer.
int AnswerFor(QMessageBox::StandardButton button, platform::UINT type);

// Builds, shows modally and answers.
int RunMessageBox(const platform::MessageBoxRequest& request);

}  // namespace kelmor::display
