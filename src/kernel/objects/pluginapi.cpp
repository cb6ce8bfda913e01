#include "kernel/objects/pluginapi.h"

#include <malloc.h>

#include <cstdlib>
#include <cstring>

#include "kernel/core/byteorder.h"
#include "kernel/core/engineversion.h"
#include "kernel/core/globals.h"

namespace {

constexpr std::size_t NameField = 1 + MaxClassNameLength;      // 81
constexpr std::size_t VersionField = 1 + MaxVersionTextLength; // 21
constexpr std::size_t PackageNameField = 256;

// Writes and reads the record's fields one after the other.
class tRecordWriter {
public:
    explicit tRecordWriter(uint8_t* Record) : At(Record) {}
    void Text(const ShortString& S, std::size_t FieldSize) {
        std::memset(At, 0, FieldSize);
        std::size_t n = S.size() < FieldSize - 1 ? S.size() : FieldSize - 1;
        At[0] = static_cast<uint8_t>(n);
        std::memcpy(At + 1, S.data(), n);
        At += FieldSize;
    }
    template <typename T>
    void Number(T Value) {
        WriteLE(At, Value);
        At += sizeof(T);
    }
    void Pointer(const void* P) { Number<uint64_t>(reinterpret_cast<uintptr_t>(P)); }

private:
    uint8_t* At;
};

class tRecordReader {
public:
    explicit tRecordReader(const uint8_t* Record) : At(Record) {}
    ShortString Text(std::size_t FieldSize) {
        std::size_t n = At[0] < FieldSize - 1 ? At[0] : FieldSize - 1;
        ShortString S(std::string_view(reinterpret_cast<const char*>(At + 1), n));
        At += FieldSize;
        return S;
    }
    template <typename T>
    T Number() {
        T Value = ReadLE<T>(At);
        At += sizeof(T);
        return Value;
    }
    void* Pointer() { return reinterpret_cast<void*>(static_cast<uintptr_t>(Number<uint64_t>())); }

private:
    const uint8_t* At;
};

std::size_t HeapInUse() { return mallinfo2().uordblks; }

}  // namespace

tPluginAPIStruct MakePluginAPI() {
    tPluginAPIStruct API{};
    API._SIZE = sizeof(tPluginAPIStruct);
    std::string_view Version = EngineVersionText;
    API._ENGINEVERSION[0] = static_cast<uint8_t>(Version.size());
    std::memcpy(API._ENGINEVERSION + 1, Version.data(), Version.size());
    API._LINKER = Linker;
    API._LOGGER = Logger;
    API._WARNING = Warning;
    API._ENGINE = Engine;
    API._OSSYSTEM = OSSystem;
    API._FILESYSTEM = FileSystem;
    API._MATHSERVER = MathServer;
    API._ENGINEVARS = EngineVars;
    API._CONSOLE = Console;
    API._RESOURCES = Resources;
    API._MEMORYMANAGER.GetMem = std::malloc;
    API._MEMORYMANAGER.FreeMem = std::free;
    API._MEMORYMANAGER.FreeMemSize = [](void* P, std::size_t) { std::free(P); };
    API._MEMORYMANAGER.AllocMem = [](std::size_t Size) { return std::calloc(1, Size); };
    API._MEMORYMANAGER.ReallocMem = std::realloc;
    API._MEMORYMANAGER.SizeOfBlock = malloc_usable_size;
    API._MEMORYMANAGER.HeapStatus = HeapInUse;
    API._ENGINEINI = EngineINI;
    return API;
}

ShortString PluginAPIVersion(const tPluginAPIStruct& API) {
    return ShortString(std::string_view(reinterpret_cast<const char*>(API._ENGINEVERSION + 1), API._ENGINEVERSION[0]));
}

void WritePackageRecord(uint8_t* Record, const tZClass& C) {
    tRecordWriter W(Record);
    W.Text(C.ClassName, NameField);
    W.Text(C.ExpandsClass, NameField);
    W.Pointer(C.StaticClass);
    W.Number<int32_t>(C.ClassConstructor);
    W.Pointer(nullptr);  // descriptors mark their abstract operations themselves
    W.Text(C.VersionNeeded, VersionField);
    W.Text(C.CompilationDate, VersionField);
    W.Pointer(C.PackageID);
    W.Text(C.PackageName, PackageNameField);
    W.Number<uint8_t>(C.Patch ? 1 : 0);
}

tZClass ReadPackageRecord(const uint8_t* Record) {
    tRecordReader R(Record);
    tZClass C;
    C.ClassName = R.Text(NameField);
    C.ExpandsClass = R.Text(NameField);
    C.StaticClass = static_cast<tStaticClass*>(R.Pointer());
    C.ClassConstructor = static_cast<tConstructorType>(R.Number<int32_t>());
    R.Pointer();
    C.VersionNeeded = R.Text(VersionField);
    C.CompilationDate = R.Text(VersionField);
    C.PackageID = R.Pointer();
    C.PackageName = R.Text(PackageNameField);
    C.Patch = R.Number<uint8_t>() != 0;
    return C;
}
