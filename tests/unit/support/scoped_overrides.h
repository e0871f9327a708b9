#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <utility>

#include "format/format_override.h"

// A translation source for one test: registered (newest first) while it lives and unlinked when it
// goes, so no test leaves a translation behind for the others in the process.
class ScopedOverrides : public FormatOverrideSource {
  public:
    ScopedOverrides(std::initializer_list<std::pair<const std::string, std::string>> entries)
        : entries_(entries), registration_(*this) {}

    TextRange LookupOverride(TextRange key) const override {
        const auto found = entries_.find(std::string(key.first, key.size()));
        if (found == entries_.end()) throw FormatOverrideNotFound();
        const std::string& value = found->second;
        return TextRange(value.data(), value.data() + value.size(), false);
    }

  private:
    const std::map<std::string, std::string> entries_;
    FormatOverrideRegistration registration_;  // last: unlinked before the entries go
};
