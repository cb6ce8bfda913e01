#include "kernel/vfs/ioerrors.h"

#include <cerrno>

int32_t IOErrorCode(int Errno) {
    switch (Errno) {
        case ENOENT: return IOERR_FILENOTFOUND;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP: return IOERR_PATHNOTFOUND;
        case EMFILE:
        case ENFILE: return IOERR_TOOMANYOPENFILES;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR: return IOERR_ACCESSDENIED;
        case EBADF: return IOERR_INVALIDHANDLE;
        default: return Errno;
    }
}

ShortString IOErrorText(int32_t Code) {
    switch (Code) {
        case IOERR_FILENOTFOUND: return "File not found";
        case IOERR_PATHNOTFOUND: return "Path not found";
        case IOERR_TOOMANYOPENFILES: return "Too many open files";
        case IOERR_ACCESSDENIED: return "File access denied";
        case IOERR_INVALIDHANDLE: return "Invalid file handle";
        default: return {};
    }
}
