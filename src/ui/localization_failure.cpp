#include "ui/localization_failure.h"

namespace {

LiteralTracker* liveTracker = nullptr;

}  // namespace

LiteralTracker::LiteralTracker() : previous_(liveTracker) {
    liveTracker = this;
}

LiteralTracker::~LiteralTracker() {
    if (liveTracker == this) liveTracker = previous_;
}

const char* LiteralTracker::Mark(const char* literal) {
    if (liveTracker != nullptr) liveTracker->literal_ = literal;
    return literal;
}
