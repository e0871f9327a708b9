#include "app/dialog_common_win.h"

#include "app/reply_output_win.h"

namespace {

// The session may end the process before the dialog's run returns: the reply is written at once,
// and the handler's own reply later writes nothing.
class ClosedAtSessionEnd : public SessionEndNotice {
  public:
    void SessionEnding() override { WriteOneReply(OutputLock, RepliedFlag, "CLOSED"); }
};

ClosedAtSessionEnd closedAtSessionEnd;

}  // namespace

ActionDialogSettings CommonDialogSettings(IconImage& image, bool showInTaskbar) {
    ActionDialogSettings settings;
    settings.imagePixels = image.pixels();
    settings.imageWidth = image.width();
    settings.imageHeight = image.height();
    settings.showInTaskbar = showInTaskbar;
    settings.sessionEnd = &closedAtSessionEnd;
    return settings;
}
