// The streams' way into the text parser and the XZML tree builder.

#include "kernel/vfs/filemapper.h"
#include "kernel/vfs/filestream.h"
#include "kernel/vfs/parser.h"
#include "kernel/vfs/xzml.h"

tParser* tIFileMapper::GetParser() { return new tSimpleParser(*this); }

tParser* tFileStream::GetParser() { return new tSimpleParser(*this); }

tXZMLTreeNode* tIFileMapper::BuildXZMLTree() { return BuildXZMLTreeFrom(*this); }
