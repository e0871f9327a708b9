#pragma once

#include "format/text_range.h"

// A source has no replacement for a key. Always caught (and discarded) by LookupOverride.
class FormatOverrideNotFound {};

// A provider of replacement texts for template sources (the translation table is the only one).
class FormatOverrideSource {
  public:
    virtual ~FormatOverrideSource() = default;
    // The replacement for `key`, or throws (FormatOverrideNotFound when there is none).
    virtual TextRange LookupOverride(TextRange key) const = 0;
};

// One source's place in the process-wide registry. Registering links it at the head, so that the
// newest source is asked first; destroying the registration unlinks it.
class FormatOverrideRegistration {
  public:
    explicit FormatOverrideRegistration(const FormatOverrideSource& source);
    ~FormatOverrideRegistration();
    FormatOverrideRegistration(const FormatOverrideRegistration&) = delete;
    FormatOverrideRegistration& operator=(const FormatOverrideRegistration&) = delete;

  private:
    friend class FormatOverrideRegistry;
    const FormatOverrideSource& source_;
    FormatOverrideRegistration* previous_ = nullptr;
    FormatOverrideRegistration* next_ = nullptr;
};

// The process-wide list of override sources, created on first use, empty at start.
class FormatOverrideRegistry {
  public:
    static FormatOverrideRegistry& Instance();

    // The replacement text of the first source that has one for `key`, else `fallback`. Whatever a
    // source throws is discarded and the next source is asked.
    TextRange LookupOverride(TextRange key, TextRange fallback) const;

  private:
    friend class FormatOverrideRegistration;
    FormatOverrideRegistration* head_ = nullptr;
};

inline TextRange LookupOverride(TextRange key, TextRange fallback) {
    return FormatOverrideRegistry::Instance().LookupOverride(key, fallback);
}
