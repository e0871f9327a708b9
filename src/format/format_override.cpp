#include "format/format_override.h"

FormatOverrideRegistry& FormatOverrideRegistry::Instance() {
    // Lives until the process ends: templates keep pointing into the sources' texts.
    static FormatOverrideRegistry* registry = new FormatOverrideRegistry();
    return *registry;
}

FormatOverrideRegistration::FormatOverrideRegistration(const FormatOverrideSource& source)
    : source_(source) {
    FormatOverrideRegistry& registry = FormatOverrideRegistry::Instance();
    next_ = registry.head_;
    if (next_ != nullptr) next_->previous_ = this;
    registry.head_ = this;
}

FormatOverrideRegistration::~FormatOverrideRegistration() {
    FormatOverrideRegistry& registry = FormatOverrideRegistry::Instance();
    if (previous_ != nullptr) {
        previous_->next_ = next_;
    } else {
        registry.head_ = next_;
    }
    if (next_ != nullptr) next_->previous_ = previous_;
}

TextRange FormatOverrideRegistry::LookupOverride(TextRange key, TextRange fallback) const {
    for (const FormatOverrideRegistration* entry = head_; entry != nullptr; entry = entry->next_) {
        try {
            return entry->source_.LookupOverride(key);
        } catch (...) {
            // A source without a replacement (or a failing one) just passes the question on.
        }
    }
    return fallback;
}
