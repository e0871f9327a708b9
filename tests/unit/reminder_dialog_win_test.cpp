#include "ui/reminder/reminder_dialog_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// The settings the tests start from; none has a picture.
ReminderSettings Settings() {
    ReminderSettings settings;
    settings.remindTime = 3600;
    settings.shortestPostpone = 600;
    settings.title = "t";
    return settings;
}

class ReminderDialogTest : public ::testing::Test {
  protected:
    static ActionItem Item(int32_t id, ActionKind kind, bool cancel, bool preview) {
        ActionItem item;
        item.id = id;
        item.kind = kind;
        item.cancelAllowed = cancel;
        item.previewAvailable = preview;
        item.title = "title " + std::to_string(id);
        // Long enough to live on the heap: the copy must own its own text.
        item.body = std::string(64, static_cast<char>('a' + id % 26));
        item.deadline = 1000000LL * id;
        return item;
    }

    // Heap-made: the dialog keeps its first action inside itself and so cannot be moved.
    static std::unique_ptr<ActionReminderDialog> MakeDialog(
        const ReminderSettings& settings = Settings()) {
        return std::make_unique<ActionReminderDialog>(settings);
    }
};

TEST_F(ReminderDialogTest, KeepsCopiesOfTheActionsInRequestOrder) {
    const auto dialog = MakeDialog();
    // Six actions fill the storage inside the object and two further segments.
    for (int32_t id = 1; id <= 6; ++id) {
        ActionItem item =
            Item(id, id % 2 ? ActionKind::kRestart : ActionKind::kNone, id == 4, id == 5);
        dialog->AddActionItem(item);
        item.body = "changed after adding";
    }
    ASSERT_EQ(dialog->GetActionCount(), 6u);
    for (uint32_t index = 0; index < 6; ++index) {
        dialog->SelectAction(index);
        const int32_t id = static_cast<int32_t>(index) + 1;
        EXPECT_EQ(dialog->GetCurrentActionId(), id);
        EXPECT_EQ(dialog->GetCurrentTitle(), "title " + std::to_string(id));
        EXPECT_EQ(dialog->GetCurrentBody(), std::string(64, static_cast<char>('a' + id % 26)));
        EXPECT_EQ(dialog->GetCurrentDeadline(), 1000000LL * id);
        EXPECT_EQ(dialog->CanCancel(), id == 4);
        EXPECT_EQ(dialog->HasPreview(), id == 5);
    }
    const KindCounts kinds = dialog->CountKinds();
    EXPECT_EQ(kinds.restarts, 3u);
    EXPECT_EQ(kinds.shutdowns, 0u);
}

TEST_F(ReminderDialogTest, SelectingBeyondTheActionsKeepsTheCurrentOne) {
    const auto dialog = MakeDialog();
    dialog->AddActionItem(Item(7, ActionKind::kShutdown, true, false));
    dialog->AddActionItem(Item(8, ActionKind::kNone, false, true));
    dialog->SelectAction(1);
    dialog->SelectAction(2);
    EXPECT_EQ(dialog->GetCurrentIndex(), 1u);
    EXPECT_EQ(dialog->GetCurrentActionId(), 8);
}

TEST_F(ReminderDialogTest, WithoutActionsNothingIsOffered) {
    ReminderSettings untitled = Settings();
    untitled.title = nullptr;
    const auto dialog = MakeDialog(untitled);
    EXPECT_EQ(dialog->GetCurrentActionId(), 0);
    EXPECT_FALSE(dialog->CanCancel());
    EXPECT_FALSE(dialog->HasPreview());
    EXPECT_EQ(dialog->GetCurrentTitle(), "");
}

TEST_F(ReminderDialogTest, TitleIsNormalizedForTheWindowCaption) {
    ReminderSettings settings = Settings();
    settings.title = "a\nb";
    const auto titled = MakeDialog(settings);
    ASSERT_NE(titled->GetDialogTitle(), nullptr);
    EXPECT_STREQ(titled->GetDialogTitle(), "a\r\nb");
}

TEST_F(ReminderDialogTest, EmptyTitleKeepsTheTemplateCaption) {
    ReminderSettings settings = Settings();
    settings.title = "";
    EXPECT_EQ(MakeDialog(settings)->GetDialogTitle(), nullptr);
}

TEST_F(ReminderDialogTest, RemindChoiceStartsAtTheEarlierOfRemindTimeAndDeadline) {
    const struct {
        uint32_t remindTime, shortestPostpone, seconds;
    } cases[] = {{3600, 600, 600}, {3600, 0xFFFFFFFFu, 3600}, {300, 7200, 300}, {0, 60, 60}};
    for (const auto& c : cases) {
        ReminderSettings settings = Settings();
        settings.remindTime = c.remindTime;
        settings.shortestPostpone = c.shortestPostpone;
        const auto dialog = MakeDialog(settings);
        EXPECT_EQ(dialog->GetRemindSeconds(), c.seconds)
            << c.remindTime << " " << c.shortestPostpone;
        EXPECT_EQ(dialog->GetRemindState().maxRemindLeft, c.shortestPostpone);
        EXPECT_FALSE(dialog->IsRemindRequested() || dialog->IsTakeAllRequested());
    }
}

TEST_F(ReminderDialogTest, KeepsTheCountdownSettings) {
    ReminderSettings countdown = Settings();
    countdown.autoTakeAll = true;
    countdown.autoSeconds = 45;
    countdown.common.showInTaskbar = true;
    const auto dialog = MakeDialog(countdown);
    EXPECT_TRUE(dialog->IsAutoTakeAll());
    EXPECT_EQ(dialog->GetAutoSeconds(), 45u);
    EXPECT_TRUE(dialog->ShowsInTaskbar());
}

}  // namespace
