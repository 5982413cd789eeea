// The program-settings file shared with the sibling tools: whatever the file holds, a key
// set reads back its value, and a key set beside it is not disturbed.
#include "fuzz/FuzzSupport.h"
#include "platform/desktop/ProgramSettings.h"

#include <algorithm>

// Input: file bytes NUL section NUL key NUL value. Sections are the program's own names
// and never hold a line break.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto f = fuzz::fields(fuzz::bytes(data, size), 4);
    std::string& section = f[1];
    section.erase(std::remove(section.begin(), section.end(), '\n'), section.end());
    const std::string& key = f[2];
    const std::string& value = f[3];
    const std::string app = "FuzzTools";
    fuzz::folder().write("config/" + app + "/settings.ini", f[0]);
    ProgramSettings::get(app, section, key);

    FUZZ_CHECK(ProgramSettings::set(app, section, key, value));
    FUZZ_CHECK(ProgramSettings::get(app, section, key) == value);
    const std::string other = key + "+";
    FUZZ_CHECK(ProgramSettings::set(app, section, other, "other"));
    FUZZ_CHECK(ProgramSettings::get(app, section, key) == value);
    FUZZ_CHECK(ProgramSettings::get(app, section, other) == "other");
    return 0;
}
