#include "kernel/vfs/inifile.h"

#include <exception>
#include <filesystem>
#include <memory>
#include <system_error>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/stream.h"
#include "kernel/core/strutils.h"
#include "kernel/vfs/filemapper.h"
#include "libraries/classes/filesystem.h"

namespace {

constexpr const char* HeaderLine = "; Halvardine 3D Engine configuration file";
constexpr const char* AttributionLine = "; Written by the engine at shutdown; comments are not kept";
constexpr const char* TemporarySuffix = ".tmp";

// The chains are walked and freed in loops: a long file must not nest calls.
template <class T>
void DeleteChain(T* First) {
    while (First) {
        T* next = First->Next;
        First->Next = nullptr;
        delete First;
        First = next;
    }
}

}  // namespace

// ---- tINIKey ---------------------------------------------------------------

void tINIKey::SetValue(const ShortString& Key, const ShortString& V) {
    tINIKey* k = this;
    for (;;) {
        if (k->Name == Key) {
            k->Value = V;
            return;
        }
        if (!k->Next) break;
        k = k->Next;
    }
    k->Next = new tINIKey(Key, V);
}

bool tINIKey::HasValue(const ShortString& Key, const ShortString& V) const {
    for (const tINIKey* k = this; k; k = k->Next)
        if (k->Name == Key) return k->Value == V;
    return false;
}

ShortString tINIKey::GetValue(const ShortString& Key) const {
    for (const tINIKey* k = this; k; k = k->Next)
        if (k->Name == Key) return k->Value;
    return {};
}

void tINIKey::SaveToStream(tStream& Stream) const { Stream.WriteLine(Name + "=" + Value); }

// ---- tINISection -----------------------------------------------------------

tINISection::~tINISection() { DeleteChain(Keys); }

const tINISection* tINISection::GetSection(const ShortString& Section) const {
    for (const tINISection* s = this; s; s = s->Next)
        if (s->Name == Section) return s;
    return nullptr;
}

tINISection* tINISection::AddSection(const ShortString& Section) {
    tINISection* s = this;
    for (;;) {
        if (s->Name == Section) return s;
        if (!s->Next) break;
        s = s->Next;
    }
    s->Next = new tINISection(Section);
    return s->Next;
}

void tINISection::SetKey(const ShortString& Section, const ShortString& Key, const ShortString& Value) {
    tINISection* s = AddSection(Section);
    if (s->Keys) s->Keys->SetValue(Key, Value);
    else s->Keys = new tINIKey(Key, Value);
}

ShortString tINISection::GetKey(const ShortString& Section, const ShortString& Key) const {
    const tINISection* s = GetSection(Section);
    return s && s->Keys ? s->Keys->GetValue(Key) : ShortString();
}

void tINISection::SaveToStream(tStream& Stream) const {
    Stream.WriteLine("");
    Stream.WriteLine("[" + Name + "]");
    for (const tINIKey* k = Keys; k; k = k->Next) k->SaveToStream(Stream);
}

// ---- tZINIFile -------------------------------------------------------------

tZINIFile::tZINIFile(const ShortString& FileName) {
    ProcTrace trace("tZINIFile.Init(')");
    IniFileName = FileName;
    IniFile = nullptr;
    // A fatal error (a file that cannot be read) ends the program, but under
    // a halt hook that throws (tests, fuzzing) it leaves this constructor
    // without the destructor: the sections read so far are freed here then.
    struct tPartialChain {
        tINISection*& Chain;
        tINISection*& Installed;
        int Unwinding = std::uncaught_exceptions();
        ~tPartialChain() {
            if (std::uncaught_exceptions() <= Unwinding) return;
            DeleteChain(Chain);
            DeleteChain(Installed);
        }
    } Partial{IniFile, InstalledValues};

    // The player's copy lies over the installed file: a key it lacks, or
    // that it lost to damage, keeps the installed value.
    if (std::unique_ptr<tXZMLStream> installed = FileSystem->CreateInstalledFileReader(IniFileName)) {
        ReadLines(*installed, InstalledValues, nullptr);
        installed->Seek(0);
        ReadLines(*installed, IniFile, &SkippedLines);
        const bool PlayersCopy = FileSystem->VirtualNameToPhysical(IniFileName) == FileSystem->WritableNameToPhysical(IniFileName);
        if (!PlayersCopy) return;
        if (const ShortString Unreadable = tIFileMapper::OpenError(IniFileName); !Unreadable.empty()) {
            SkippedLines.push_back("the player's copy that cannot be read (" + Unreadable + ")");
            if (Warning) Warning->Log(IniFileName + ": " + SkippedLines.back() + " skipped");
            return;
        }
    }
    ReadLines(*FileSystem->CreateFileReader(IniFileName, {RF_HALTONERRORS}), IniFile, &SkippedLines);
}

