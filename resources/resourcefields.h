#pragma once

#include <QString>

#include <initializer_list>
#include <optional>

namespace kq {

class TextLineReader;

// Line 1 of every language, theme and plug-in description file.
inline constexpr char MagicLine[] = "!KestraneDevelopment10";

// Returns line 2 (the type line, "!ThemeFile" ...) after checking line 1 against the magic line;
// otherwise "LangErr1", "LangErr2" or the failure number followed by "LangErr". The second form
// reads the first two lines of a reader, whose next line is then line 3.
QString readTypeLine(const QString &path);
QString readTypeLine(TextLineReader &file);

// Reads on from the current line until one equals header exactly and returns header; the next
// line read is the first of the section. "LangErr3" when the file ends first.
QString skipToSection(TextLineReader &file, const QString &header);

// Field n of line cut at every delimiter, trimmed of spaces, then "\" becomes "," and "#" a
// carriage return. "LangErr4" when the line has no field n.
QString lineField(const QString &line, qint16 n, const QString &delimiter);

// One key of a header section and the selector that asks for its value.
struct HeaderKey
{
    const char16_t *key;
    const char16_t *selector;
};

// The codes one file format answers with when its header is not as it should be.
struct HeaderCodes
{
    const char16_t *wrongType;     // the type line is not the format's
    const char16_t *damaged;       // the section is missing or a key is out of place
    const char16_t *generalSuffix; // any other failure: its number followed by this
    bool endIsDamage;              // a file ending inside the header counts as damaged
};

// Checks the type line, finds the header section and reads the key lines right after it, each
// with its key (delimiter "=") in the given order. Returns the value of the key that selector
// names (empty for any other selector); none with the format's error code in *errorCode when the
// header is not as it should be.
std::optional<QString> readHeaderValue(const QString &path, const QString &type,
                                       const QString &section,
                                       std::initializer_list<HeaderKey> keys,
                                       const QString &selector, const HeaderCodes &codes,
                                       QString *errorCode);

} // namespace kq
