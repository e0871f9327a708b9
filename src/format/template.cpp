#include "format/template.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "format/template_scanner.h"

namespace {

constexpr char kSpecialPrefix = '_';

// Bindings ordered by name, and by value among equal names.
bool BindingBefore(const FormatBinding& a, const FormatBinding& b) {
    const int byName = CompareTexts(a.name, b.name);
    if (byName != 0) return byName < 0;
    return CompareTexts(a.value, b.value) < 0;
}

// The first binding of `name` in a sorted array: among repeated names, the one whose value comes
// first in byte order. Throws UndefinedFormatVariable when there is none.
TextRange FindBoundValue(const FormatBinding* first, const FormatBinding* last, TextRange name) {
    const FormatBinding key{name, TextRange()};
    const FormatBinding* found = std::lower_bound(first, last, key, BindingBefore);
    if (found == last || !SameText(found->name, name)) throw UndefinedFormatVariable();
    return found->value;
}

bool IsSpecialName(TextRange name) {
    return !name.empty() && name.first[0] == kSpecialPrefix;
}

bool IsNameByte(char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '_';
}

// The first byte of an ordinary name is deliberately not examined: only the ones after it are.
void CheckOrdinaryName(TextRange name) {
    if (!std::all_of(name.first + 1, name.last, IsNameByte)) throw ImproperFormatVariableName();
}

// Binds each ordinary variable of the source text to the next argument.
class ArgumentBinder {
  public:
    ArgumentBinder(const TextRange* arguments, size_t count, FormatBinding* slots)
        : arguments_(arguments), count_(count), slots_(slots) {}

    void Literal(TextRange) {}

    void Variable(TextRange name) {
        if (name.empty()) throw ImproperFormatVariableName();
        if (IsSpecialName(name)) {
            const FormatBindingTable& specials = SpecialFormatVariables();
            FindBoundValue(specials.first, specials.last, name);  // only has to exist
            return;
        }
        CheckOrdinaryName(name);
        if (bound_ == count_) throw TooManyFormatArguments();
        slots_[bound_] = FormatBinding{name, arguments_[bound_]};
        ++bound_;
    }

    void CheckCount() const {
        if (bound_ != count_) throw TooFewFormatArguments();
    }

    // The bindings, sorted so that substitution can search them.
    void Finish() {
        CheckCount();
        std::sort(slots_, slots_ + count_, BindingBefore);
    }

  private:
    const TextRange* arguments_;
    size_t count_;
    FormatBinding* slots_;
    size_t bound_ = 0;
};

// The text being assembled: on the stack while it is short, as captions and numbers are, so that
// the result is the call's only allocation; on the heap beyond that.
class OutputBuffer {
  public:
    void Append(TextRange text) {
        const size_t size = text.size();
        if (heap_.empty() && size_ + size <= sizeof inline_) {
            if (size != 0) std::memcpy(inline_ + size_, text.first, size);
        } else {
            if (heap_.empty()) heap_.assign(inline_, size_);
            heap_.append(text.first, size);
        }
        size_ += size;
    }
    const char* data() const { return heap_.empty() ? inline_ : heap_.data(); }
    size_t size() const { return size_; }

  private:
    static constexpr size_t kInlineBytes = 256;
    char inline_[kInlineBytes];
    std::string heap_;
    size_t size_ = 0;
};

// Assembles the effective text with every variable replaced by its value.
class Substituter {
  public:
    Substituter(const FormatBinding* bindings, size_t count) : bindings_(bindings), count_(count) {}

    void Literal(TextRange text) { Append(text); }

    void Variable(TextRange name) {
        if (name.empty()) throw ImproperFormatVariableName();
        if (IsSpecialName(name)) {
            const FormatBindingTable& specials = SpecialFormatVariables();
            Append(FindBoundValue(specials.first, specials.last, name));
        } else {
            Append(FindBoundValue(bindings_, bindings_ + count_, name));
        }
    }

    Utf8Text Result() const { return Utf8Text(output_.data(), output_.data() + output_.size()); }

