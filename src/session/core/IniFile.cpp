#include "session/core/IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Gbk.h"

namespace sorvik {
namespace {

// The file is handled as GBK bytes. A trail byte can equal "[", "]" or an ASCII letter, so
// every scan steps over double-byte characters instead of looking at single bytes.

size_t CharLength(std::string_view s, size_t i) {
    const auto lead = static_cast<uint8_t>(s[i]);
    if (lead < 0x81 || lead == 0xFF || i + 1 >= s.size()) return 1;
    const auto trail = static_cast<uint8_t>(s[i + 1]);
    return trail >= 0x40 && trail != 0x7F && trail != 0xFF ? 2 : 1;
}

size_t FindAscii(std::string_view s, char c, size_t from = 0) {
    for (size_t i = from; i < s.size(); i += CharLength(s, i))
        if (s[i] == c) return i;
    return std::string_view::npos;
}

// The longest prefix of whole characters that fits in limit bytes.
size_t CutPoint(std::string_view s, size_t limit) {
    size_t i = 0;
    while (i < s.size()) {
        const size_t next = i + CharLength(s, i);
        if (next > limit) break;
        i = next;
    }
    return i;
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size();) {
        const size_t n = CharLength(a, i);
        if (n != CharLength(b, i)) return false;
        if (n == 2 ? a.substr(i, 2) != b.substr(i, 2) : FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
        i += n;
    }
    return true;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Whitespace is ASCII and never a trail byte, so the ends can be trimmed byte by byte.
template <class Pred>
std::string_view Trim(std::string_view s, Pred isTrimmed) {
    while (!s.empty() && isTrimmed(s.front())) s.remove_prefix(1);
    while (!s.empty() && isTrimmed(s.back())) s.remove_suffix(1);
    return s;
}

bool IsEmptyLine(std::string_view line) { return Trim(line, IsSpace).empty(); }

enum class LineKind { Other, Section, Key };

struct LineInfo {
    LineKind kind = LineKind::Other;
    std::string_view name;      // section or key name without surrounding whitespace
    std::string_view rawValue;  // keys: everything after the first "="
};

LineInfo Classify(std::string_view line) {
    const std::string_view text = Trim(line, IsSpace);
    if (text.empty() || text.front() == ';') return {};
    if (text.front() == '[') {
        const size_t close = FindAscii(text, ']', 1);
        if (close == std::string_view::npos) return {};
        return {LineKind::Section, Trim(text.substr(1, close - 1), IsSpace), {}};
    }
    const size_t eq = FindAscii(text, '=');
    if (eq == std::string_view::npos) return {};
    return {LineKind::Key, Trim(text.substr(0, eq), IsSpace), text.substr(eq + 1)};
}

// What the profile read hands back, tidied as the callers always did.
std::string TidyValue(std::string_view raw) {
    std::string_view v = Trim(raw, IsSpace);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    v = Trim(v.substr(0, CutPoint(v, classIniFile::kValueBufferBytes - 1)), IsBlank);
    std::string out;
    out.reserve(v.size());
    for (char c : v)
        if (c != '\0') out.push_back(c);
    return out;
}

// A section or key name as the file spells it.
std::string EncodeName(const QString& name) {
    return std::string(Trim(gbk::Encode(name), IsSpace));
}

// The file as lines of bytes, terminators removed. Edits work on the lines; lines they do
// not touch are written back unchanged.
class Profile {
public:
    // False when the file exists but cannot be read; a missing file is an empty profile.
    bool Load(const QString& path) {
        lines_.clear();
        QFile file(path);
        if (!file.exists()) return true;
        if (!file.open(QIODevice::ReadOnly)) return false;
        const QByteArray data = file.readAll();
        const std::string_view all(data.constData(), static_cast<size_t>(data.size()));
        size_t start = 0;
        while (start < all.size()) {
            size_t end = all.find('\n', start);
            if (end == std::string_view::npos) end = all.size();
            std::string_view line = all.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            lines_.emplace_back(line);
            start = end + 1;
        }
        return true;
    }

    bool Save(const QString& path) const {
        std::string data;
        for (const std::string& line : lines_) data.append(line).append("\r\n");
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return false;
        const auto size = static_cast<qint64>(data.size());
        if (file.write(data.data(), size) != size) {
            file.cancelWriting();
            return false;
        }
        return file.commit();
    }

    const std::string& Line(size_t i) const { return lines_[i]; }

    // The first line of key inside a section of that name.
    std::optional<size_t> FindKey(std::string_view section, std::string_view key) const {
        bool inside = false;
        for (size_t i = 0; i < lines_.size(); ++i) {
            const LineInfo info = Classify(lines_[i]);
            if (info.kind == LineKind::Section)
                inside = SameName(info.name, section);
            else if (inside && info.kind == LineKind::Key && SameName(info.name, key))
                return i;
        }
        return std::nullopt;
    }

    void Set(std::string_view section, std::string_view key, std::string_view value) {
        if (const auto found = FindKey(section, key)) {
            std::string line(Classify(lines_[*found]).name);
            lines_[*found] = line.append("=").append(value);
            return;
        }
        std::string line = std::string(key).append("=").append(value);
        // After the last non-empty line of the first section of that name, so the empty
        // lines that separate it from the next section stay where they are.
        std::optional<size_t> insertAt;
        for (size_t i = 0; i < lines_.size(); ++i) {
            const LineInfo info = Classify(lines_[i]);
            if (info.kind == LineKind::Section) {
                if (insertAt) break;
                if (SameName(info.name, section)) insertAt = i + 1;
            } else if (insertAt && !IsEmptyLine(lines_[i])) {
                insertAt = i + 1;
            }
        }
        if (insertAt) {
            lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*insertAt),
                          std::move(line));
        } else {
            lines_.push_back(std::string("[").append(section).append("]"));
            lines_.push_back(std::move(line));
        }
    }

