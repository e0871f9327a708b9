#include "kit/json.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "kit/request_writer.h"

namespace zemkit {

namespace {

class Parser {
  public:
    explicit Parser(const std::string& text) : text_(text) {}

    JsonValue Document() {
        JsonValue value = Value();
        SkipBlanks();
        if (position_ != text_.size()) Fail("text after the value");
        return value;
    }

  private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw JsonError("JSON: " + what + " at byte " + std::to_string(position_));
    }

    void SkipBlanks() {
        while (position_ < text_.size() && std::strchr(" \t\r\n", text_[position_]) != nullptr &&
               text_[position_] != '\0') {
            ++position_;
        }
    }

    bool Take(char c) {
        SkipBlanks();
        if (position_ < text_.size() && text_[position_] == c) {
            ++position_;
            return true;
        }
        return false;
    }

    void Expect(char c) {
        if (!Take(c)) Fail(std::string("expected '") + c + "'");
    }

    bool TakeWord(const char* word) {
        const std::string w(word);
        if (text_.compare(position_, w.size(), w) != 0) return false;
        position_ += w.size();
        return true;
    }

    JsonValue Value() {
        SkipBlanks();
        if (position_ >= text_.size()) Fail("unexpected end");
        JsonValue value;
        const char c = text_[position_];
        if (c == '{') return Object();
        if (c == '[') return Array();
        if (c == '"') {
            value.type = JsonValue::Type::kString;
            value.text = String();
        } else if (TakeWord("true")) {
            value.type = JsonValue::Type::kBool;
            value.boolean = true;
        } else if (TakeWord("false")) {
            value.type = JsonValue::Type::kBool;
        } else if (TakeWord("null")) {
            value.type = JsonValue::Type::kNull;
        } else {
            value.type = JsonValue::Type::kNumber;
            value.text = Number();
        }
        return value;
    }

    JsonValue Object() {
        JsonValue value;
        value.type = JsonValue::Type::kObject;
        Expect('{');
        if (Take('}')) return value;
        do {
            SkipBlanks();
            if (position_ >= text_.size() || text_[position_] != '"') Fail("expected a key");
            std::string key = String();
            Expect(':');
            if (value.members.count(key) != 0) Fail("duplicate key \"" + key + "\"");
            value.members[key] = Value();
        } while (Take(','));
        Expect('}');
        return value;
    }

    JsonValue Array() {
        JsonValue value;
        value.type = JsonValue::Type::kArray;
        Expect('[');
        if (Take(']')) return value;
        do {
            value.items.push_back(Value());
        } while (Take(','));
        Expect(']');
        return value;
    }

    std::string Number() {
        const size_t start = position_;
        if (position_ < text_.size() && text_[position_] == '-') ++position_;
        const size_t digits = position_;
        while (position_ < text_.size() &&
               (std::isdigit(static_cast<unsigned char>(text_[position_])) ||
                std::strchr(".eE+-", text_[position_]) != nullptr)) {
            ++position_;
        }
        if (position_ == digits || !std::isdigit(static_cast<unsigned char>(text_[digits]))) {
            Fail("expected a value");
        }
        return text_.substr(start, position_ - start);
    }

    unsigned Hex4() {
        if (position_ + 4 > text_.size()) Fail("short \\u escape");
        unsigned value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[position_++];
            if (!std::isxdigit(static_cast<unsigned char>(c))) Fail("bad \\u escape");
            value = value * 16 +
                    static_cast<unsigned>(std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10);
        }
        return value;
    }

    void AppendCodePoint(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    unsigned Escape() {
        const char c = text_[position_++];
        switch (c) {
            case '"':
            case '\\':
            case '/':
                return static_cast<unsigned char>(c);
            case 'b':
                return '\b';
            case 'f':
                return '\f';
            case 'n':
                return '\n';
            case 'r':
                return '\r';
            case 't':
                return '\t';
            case 'u':
                break;
            default:
                Fail("bad escape");
        }
        unsigned code = Hex4();
        if (code >= 0xD800 && code <= 0xDBFF) {
            if (!TakeWord("\\u")) Fail("lone surrogate");
            const unsigned low = Hex4();
            if (low < 0xDC00 || low > 0xDFFF) Fail("lone surrogate");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
            Fail("lone surrogate");
        }
        return code;
    }

    std::string String() {
        ++position_;  // the opening quote
        std::string out;
        while (position_ < text_.size() && text_[position_] != '"') {
            const char c = text_[position_++];
            if (static_cast<unsigned char>(c) < 0x20) Fail("control character in a string");
            if (c != '\\') {
                out += c;
            } else if (position_ >= text_.size()) {
                Fail("unexpected end");
            } else {
                AppendCodePoint(out, Escape());
            }
        }
        if (position_ >= text_.size()) Fail("unterminated string");
        ++position_;
        if (!IsValidUtf8(out)) Fail("a string that is not UTF-8");
        return out;
    }

    const std::string& text_;
    size_t position_ = 0;
};

}  // namespace

JsonValue ParseJson(const std::string& text) {
    return Parser(text).Document();
}

void AppendJsonString(std::string& out, const std::string& text) {
    out += '"';
    const bool valid = IsValidUtf8(text);
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!valid && c >= 0x80) {
            out += "\\ufffd";
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

}  // namespace zemkit
