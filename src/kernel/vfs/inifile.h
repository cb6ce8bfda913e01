#pragma once
// INI configuration files: "[Section]" headers and "Key=Value" lines, read
// through the virtual file system and written back whole. Names are compared
// exactly (case matters); sections and keys keep their first-seen order.

#include <vector>

#include "kernel/core/shortstring.h"

class tIStream;
class tStream;

class tINIFile {
public:
    tINIFile() = default;
    virtual ~tINIFile() = default;
    tINIFile(const tINIFile&) = delete;
    tINIFile& operator=(const tINIFile&) = delete;

    virtual void SaveINI() = 0;
    virtual void SetValue(const ShortString& Section, const ShortString& Key, const ShortString& Value) = 0;
    // The value, or an empty text when the section or the key does not exist.
    virtual ShortString GetValue(const ShortString& Section, const ShortString& Key) = 0;
};

class tINIElement {
public:
    explicit tINIElement(const ShortString& N) : Name(N) {}
    virtual ~tINIElement() = default;
    tINIElement(const tINIElement&) = delete;
    tINIElement& operator=(const tINIElement&) = delete;

    virtual ShortString GetName() const { return Name; }
    virtual void SaveToStream(tStream& Stream) const = 0;

    ShortString Name;
};

class tINIKey : public tINIElement {
public:
    tINIKey(const ShortString& Key, const ShortString& V) : tINIElement(Key), Value(V) {}

    // Walk this key's chain for Key: set it, or append it at the end.
    virtual void SetValue(const ShortString& Key, const ShortString& V);
    virtual ShortString GetValue(const ShortString& Key) const;
    // True when this key's chain holds Key with the value V.
    bool HasValue(const ShortString& Key, const ShortString& V) const;
    void SaveToStream(tStream& Stream) const override;

    ShortString Value;
    tINIKey* Next = nullptr;
};

class tINISection : public tINIElement {
public:
    explicit tINISection(const ShortString& N) : tINIElement(N) {}
    ~tINISection() override;

    // Walk this section's chain for Section (appended when missing) and set
    // or read Key there.
    virtual void SetKey(const ShortString& Section, const ShortString& Key, const ShortString& Value);
    virtual ShortString GetKey(const ShortString& Section, const ShortString& Key) const;
    // Writes this section alone: a blank line, the header, its keys.
    void SaveToStream(tStream& Stream) const override;

    const tINISection* GetSection(const ShortString& Section) const;
    tINISection* AddSection(const ShortString& Section);

    tINIKey* Keys = nullptr;
    tINISection* Next = nullptr;
};

class tZINIFile : public tINIFile {
public:
    explicit tZINIFile(const ShortString& FileName);
    ~tZINIFile() override;

    void SaveINI() override;
    void SetValue(const ShortString& Section, const ShortString& Key, const ShortString& Value) override;
    ShortString GetValue(const ShortString& Section, const ShortString& Key) override;
    // Drops every key of Section (a list written anew, where a key left out
    // must not come back from the file as read).
    void ClearSection(const ShortString& Section);
    // The first key of Section, nullptr when it has none.
    const tINIKey* FirstKey(const ShortString& Section) const;

    tINISection* IniFile = nullptr;  // the first section
    ShortString IniFileName;         // a virtual name
    // The damaged lines skipped while reading ("line 39: no key name"): the
    // rest of the file still loads, and saving writes what was read.
    std::vector<ShortString> SkippedLines;
    // The installed file under the player's copy (nullptr when the file is
    // not an installed one): saving writes only the keys that differ from it.
    tINISection* InstalledValues = nullptr;

private:
    // Adds the sections and keys of Reader to Chain; damaged lines go to
    // Skipped when given.
    void ReadLines(tIStream& Reader, tINISection*& Chain, std::vector<ShortString>* Skipped);
};
