// The streams' way into the text parser and the XZML tree builder. Until the
// parser is part of the engine, asking a stream for one is a fatal error.

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/vfs/filemapper.h"
#include "kernel/vfs/filestream.h"

namespace {

template <typename T>
T* NotAvailable(const char* What) {
    Logger->Fatal(ShortString(What) + " is not available");
    return nullptr;
}

}  // namespace

tParser* tIFileMapper::GetParser() { return NotAvailable<tParser>("tIFileMapper.GetParser: the text parser"); }

tParser* tFileStream::GetParser() { return NotAvailable<tParser>("tFileStream.GetParser: the text parser"); }

tXZMLTreeNode* tIFileMapper::BuildXZMLTree() {
    return NotAvailable<tXZMLTreeNode>("tIFileMapper.BuildXZMLTree: the XZML tree builder");
}
