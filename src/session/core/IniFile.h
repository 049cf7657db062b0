#pragma once
// Windows profile ("INI") files: GBK text made of "[section]" and "key=value" lines.
// One object is bound to one file and caches nothing: every call reads the file, and every
// change rewrites it whole through a temporary file renamed over the original, so a reader
// never sees half a file. Lines the class does not understand (text before the first
// section, ";" comments, anything else) are kept as they are; lines are written with CRLF.

#include <QString>
#include <utility>
#include <vector>

namespace sorvik {

class classIniFile {
public:
    classIniFile() = default;
    explicit classIniFile(const QString& fileName) : fileName_(fileName) {}

    // The file every call works on; empty until set, and then every call does nothing.
    const QString& INIFileName() const { return fileName_; }
    void SetINIFileName(const QString& fileName) { fileName_ = fileName; }

    // The value of key in section, read the way GetPrivateProfileString reads it into a
    // 1024-byte buffer and the caller then tidies it: the text after the line's first "=",
    // without surrounding whitespace and one pair of enclosing double quotes, cut to
    // 1023 bytes (never inside a double-byte character), stripped of blanks (spaces and
    // tabs) at both ends, then of NUL characters. Section and key names are matched
    // ignoring ASCII case and surrounding whitespace. "" when the file, the section or the
    // key is missing. When a name occurs twice, the first occurrence counts.
    QString GetIniKey(const QString& section, const QString& key) const;

    // Sets key in section to value, creating the file, the section (at the end of the file)
    // or the key (after the last line of its section) as needed; an existing key keeps its
    // place and its spelling on disk. Failure is silent.
    void WriteIniKey(const QString& section, const QString& key, const QString& value);

    // The same as WriteIniKey for each pair in order, with one read and one rewrite.
    void WriteIniKeys(const QString& section,
                      const std::vector<std::pair<QString, QString>>& keyValues);

    // Removes every line of key in section / every occurrence of the section with all its
    // lines. Nothing is written when there is nothing to remove, and failure is silent,
    // so there is no result.
    void DelIniKey(const QString& section, const QString& key);
    void DelIniSec(const QString& section);

    // The value buffer of the profile reads, terminating NUL included.
    static constexpr int kValueBufferBytes = 1024;

private:
    QString fileName_;
};

}  // namespace sorvik
