#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "kernel/platform/timer.h"
#include "kernel/vfs/filemapper.h"
#include "kernel/vfs/filestream.h"
#include "kernel/vfs/filesystem.h"
#include "vfs/vfsfixture.h"

namespace {

std::vector<std::string> ReadLines(tIStream& S) {
    std::vector<std::string> lines;
    ShortString line;
    while (!S.EOF()) {
        S.ReadLine(line);
        lines.push_back(line.str());
    }
    return lines;
}

using Lines = std::vector<std::string>;

TEST_F(VFSTest, ReaderLinesEndAtCRLFCRAndLF) {
    Work.WriteFile("Data/crlf.txt", "first\r\nsecond\r\n\r\nfourth");
    Work.WriteFile("Data/cr.txt", "one\rtwo\r");
    Work.WriteFile("Data/lf.txt", "[Core]\nTimer=tWinTimer\n\nend\n");
    Work.WriteFile("Data/long.txt", std::string(300, 'a') + "\r\nnext");
    tVirtualFileSystem& vfs = Mapped();

    EXPECT_EQ(ReadLines(*vfs.CreateFileReader("crlf.txt", {})), (Lines{"first", "second", "", "fourth"}));
    EXPECT_EQ(ReadLines(*vfs.CreateFileReader("cr.txt", {})), (Lines{"one", "two"}));
    EXPECT_EQ(ReadLines(*vfs.CreateFileReader("lf.txt", {})), (Lines{"[Core]", "Timer=tWinTimer", "", "end"}));
    // A longer line is cut at 255 characters but consumed to its end.
    EXPECT_EQ(ReadLines(*vfs.CreateFileReader("long.txt", {})), (Lines{std::string(255, 'a'), "next"}));
    EXPECT_NE(Log().find("\"crlf.txt mapped to Data/crlf.txt\""), std::string::npos);
}

TEST_F(VFSTest, ReaderBlocksPositionsAndTheEnd) {
    Work.WriteFile("Data/bytes.bin", "0123456789ABCDEFGHIJ");
    tVirtualFileSystem& vfs = Mapped();
    auto reader = vfs.CreateFileReader("BYTES.BIN", {});
    auto& mapper = static_cast<tIFileMapper&>(*reader);
    EXPECT_EQ(reader->GetSize(), 20);
    EXPECT_EQ(mapper.FileSize(), 20);
    EXPECT_EQ(std::memcmp(reader->MapStream(), "0123", 4), 0);

    reader->Seek(10);
    EXPECT_EQ(reader->GetPosition(), 11);  // readers count from 1
    EXPECT_EQ(mapper.FilePos(), 11);
    EXPECT_EQ(*reader->MapStreamFromCurrentPos(), 'A');
    char buf[32] = {};
    reader->BlockRead(buf, 4);
    EXPECT_EQ(std::string(buf, 4), "ABCD");

    int32_t read = -1;
    reader->BlockRead(buf, 30, read);
    EXPECT_EQ(read, 6);
    EXPECT_EQ(std::string(buf, 6), "EFGHIJ");
    EXPECT_TRUE(reader->EOF());
    reader->BlockRead(buf, 30, read);
    EXPECT_EQ(read, 0);

    reader->Seek(18);
    EXPECT_EXIT(reader->BlockRead(buf, 3), ::testing::ExitedWithCode(255),
                "tIFileMapper\\(Data/bytes.bin\\). BlockRead: reading past the end of file: \rPosition: 18\r"
                "Count   : 3\rSize    : 20");
    // Positions outside the file read nothing rather than outside the mapping.
    reader->Seek(-5);
    EXPECT_EXIT(reader->BlockRead(buf, 3), ::testing::ExitedWithCode(255), "Position: -5");
    reader->BlockRead(buf, 3, read);
    EXPECT_EQ(read, 0);
    ShortString line = "x";
    reader->ReadLine(line);
    EXPECT_EQ(line, "");
    EXPECT_EQ(reader->MapStreamFromCurrentPos(), nullptr);
}

TEST_F(VFSTest, ZeroLengthFileIsAnEmptyReader) {
    Work.WriteFile("Data/empty.cfg", "");
    tVirtualFileSystem& vfs = Mapped();
    auto reader = vfs.CreateFileReader("empty.cfg", {});
    EXPECT_EQ(reader->GetSize(), 0);
    EXPECT_TRUE(reader->EOF());
    EXPECT_NE(reader->MapStream(), nullptr);
    ShortString line = "x";
    reader->ReadLine(line);
    EXPECT_EQ(line, "");
    int32_t read = -1;
    char buf[4];
    reader->BlockRead(buf, 4, read);
    EXPECT_EQ(read, 0);
    reader->BlockRead(buf, 0);
}

TEST_F(VFSTest, ReaderOpenFailuresAreFatal) {
    Work.WriteFile("Data/Dir/file.txt", "");
    tVirtualFileSystem& vfs = Mapped();
    EXPECT_EXIT(vfs.CreateFileReader("missing.txt", {RF_REAPORTERRORS}), ::testing::ExitedWithCode(255),
                "Error code: 2 <File not found> \"Data/missing.txt\"");
    EXPECT_EXIT(vfs.CreateFileReader("Dir", {}), ::testing::ExitedWithCode(255),
                "Error code: 5 <File access denied> \"Data/Dir\"");
}

TEST_F(VFSTest, WriterWritesLinesAndReadsThemInPieces) {
    Work.WriteFile("Data/long.txt", std::string(300, 'L') + "\nshort\r\n");
    tVirtualFileSystem& vfs = Mapped();
    {
        auto writer = vfs.CreateFileWriter("out.txt", {WF_HALTONERRORS, WF_OVERWRITE});
        writer->WriteLine("[Core]");
        writer->WriteLine(ShortString(std::string(255, 'w')));  // keeps its line end
        writer->BlockWrite("abc", 3);
        EXPECT_EQ(writer->GetPosition(), 8 + 257 + 3);
        EXPECT_EQ(writer->GetSize(), 8 + 257 + 3);
    }
    EXPECT_EQ(ReadWholeFile("Data/out.txt"), "[Core]\r\n" + std::string(255, 'w') + "\r\nabc");

    auto stream = vfs.CreateFileWriter("long.txt", {WF_NOOVERWRITE});
    EXPECT_EQ(ReadLines(*stream), (Lines{std::string(255, 'L'), std::string(45, 'L'), "short"}));
    ShortString line = "x";
    stream->ReadLine(line);  // at the end: empty, and it stays there
    EXPECT_EQ(line, "");
    EXPECT_EQ(stream->GetPosition(), 308);

    stream->Seek(10);
    EXPECT_EQ(stream->GetPosition(), 10);  // file streams count from 0
    char buf[8];
    stream->BlockRead(buf, 5);
    EXPECT_EQ(std::string(buf, 5), "LLLLL");
    int32_t read = -1;
    stream->Seek(300);
    stream->BlockRead(buf, 8, read);
    EXPECT_EQ(read, 8);
    EXPECT_EQ(std::string(buf, 8), "\nshort\r\n");
    stream->Seek(305);
    EXPECT_EXIT(stream->BlockRead(buf, 5), ::testing::ExitedWithCode(255),
                "tFileStream\\(long.txt\\).BlockRead: reading past the end of file");
    EXPECT_EXIT(stream->Seek(-1), ::testing::ExitedWithCode(255), "tFileStram.Seek");

    int32_t time = 0;
    static_cast<tFileStream&>(*stream).GetFTime(time);
    EXPECT_EQ(time, vfs.GetFileTime("long.txt"));
}

TEST_F(VFSTest, WriterOpenFailures) {
    Work.WriteFile("Data/readonly.ini", "x=1\r\n");
    ASSERT_EQ(chmod("Data/readonly.ini", 0444), 0);
    tVirtualFileSystem& vfs = Mapped();
    EXPECT_EXIT(vfs.CreateFileWriter("NoDir\\new.txt", {WF_OVERWRITE}), ::testing::ExitedWithCode(255),
                "Unable to open file: \"NoDir\\\\new.txt\". Error code: 2 File not found");
    EXPECT_EXIT(vfs.CreateFileWriter("missing.txt", {WF_NOOVERWRITE}), ::testing::ExitedWithCode(255),
                "Unable to open file: \"missing.txt\". Error code: 2 File not found");

    // A read-only file is made writable, as the engine saves its INI over it.
    vfs.CreateFileWriter("readonly.ini", {WF_OVERWRITE})->WriteLine("x=2");
    EXPECT_EQ(ReadWholeFile("Data/readonly.ini"), "x=2\r\n");
    struct stat info;
    ASSERT_EQ(stat("Data/readonly.ini", &info), 0);
    EXPECT_NE(info.st_mode & S_IWUSR, 0u);

    // Reporting instead of halting leaves a closed stream behind.
    tFileStream closed("NoDir\\new.txt", FSTREAM_REWRITE, FSTREAM_REAPORTERRORS);
    EXPECT_FALSE(closed.Open);
    EXPECT_EQ(closed.IOError, 2);
    EXPECT_TRUE(closed.EOF());
    EXPECT_EQ(closed.GetIOErrorString(closed.IOError), "File not found");
    EXPECT_EQ(closed.GetIOErrorString(1), "");
    EXPECT_EQ(closed.GetIOErrorString(6), "Invalid file handle");
    EXPECT_EQ(closed.GetIOErrorString(7), "");
}

}  // namespace
