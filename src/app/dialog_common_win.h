#pragma once

// What every command handler gives its dialog (Windows only): the request's picture, the taskbar
// flag, and the session-end notice that writes "CLOSED" as the one reply.

#include "protocol/icon/icon_decoder.h"
#include "ui/action_dialog_win.h"

// The pixels stay `image`'s, which must outlive the dialog.
ActionDialogSettings CommonDialogSettings(IconImage& image, bool showInTaskbar);
