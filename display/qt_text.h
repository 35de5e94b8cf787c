// Texts crossing between the program (GBK bytes) and Qt (QString). Every text shown goes through
// ToQString, every text typed through FromTyped, both on the runtime's codec (glibc iconv, CP936),
// so what is shown and what is stored always agree with the rest of the program.
#pragma once

#include <QString>
#include <optional>
#include <string_view>

#include "runtime/value.h"

class QWidget;

namespace kelmor::display {

// GBK to QString for display. Never fails: a byte sequence that is not GBK (a double-byte
// character cut in half) becomes U+FFFD instead of losing the whole text.
QString ToQString(std::string_view gbk);

// QString to GBK, strict: nullopt when any character has no GBK code.
std::optional<Text> ToGbk(const QString& text);

// What the user typed or pasted, split into the part that GBK can hold and the characters that it
// cannot (which are left out of `gbk`, never replaced by something else).
struct TypedText {
  Text gbk;          // the representable characters, in order, as GBK
  QString kept;      // the same characters as QString
  QString rejected;  // the characters left out, each once per occurrence
};
TypedText FromTyped(const QString& typed);

// Tells the user that `rejected` could not be taken (a tooltip at the widget and a beep), so a
// character is never dropped silently. Does nothing for an empty `rejected`.
void TellUnrepresentable(QWidget* near, const QString& rejected);

// The message shown by TellUnrepresentable.
QString UnrepresentableMessage(const QString& rejected);

}  // namespace kelmor::display
