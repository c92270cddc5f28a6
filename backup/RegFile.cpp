#include "backup/RegFile.h"

#include <string_view>

#include "platform/Registry.h"
#include "settings/Catalogue.h"

namespace backup {

namespace {

const char* const kRoot = "HKEY_LOCAL_MACHINE";
const char* const kHeader4 = "REGEDIT4";
const char* const kHeader5 = "Windows Registry Editor Version 5.00";
const char* const kEol = "\r\n";
// Regedit folds a hex list once a line reaches this column.
constexpr std::size_t kFoldColumn = 77;

// Everything is appended to the file's text in place: a backup is made
// before every restore, undo and reset.

const char kHexDigits[] = "0123456789abcdef";

// Lowercase hexadecimal digits, as regedit writes them, at least `minDigits`.
void appendHexNumber(std::string& out, std::uint32_t v, std::size_t minDigits) {
    char digits[8];
    std::size_t n = 8;
    do {
        digits[--n] = kHexDigits[v & 0xF];
        v >>= 4;
    } while (v);
    while (8 - n < minDigits) digits[--n] = '0';
    out.append(digits + n, 8 - n);
}

// Runs without a quote or backslash go in whole.
void appendQuoted(std::string& out, const char* s, std::size_t n) {
    out += '"';
    std::size_t from = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (s[i] != '\\' && s[i] != '"') continue;
        out.append(s + from, i - from).append(1, '\\');
        from = i;
    }
    out.append(s + from, n - from);
    out += '"';
}

// A text regedit can write between quotes and read back as it was: no
// control characters, at most one NUL and that at the end (dropped, as
// regedit drops it).
bool quotable(const std::vector<std::uint8_t>& d) {
    for (std::size_t i = 0; i < d.size(); ++i) {
        if (d[i] == 0 && i + 1 == d.size()) return true;
        if (d[i] < 0x20) return false;
    }
    return true;
}

// A byte list as regedit folds it; each line built whole before it is added.
void appendHex(std::string& out, const std::vector<std::uint8_t>& d, std::size_t column) {
    char line[kFoldColumn + 8];
    std::size_t n = 0;
    for (std::size_t i = 0; i < d.size(); ++i) {
        line[n++] = kHexDigits[d[i] >> 4];
        line[n++] = kHexDigits[d[i] & 0xF];
        if (i + 1 == d.size()) break;
        line[n++] = ',';
        column += 3;
        if (column >= kFoldColumn) {
            out.append(line, n).append("\\").append(kEol).append("  ");
            n = 0;
            column = 2;
        }
    }
    out.append(line, n);
}

void appendValueLine(std::string& out, const RegEntryView& v) {
    const std::vector<std::uint8_t>& d = *v.data;
    const std::size_t start = out.size();
    appendQuoted(out, v.name.data(), v.name.size());
    out += '=';
    if (v.absent) {
        out += '-';
    } else if (v.type == platform::ValueType::Dword && d.size() == 4) {
        out += "dword:";
        appendHexNumber(out, platform::dwordFromBytes(d.data()), 8);
    } else if (v.type == platform::ValueType::Text && quotable(d)) {
        const std::size_t n = d.size() - (!d.empty() && d.back() == 0);
        appendQuoted(out, reinterpret_cast<const char*>(d.data()), n);
    } else {
        if (v.type == platform::ValueType::Binary) {
            out += "hex:";
        } else {
            out += "hex(";
            appendHexNumber(out, static_cast<std::uint32_t>(v.type), 1);
            out += "):";
        }
        appendHex(out, d, out.size() - start);
    }
    out += kEol;
}

// ------------------------------------------------------------- reading

// Windows-1252's letters at 0x80..0x9F, for texts of the UTF-16 form.
const std::uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// As the system's conversion does it: what the code page lacks becomes '?'.
char toAnsi(std::uint16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == u) return static_cast<char>(0x80 + i);
    return '?';
}

std::string fromUtf16(const std::uint8_t* p, std::size_t bytes) {
    std::string out;
    out.reserve(bytes / 2);
    for (std::size_t i = 0; i + 1 < bytes; i += 2) out += toAnsi(static_cast<std::uint16_t>(p[i] | (p[i + 1] << 8)));
    return out;
}

// Views into the file's text: reading copies nothing but names and data.
using View = std::string_view;

