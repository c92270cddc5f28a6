#include <gtest/gtest.h>

#include <cstring>

#include "platform/modFileVer.h"
#include "platform/modWinVersion.h"

using namespace platform;

namespace {
struct FakeVersion : VersionQuery {
    OsVersionData d;
    bool ok = true;
    bool getVersion(OsVersionData& out) override {
        if (!ok) return false;
        out = d;
        return true;
    }
};

WindowsVersionInfo detect(std::uint32_t pid, std::uint32_t major, std::uint32_t minor, std::uint32_t build = 0) {
    FakeVersion q;
    q.d.platformId = pid;
    q.d.major = major;
    q.d.minor = minor;
    q.d.build = build;
    WindowsVersionInfo r;
    EXPECT_EQ(DetectWindowsName(q, r), 1);
    return r;
}
}  // namespace

TEST(WindowsVersion, EveryRowOfTheTable) {
    struct Row { std::uint32_t pid, major, minor; int code; const char* name; };
    const Row rows[] = {
        {0, 3, 11, 2, "Windows 32s"},  {1, 4, 0, 3, "Windows 95"},   {1, 4, 10, 4, "Windows 98"},
        {1, 7, 90, 5, "Windows ME"},   {1, 4, 3, 0, "Unknown"},      {2, 3, 51, 32, "Windows NT3"},
        {2, 4, 0, 33, "Windows NT4"},  {2, 5, 0, 34, "Windows 2000"}, {2, 5, 1, 35, "Windows XP"},
        {2, 5, 2, 0, "Unknown"},       {2, 6, 0, 0, "Unknown"},      {2, 10, 0, 0, "Unknown"},
        {3, 5, 1, 0, "0"},
    };
    for (const auto& r : rows) {
        auto info = detect(r.pid, r.major, r.minor, 2600);
        EXPECT_EQ(info.code, r.code) << r.name;
        EXPECT_EQ(info.name, r.name);
        EXPECT_EQ(info.major, int(r.major));
        EXPECT_EQ(info.minor, int(r.minor));
        EXPECT_EQ(info.platform, int(r.pid));
    }
}

TEST(WindowsVersion, BuildIsCutToSixteenBitsOnlyOnThe9xFamily) {
    EXPECT_EQ(detect(1, 4, 10, 0x040A08AE).build, 0x08AE);
    EXPECT_EQ(detect(2, 5, 1, 0x00010A28).build, 0x00010A28);
}

TEST(WindowsVersion, ServicePackIsCutAtNulAndTrimmed) {
    FakeVersion q;
    q.d.platformId = 2;
    q.d.major = 5;
    q.d.minor = 1;
    std::strcpy(q.d.servicePack, "  Service Pack 3  ");
    WindowsVersionInfo r;
    DetectWindowsName(q, r);
    EXPECT_EQ(r.servicePack, "Service Pack 3");
    std::memset(q.d.servicePack, 0, 128);
    std::strcpy(q.d.servicePack, "    ");
    DetectWindowsName(q, r);
    EXPECT_EQ(r.servicePack, "");
    std::memset(q.d.servicePack, 'A', 128);
    DetectWindowsName(q, r);
    EXPECT_EQ(r.servicePack, "");
}

TEST(WindowsVersion, FailedQueryLeavesTheRecordAlone) {
    FakeVersion q;
    q.ok = false;
    WindowsVersionInfo r;
    EXPECT_EQ(DetectWindowsName(q, r), 0);
    EXPECT_EQ(r.name, "");
    EXPECT_EQ(r.code, 0);
}

namespace {
struct FakeFileVersions : FileVersionSource {
    std::optional<FileVersionWords> w;
    std::string asked;
    std::optional<FileVersionWords> fileVersion(const std::string& n) override {
        asked = n;
        return w;
    }
};
}  // namespace

TEST(FileVersion, FormatsFourUnsignedPartsWithoutLeadingZeros) {
    FakeFileVersions f;
    f.w = FileVersionWords{0x0005000C, 0x000109FF};
    EXPECT_EQ(ReadFileVersion(f, "drivers\\adm8830.sys"), "5.12.1.2559");
    EXPECT_EQ(f.asked, "drivers\\adm8830.sys");
    f.w = FileVersionWords{0x00050000, 0x00000001};
    EXPECT_EQ(ReadFileVersion(f, "a"), "5.0.0.1");
    f.w = FileVersionWords{0x80000050, 0xFFFF8000};
    EXPECT_EQ(ReadFileVersion(f, "a"), "32768.80.65535.32768");
    f.w.reset();
    EXPECT_EQ(ReadFileVersion(f, "missing.dll"), "N/A");
}