void tZINIFile::ReadLines(tIStream& Reader, tINISection*& Chain, std::vector<ShortString>* Skipped) {
    int32_t lineNumber = 0;
    ShortString section;
    bool inSection = false;
    ShortString line;
    while (!Reader.EOF()) {
        Reader.ReadLine(line);
        ++lineNumber;
        line = Trim(line);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[' && line[line.size() - 1] == ']') {
            section = Trim(line.substr(1, line.size() - 2));
            inSection = true;
            continue;
        }
        const std::size_t eq = line.find('=');
        const ShortString key = Trim(eq == ShortString::npos ? ShortString() : line.substr(0, eq));
        const ShortString value = Trim(eq == ShortString::npos ? ShortString() : line.substr(eq + 1));
        const char* damage = key.empty() ? "Invalid key name in line " : !inSection ? "Key is outside section in line " : nullptr;
        if (damage) {
            if (!Skipped) continue;
            Skipped->push_back(damage + Int2Str(lineNumber));
            if (Warning) Warning->Log(IniFileName + ": " + Skipped->back() + " skipped");
            continue;
        }
        if (!Chain) Chain = new tINISection(section);
        Chain->SetKey(section, key, value);
    }
}

tZINIFile::~tZINIFile() {
    DeleteChain(IniFile);
    DeleteChain(InstalledValues);
}

void tZINIFile::SetValue(const ShortString& Section, const ShortString& Key, const ShortString& Value) {
    if (!IniFile) IniFile = new tINISection(Section);
    IniFile->SetKey(Section, Key, Value);
}

ShortString tZINIFile::GetValue(const ShortString& Section, const ShortString& Key) {
    ProcTrace trace("tZINIFile.GetValue(" + Section + "," + Key + ")");
    return IniFile ? IniFile->GetKey(Section, Key) : ShortString();
}

void tZINIFile::ClearSection(const ShortString& Section) {
    for (tINISection* s = IniFile; s; s = s->Next)
        if (s->Name == Section) {
            DeleteChain(s->Keys);
            s->Keys = nullptr;
        }
}

const tINIKey* tZINIFile::FirstKey(const ShortString& Section) const {
    const tINISection* s = IniFile ? IniFile->GetSection(Section) : nullptr;
    return s ? s->Keys : nullptr;
}

// The file is written beside the original and renamed over it, so a failure
// while writing never leaves a truncated configuration behind.
void tZINIFile::SaveINI() {
    ProcTrace trace("tZINIFile.SaveINI()");
    const ShortString temporary = IniFileName + TemporarySuffix;
    std::unique_ptr<tStream> writer = FileSystem->CreateFileWriter(temporary, {WF_HALTONERRORS, WF_OVERWRITE});
    writer->WriteLine(HeaderLine);
    writer->WriteLine(AttributionLine);
    for (const tINISection* s = IniFile; s; s = s->Next) {
        if (!InstalledValues) {
            s->SaveToStream(*writer);
            continue;
        }
        // Over an installed file only what differs from it is the player's:
        // a later version's installed values then still reach the game.
        bool Header = false;
        for (const tINIKey* k = s->Keys; k; k = k->Next) {
            const tINISection* Installed = InstalledValues->GetSection(s->Name);
            if (Installed && Installed->Keys && Installed->Keys->HasValue(k->Name, k->Value)) continue;
            if (!Header) {
                writer->WriteLine("");
                writer->WriteLine("[" + s->Name + "]");
                Header = true;
            }
            k->SaveToStream(*writer);
        }
    }
    writer.reset();  // closes the file before it takes the original's place

    const ShortString from = FileSystem->WritableNameToPhysical(temporary);
    const ShortString to = FileSystem->WritableNameToPhysical(IniFileName);
    std::error_code error;
    std::filesystem::rename(from.c_str(), to.c_str(), error);
    if (error) Logger->Fatal("Unable to replace " + IniFileName + " with " + temporary);
}