bool startsWithNoCase(View s, const char* prefix) {
    for (std::size_t i = 0; prefix[i]; ++i) {
        if (i == s.size()) return false;
        char c = s[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        char p = prefix[i];
        if (p >= 'A' && p <= 'Z') p = static_cast<char>(p - 'A' + 'a');
        if (c != p) return false;
    }
    return true;
}

View trimRight(View s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Part of a view, never past its end (string_view's substr would link its
// exception for nothing).
View part(View s, std::size_t at, std::size_t n = View::npos) {
    if (at > s.size()) at = s.size();
    return View(s.data() + at, n < s.size() - at ? n : s.size() - at);
}

// The line that starts at `at`, which then moves past its line end; false
// at the text's end.
bool nextLine(const std::string& text, std::size_t& at, View& line) {
    if (at >= text.size()) return false;
    std::size_t end = text.find_first_of("\r\n", at);
    if (end == std::string::npos) end = text.size();
    line = View(text.data() + at, end - at);
    at = end;
    if (at < text.size()) at += text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
    return true;
}

View trimLeft(View s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A quoted text from s[at] (the opening quote); `at` ends past the closing
// one. False when it is not closed.
bool unquote(View s, std::size_t& at, std::string& out) {
    out.clear();
    for (std::size_t i = at + 1; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            out += s[++i];
        } else if (s[i] == '"') {
            at = i + 1;
            return true;
        } else {
            out += s[i];
        }
    }
    return false;
}

enum class Parse { Ok, Skip, Incomplete };

// The data after "name"=, in regedit's own full form when `strict`.
Parse parseData(View d, bool wide, bool strict, platform::ValueType& type, std::vector<std::uint8_t>& data) {
    data.clear();
    if (d.empty()) return strict ? Parse::Incomplete : Parse::Skip;
    if (d[0] == '"') {
        std::size_t at = 0;
        std::string text;
        if (!unquote(d, at, text)) return Parse::Incomplete;
        if (!trimRight(part(d, at)).empty()) return Parse::Skip;
        type = platform::ValueType::Text;
        data.assign(text.begin(), text.end());
        return Parse::Ok;
    }
    if (startsWithNoCase(d, "dword:")) {
        const View digits = trimRight(part(d, 6));
        if (digits.empty() || digits.size() > 8) return strict ? Parse::Incomplete : Parse::Skip;
        std::uint32_t v = 0;
        for (char c : digits) {
            const int h = hexDigit(c);
            if (h < 0) return Parse::Skip;
            v = v * 16 + static_cast<std::uint32_t>(h);
        }
        if (strict && digits.size() != 8) return Parse::Incomplete;
        type = platform::ValueType::Dword;
        const auto b = platform::dwordBytes(v);
        data.assign(b.begin(), b.end());
        return Parse::Ok;
    }
    std::size_t at;
    if (startsWithNoCase(d, "hex:")) {
        type = platform::ValueType::Binary;
        at = 4;
    } else if (startsWithNoCase(d, "hex(")) {
        const std::size_t close = d.find(')');
        if (close == View::npos || close == 4 || close > 12 || close + 1 >= d.size() || d[close + 1] != ':')
            return strict ? Parse::Incomplete : Parse::Skip;
        std::uint32_t t = 0;
        for (std::size_t i = 4; i < close; ++i) {
            const int h = hexDigit(d[i]);
            if (h < 0) return Parse::Skip;
            t = t * 16 + static_cast<std::uint32_t>(h);
        }
        type = static_cast<platform::ValueType>(t);
        at = close + 2;
    } else {
        return Parse::Skip;
    }
    const View list = trimRight(part(d, at));
    std::size_t i = 0;
    while (i < list.size()) {
        std::size_t comma = list.find(',', i);
        const View item = trimLeft(trimRight(part(list, i, comma == View::npos ? View::npos : comma - i)));
        if (item.empty() || item.size() > 2) return strict && comma == View::npos ? Parse::Incomplete : Parse::Skip;
        int v = 0;
        for (char c : item) {
            const int h = hexDigit(c);
            if (h < 0) return Parse::Skip;
            v = v * 16 + h;
        }
        if (strict && comma == View::npos && item.size() != 2) return Parse::Incomplete;
        data.push_back(static_cast<std::uint8_t>(v));
        if (comma == View::npos) break;
        i = comma + 1;
        if (i == list.size()) return strict ? Parse::Incomplete : Parse::Skip;  // a list ending in a comma
    }
    // The UTF-16 form keeps its texts' bytes in UTF-16; the program's are 8-bit.
    if (wide && (type == platform::ValueType::Text || type == platform::ValueType::ExpandText || type == platform::ValueType::MultiText)) {
        const std::string t = fromUtf16(data.data(), data.size());
        if (data.size() % 2) return Parse::Skip;
        data.assign(t.begin(), t.end());
    }
    return Parse::Ok;
}

}  // namespace

std::string writeRegFile(const std::vector<RegEntry>& entries) {
    std::vector<RegEntryView> views;
    views.reserve(entries.size());
    for (const RegEntry& e : entries) views.push_back({e.key, e.name, e.type, &e.data, e.absent});
    return writeRegFile(views);
}

std::string writeRegFile(const std::vector<RegEntryView>& entries) {
    std::string out;
    out.reserve(4096);
    out += kHeader4;
    out += kEol;
    out += kEol;
    std::string done(entries.size(), 0);  // which of them are written
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (done[i]) continue;
        out += '[';
        out += kRoot;
        out += '\\';
        out += entries[i].key;
        out += ']';
        out += kEol;
        for (std::size_t j = i; j < entries.size(); ++j) {
            if (done[j] || entries[j].key != entries[i].key) continue;
            done[j] = 1;
            appendValueLine(out, entries[j]);
        }
        out += kEol;
    }
    return out;
}

ReadResult readRegFile(const std::string& fileBytes) {
    ReadResult r;
    if (fileBytes.size() > kMaxFileBytes) {
        r.error = ReadError::TooLarge;
        return r;
    }
    std::string text;
    const auto* raw = reinterpret_cast<const std::uint8_t*>(fileBytes.data());
    const bool utf16 = fileBytes.size() >= 2 && raw[0] == 0xFF && raw[1] == 0xFE;
    if (utf16) {
        text = fromUtf16(raw + 2, fileBytes.size() - 2);
    } else {
        text = fileBytes;
    }
    if (text.find_first_not_of("\r\n \t") == std::string::npos) {
        r.error = ReadError::Empty;
        return r;
    }
    // A UTF-16 file with half a character at its end was cut off.
    if (utf16 && fileBytes.size() % 2) {
        r.error = ReadError::CutOff;
        return r;
    }

    const bool endsWithLineEnd = text.back() == '\n' || text.back() == '\r';
    std::size_t pos = 0;  // where the next line starts
    View first;
    nextLine(text, pos, first);
    first = trimRight(first);
    const bool v5 = first == kHeader5;
    if (first != kHeader4 && !v5) {
        r.error = ReadError::NotRegistryFile;
        return r;
    }

    enum class Section { None, Ours, Other } section = Section::None;
    std::string key, folded;
    for (View raw; nextLine(text, pos, raw);) {
        View line = trimRight(raw);
        // Folded lines end in a backslash; the next one goes on after its indent.
        if (!line.empty() && line.back() == '\\' && line.front() != '[') {
            folded.assign(line.data(), line.size());
            while (!folded.empty() && folded.back() == '\\' && folded.front() != '[') {
                folded.pop_back();
                if (!nextLine(text, pos, raw)) {
                    r.error = ReadError::CutOff;
                    return r;
                }
                const View more = trimLeft(trimRight(raw));
                folded.append(more.data(), more.size());
            }
            line = folded;
        }
        const bool last = pos == text.size() && !endsWithLineEnd;
        const View t = trimLeft(line);
        if (t.empty()) continue;
        if (t[0] == '[') {
            if (t.back() != ']') {
                if (last) {
                    r.error = ReadError::CutOff;
                    return r;
                }
                ++r.skipped;
                section = Section::None;
                continue;
            }
            const View path = part(t, 1, t.size() - 2);
            const std::size_t prefix = std::char_traits<char>::length(kRoot) + 1;
            if (startsWithNoCase(path, kRoot) && path.size() > prefix && path[prefix - 1] == '\\') {
                section = Section::Ours;
                key.assign(path.data() + prefix, path.size() - prefix);
            } else {
                section = Section::Other;  // another root, or a deleted key
                ++r.skipped;
            }
            continue;
        }
        if (t[0] != '"') {
            ++r.skipped;  // default values, comments, anything else
            continue;
        }
        std::size_t at = 0;
        std::string name;
        if (!unquote(t, at, name)) {
            if (last) {
                r.error = ReadError::CutOff;
                return r;
            }
            ++r.skipped;
            continue;
        }
        const View rest = trimLeft(part(t, at));
        if (rest.empty() || rest[0] != '=') {
            ++r.skipped;
            continue;
        }
        RegEntry e;
        e.key = key;
        e.name = name;
        if (trimLeft(part(rest, 1)) == "-") {
            // A deletion: regedit removes the value on import.
            if (section != Section::Ours) {
                ++r.skipped;
                continue;
            }
            e.absent = true;
            r.entries.push_back(std::move(e));
            continue;
        }
        const Parse p = parseData(trimLeft(part(rest, 1)), v5, last, e.type, e.data);
        if (p == Parse::Incomplete && last) {
            r.error = ReadError::CutOff;
            return r;
        }
        if (p != Parse::Ok || section != Section::Ours) {
            ++r.skipped;
            continue;
        }
        r.entries.push_back(std::move(e));
    }
    return r;
}

}  // namespace backup
