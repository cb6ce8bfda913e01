#include <sys/utsname.h>
#include <utime.h>

#include <cerrno>
#include <ctime>
#include <set>
#include <string>

#include "common/testenv.h"
#include "kernel/os/winossystem.h"

namespace {

// Seconds since the epoch of a local date and time.
std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return mktime(&t);
}

TEST(OSSystem, VersionTextNamesTheSystemAndItsRelease) {
    utsname info;
    ASSERT_EQ(uname(&info), 0);
    tWinOSSystem os;
    EXPECT_EQ(os.GetOSVersion().str(), std::string(info.sysname) + " " + info.release);
}

TEST(OSSystem, SharedLibrariesAndTheLastError) {
    TempWorkDir work;
    tWinOSSystem os;
    EXPECT_EQ(os.LoadLibrary("Data/Packages/missing.so"), nullptr);
    EXPECT_EQ(os.GetSysLastError(), ENOENT);

    work.WriteFile("broken.so", "not a shared library");
    EXPECT_EQ(os.LoadLibrary("./broken.so"), nullptr);
    EXPECT_NE(os.GetSysLastError(), 0);

    std::unique_ptr<tOSLibrary> libm = os.LoadLibrary("libm.so.6");
    ASSERT_NE(libm, nullptr);
    auto cosine = reinterpret_cast<double (*)(double)>(libm->GetProc("cos"));
    ASSERT_NE(cosine, nullptr);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(libm->GetProc("NoSuchSymbol"), nullptr);
    EXPECT_EQ(static_cast<tWinOSLibrary*>(libm.get())->FileName, "libm.so.6");
}

TEST(OSSystem, DirectorySearchWithWildcards) {
    TempWorkDir work;
    work.WriteFile("dir/a.txt", "a");
    work.WriteFile("dir/B.txt", "bb");
    work.WriteFile("dir/c.dat", "ccc");
    work.WriteFile("dir/noext", "");
    work.WriteFile("dir/sub.txt/inner", "");
    std::time_t stamp = LocalTime(2006, 5, 8, 14, 0, 46);
    utimbuf times{stamp, stamp};
    ASSERT_EQ(utime("dir/a.txt", &times), 0);

    tWinOSSystem os;
    auto find = [&](const char* mask) {
        std::set<std::string> names;
        tSearchRec sr;
        for (int32_t status = os.FindFirst(mask, sr); status == 0; status = os.FindNext(sr)) {
            names.insert(sr.Name.str());
            if (sr.Name == "a.txt") {
                EXPECT_EQ(sr.Attr & faDirectory, 0);
                EXPECT_EQ(sr.Time, PackDOSDateTime(stamp));
                EXPECT_EQ(sr.Size, 1);
            }
            if (sr.Name == "sub.txt") {
                EXPECT_EQ(sr.Attr & faDirectory, faDirectory);
            }
        }
        return names;
    };
    // Case-sensitive on the disk; directories fitting the pattern come too.
    EXPECT_EQ(find("dir/*.txt"), (std::set<std::string>{"a.txt", "B.txt", "sub.txt"}));
    EXPECT_EQ(find("dir/*.*"), (std::set<std::string>{".", "..", "a.txt", "B.txt", "c.dat", "noext", "sub.txt"}));
    EXPECT_EQ(find("dir/?.dat"), (std::set<std::string>{"c.dat"}));
    EXPECT_TRUE(find("dir/*.so").empty());
    EXPECT_TRUE(find("missing/*.*").empty());

    tSearchRec sr;
    EXPECT_NE(os.FindFirst("dir/*.so", sr), 0);
    EXPECT_NE(os.FindNext(sr), 0);  // a finished search stays finished
}

TEST(OSSystem, PackedDOSDateTimes) {
    // 2006-05-08 14:00:46: date (26 << 9 | 5 << 5 | 8), time (14 << 11 | 0 << 5 | 23).
    EXPECT_EQ(PackDOSDateTime(LocalTime(2006, 5, 8, 14, 0, 46)), (26 << 9 | 5 << 5 | 8) << 16 | (14 << 11 | 23));
    // Odd seconds round down to two-second steps.
    EXPECT_EQ(PackDOSDateTime(LocalTime(2024, 12, 31, 23, 59, 59)),
              static_cast<int32_t>((44u << 9 | 12 << 5 | 31) << 16 | (23 << 11 | 59 << 5 | 29)));
    EXPECT_EQ(PackDOSDateTime(LocalTime(1975, 6, 1, 12, 0, 0)), (1 << 5 | 1) << 16);
    EXPECT_EQ(PackDOSDateTime(LocalTime(1980, 1, 1, 0, 0, 0)), (1 << 5 | 1) << 16);
}

}  // namespace
