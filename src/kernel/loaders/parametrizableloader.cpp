#include "kernel/loaders/parametrizableloader.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/stream.h"
#include "kernel/resources/resource.h"
#include "kernel/vfs/xzml.h"

Z_IMPLEMENT_CLASS(tParametrizableLoader, .Operations = {{"Load"}, {"LoadParametrizable"}})

void tParametrizableLoader::LoadParametrizable(tXZMLStream& Stream, tParametrizable& Target) {
    tOwned<tXZMLTreeNode> Tree(Stream.BuildXZMLTree());
    Tree->AcceptVisitor(Target);
}

void tParametrizableLoader::Load(tIStream& Stream, tResource& Resource) {
    auto* Script = dynamic_cast<tXZMLStream*>(&Stream);
    Logger->Guard(Script != nullptr, "Unable to parse XZML script: the stream is not a file reader");
    Resource.BeginLoad();
    LoadParametrizable(*Script, Resource);
    Resource.EndLoad();
}
