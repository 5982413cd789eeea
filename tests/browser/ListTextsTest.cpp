#include "browser/ListTexts.h"
#include "browser/ChangeSignature.h"
#include "platform/fs/FolderWatch.h"
#include "support/EnvVar.h"
#include "support/TempDir.h"

#include <ctime>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

std::chrono::system_clock::time_point localAt(int y, int mo, int d, int h, int mi) {
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

TEST(ListTexts, SizesInKilobytes) {
    EXPECT_EQ(ListTexts::sizeKb(400), "         KB");
    EXPECT_EQ(ListTexts::sizeKb(1500000), "   1,500 KB");
    EXPECT_EQ(ListTexts::sizeKb(1500), "       2 KB");
    EXPECT_EQ(ListTexts::sizeKb(123456789000), "123,456,789 KB");
}

TEST(ListTexts, DatesTooltipsAndSortKeys) {
    FileRecord file;
    file.name = "a.txt";
    file.size = 1234567;
    file.modified = localAt(2024, 3, 5, 7, 9);
    file.created = localAt(1999, 12, 31, 23, 59);
    EXPECT_EQ(ListTexts::modified(file.modified), "24/03/05 07:09");
    EXPECT_EQ(ListTexts::tooltip(file), "更新:2024/03/05 作成:1999/12/31 ｻｲｽﾞ:1,234,567");
    EXPECT_EQ(ListTexts::sortKey(file), "La.txt");
    FileRecord folder = file;
    folder.attributes = AttrDirectory;
    EXPECT_EQ(ListTexts::tooltip(folder), "更新:2024/03/05 作成:1999/12/31");
    EXPECT_EQ(ListTexts::sortKey(folder), "Da.txt");
}

TEST(ListTexts, DatesAgreeWithTheSystemsLocalTimeAcrossHoursAndDays) {
    // Zones with daylight saving, a 45-minute offset and a half-hour change; each zone's
    // run starts on other days so no text kept from the zone before can answer.
    const char* const zones[] = {"", "Europe/Berlin", "Asia/Kathmandu", "Australia/Lord_Howe"};
    std::time_t start = 1711846800; // around a spring daylight-saving change
    for (const char* zone : zones) {
        EnvVar tz("TZ", zone);
        tzset();
        for (std::time_t t = start; t < start + 3 * 86400; t += 7 * 60 + 13) {
            std::tm tm{};
            localtime_r(&t, &tm);
            char minute[32];
            char day[32];
            std::strftime(minute, sizeof minute, "%y/%m/%d %H:%M", &tm);
            std::strftime(day, sizeof day, "%Y/%m/%d", &tm);
            const auto time = std::chrono::system_clock::from_time_t(t);
            ASSERT_EQ(ListTexts::modified(time), minute) << zone << " " << t;
            ASSERT_EQ(ListTexts::day(time), day) << zone << " " << t;
        }
        start += 200 * 86400;
    }
    tzset();
}

TEST(ChangeSignature, CountsAndTimeWithTheFixedValues) {
    TempDir dir;
    dir.mkdir("f/a");
    dir.mkdir("f/System Volume Information");
    dir.write("f/x", "");
    const Signature sig = ChangeSignature::read(dir / "f");
    EXPECT_EQ(sig.counts, "2-1") << "raw counts include excluded folders";
    EXPECT_EQ(ChangeSignature::read(dir / "f/System Volume Information").counts, "0-0");
    EXPECT_EQ(ChangeSignature::read("/").time, ChangeSignature::fixedTime());
    EXPECT_EQ(ChangeSignature::read(dir / "gone").time, ChangeSignature::fixedTime());

    Signature later = sig;
    EXPECT_FALSE(sig.changedTo(later));
    later.time += std::chrono::seconds(1);
    EXPECT_TRUE(sig.changedTo(later));
    Signature earlier = sig;
    earlier.time -= std::chrono::seconds(1);
    EXPECT_FALSE(sig.changedTo(earlier)) << "only a later time counts";
}

TEST(ChangeSignature, AWatchedFolderIsReadAgainOnlyAfterAChange) {
    TempDir dir;
    dir.write("w/a", "");
    FolderWatch watch;
    ChangeSignature signatures(&watch);
    const std::string folder = dir / "w";
    EXPECT_EQ(signatures.signatureOf(folder).counts, "0-1");
    EXPECT_EQ(signatures.signatureOf(folder).counts, "0-1");
    dir.write("w/b", "");
    EXPECT_EQ(signatures.signatureOf(folder).counts, "0-2");
    dir.mkdir("w/sub");
    EXPECT_EQ(signatures.signatureOf(folder).counts, "1-2");
    ::rename((dir / "w/b").c_str(), (dir / "elsewhere").c_str());
    EXPECT_EQ(signatures.signatureOf(folder).counts, "1-1");
    // The folder is replaced by another of the same name: watched anew.
    const std::string moved = dir / "w-old";
    ::rename(folder.c_str(), moved.c_str());
    dir.mkdir("w");
    EXPECT_EQ(signatures.signatureOf(folder).counts, "0-0");
    dir.write("w/new", "");
    EXPECT_EQ(signatures.signatureOf(folder).counts, "0-1") << "the new folder is the one watched";
}

} // namespace