  private:
    void Append(TextRange text) { output_.Append(text); }

    const FormatBinding* bindings_;
    size_t count_;
    OutputBuffer output_;
};

// An untranslated template: binding and substitution walk the same text, so each ordinary
// variable can take its argument in the same pass. Only a repeated name needs the sorted lookup
// (all its occurrences take the value that sorts first), so that case reports it and the caller
// takes the general path.
class DirectSubstituter {
  public:
    DirectSubstituter(const TextRange* arguments, size_t count, FormatBinding* slots)
        : binder_(arguments, count, slots), arguments_(arguments), slots_(slots) {}

    void Literal(TextRange text) { output_.Append(text); }

    void Variable(TextRange name) {
        const size_t before = bound_;
        binder_.Variable(name);  // every rule and error of binding
        if (IsSpecialName(name)) {
            const FormatBindingTable& specials = SpecialFormatVariables();
            output_.Append(FindBoundValue(specials.first, specials.last, name));
            return;
        }
        bound_ = before + 1;
        if (FirstByteSeenBefore(name)) {
            for (size_t i = 0; i < before; ++i) {
                if (SameText(slots_[i].name, name)) repeatedName_ = true;
            }
        }
        output_.Append(arguments_[before]);
    }

    // Throws TooFewFormatArguments like binding; false when a name repeats.
    bool Finish() {
        binder_.CheckCount();
        return !repeatedName_;
    }

    Utf8Text Result() const { return Utf8Text(output_.data(), output_.data() + output_.size()); }

  private:
    // Names are compared only when one with the same first byte came before: the number template's
    // 21 names, for example, all differ in it.
    bool FirstByteSeenBefore(TextRange name) {
        const auto first = static_cast<unsigned char>(name.first[0]);
        uint64_t& word = firstBytesSeen_[first / 64];
        const uint64_t bit = uint64_t{1} << (first % 64);
        const bool seen = (word & bit) != 0;
        word |= bit;
        return seen;
    }

    ArgumentBinder binder_;
    const TextRange* arguments_;
    const FormatBinding* slots_;
    size_t bound_ = 0;
    bool repeatedName_ = false;
    uint64_t firstBytesSeen_[4] = {};
    OutputBuffer output_;
};

// The six rows, sorted once by name.
struct SpecialVariableRows {
    FormatBinding rows[6];
    FormatBindingTable table;

    SpecialVariableRows()
        : rows{{TextRange::FromCString("_cbrace"), TextRange::FromCString("}")},
               {TextRange::FromCString("_cr"), TextRange::FromCString("\r")},
               {TextRange::FromCString("_crlf"), TextRange::FromCString("\r\n")},
               {TextRange::FromCString("_lf"), TextRange::FromCString("\n")},
               {TextRange::FromCString("_obrace"), TextRange::FromCString("{")},
               {TextRange::FromCString("_tab"), TextRange::FromCString("\t")}},
          table{rows, rows + 6} {
        std::sort(rows, rows + 6, BindingBefore);
    }
};

}  // namespace

const FormatBindingTable& SpecialFormatVariables() {
    static const SpecialVariableRows specials;
    return specials.table;
}

FormatTemplate MakeTemplate(const char* literal) {
    const TextRange source = TextRange::FromCString(literal);
    return FormatTemplate{source, LookupOverride(source, source)};
}

Utf8Text LocalizeArguments(const FormatTemplate& text, const TextRange* arguments, size_t count,
                           FormatBinding* slots) {
    const bool untranslated =
        text.source.first == text.effective.first && text.source.last == text.effective.last;
    if (untranslated) {
        DirectSubstituter direct(arguments, count, slots);
        ScanTemplate(text.source, direct);
        if (direct.Finish()) return direct.Result();
    }

    ArgumentBinder binder(arguments, count, slots);
    ScanTemplate(text.source, binder);
    binder.Finish();

    Substituter substituter(slots, count);
    ScanTemplate(text.effective, substituter);
    return substituter.Result();
}
