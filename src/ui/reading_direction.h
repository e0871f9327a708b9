#pragma once

// Whether the dialogs are laid out right to left: the translation in effect decides, through the
// key kReadingDirectionKey (ui/accessible_texts.h).

// True only when the translation maps the key to exactly kRightToLeftValue. Without a translation,
// or with a value that fails to localize, the layout stays left to right: a broken entry must not
// mirror a dialog, and it must not end one either.
bool IsRightToLeftTranslation();
