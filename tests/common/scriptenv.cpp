#include "common/scriptenv.h"

#include "kernel/core/globals.h"

void ScriptTest::SetUp() {
    ConsoleTest::SetUp();
    OSSystem = new tWinOSSystem();
    Engine = NewObject<tScriptTestEngine>();
}

void ScriptTest::DisposeServices() {
    if (Engine) tZObject::DisposeObject(Engine);
    if (FileSystem) tZObject::DisposeObject(FileSystem);
    delete OSSystem;
    OSSystem = nullptr;
    ConsoleTest::DisposeServices();
}

void ScriptTest::MapData() {
    FileSystem = NewObject<tVirtualFileSystem>();
    FileSystem->SetRootDir("Data\\");
}

void ScriptTest::WriteData(const std::string& VirtualPath, const std::string& Contents) {
    std::string path = "Data/" + VirtualPath;
    for (char& c : path)
        if (c == '\\') c = '/';
    Work.WriteFile(path, Contents);
}