    // Removes, in each section of that name, the lines of key, or with no key every line
    // of the section, header included; true if anything went.
    bool Remove(std::string_view section, std::optional<std::string_view> key) {
        std::vector<std::string> kept;
        kept.reserve(lines_.size());
        bool inside = false;
        for (std::string& line : lines_) {
            const LineInfo info = Classify(line);
            if (info.kind == LineKind::Section) inside = SameName(info.name, section);
            const bool drop = inside && (!key || (info.kind == LineKind::Key &&
                                                  SameName(info.name, *key)));
            if (!drop) kept.push_back(std::move(line));
        }
        const bool removed = kept.size() != lines_.size();
        lines_ = std::move(kept);
        return removed;
    }

private:
    std::vector<std::string> lines_;
};

}  // namespace

QString classIniFile::GetIniKey(const QString& section, const QString& key) const {
    if (fileName_.isEmpty()) return {};
    Profile profile;
    if (!profile.Load(fileName_)) return {};
    const auto found = profile.FindKey(EncodeName(section), EncodeName(key));
    if (!found) return {};
    return gbk::Decode(TidyValue(Classify(profile.Line(*found)).rawValue));
}

void classIniFile::WriteIniKey(const QString& section, const QString& key,
                               const QString& value) {
    WriteIniKeys(section, {{key, value}});
}

void classIniFile::WriteIniKeys(const QString& section,
                                const std::vector<std::pair<QString, QString>>& keyValues) {
    if (fileName_.isEmpty()) return;
    Profile profile;
    if (!profile.Load(fileName_)) return;
    const std::string sectionName = EncodeName(section);
    for (const auto& [key, value] : keyValues)
        profile.Set(sectionName, EncodeName(key), gbk::Encode(value));
    profile.Save(fileName_);
}

void classIniFile::DelIniKey(const QString& section, const QString& key) {
    if (fileName_.isEmpty()) return;
    Profile profile;
    if (!profile.Load(fileName_)) return;
    const std::string keyName = EncodeName(key);
    if (profile.Remove(EncodeName(section), keyName)) profile.Save(fileName_);
}

void classIniFile::DelIniSec(const QString& section) {
    if (fileName_.isEmpty()) return;
    Profile profile;
    if (!profile.Load(fileName_)) return;
    if (profile.Remove(EncodeName(section), std::nullopt)) profile.Save(fileName_);
}

}  // namespace sorvik
