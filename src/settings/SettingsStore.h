#pragma once

#include "settings/ValueText.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

class MessageBox;

// The settings store: the user data folder and the settings file "User.xml".
//
// The file looks like XML but is read by plain search for opening and closing tags and
// by cuts at fixed offsets, so the layout it is written in is part of the format:
//   <?xml version='1.0' encoding='Shift-JIS' ?>CR LF
//   <運用>CR LF
//      <group>CR LF
//         <key>value</key>CR LF
//      </group>CR LF
//   </運用>            (no final line break; CP932 text)
// Values are escaped as SettingsEscape describes, so any text, including "<", ">" and
// characters or bytes CP932 cannot hold, is stored and read back unchanged.
// Single-threaded: one instance for the run, used from the user-interface thread.
class SettingsStore {
  public:
    explicit SettingsStore(MessageBox& messages);

    // User data folder (always ending with "/"), fixed by resolveUserDataFolder for the whole run.
    // `programFolder` is the executable's folder, where "UserData.ini" lies.
    void resolveUserDataFolder(std::uintptr_t ownerWindow, std::string_view programName,
                    std::string_view programFolder);
    const std::string& userData() const { return userData_; }
    std::string specialFolderPath(int number) const;
    static void createFolder(std::string_view path);

    // False when the file could not be read or created. A file that exists but cannot be
    // read (no permission, a read error, a folder or a named pipe in its place) is left
    // alone for the whole run: readFailure() tells why and writeFile writes nothing.
    bool readFile(std::string_view path);
    const std::string& readFailure() const { return readFailure_; }
    void readGroup(std::string_view group);
    std::string valueOr(std::string_view key, std::string_view def);
    std::string valueOr(std::string_view key, const char* def) {
        return valueOr(key, std::string_view(def));
    }
    std::string valueOr(std::string_view key, const std::string& def) {
        return valueOr(key, std::string_view(def));
    }
    // A Boolean key holding text that is neither True/False nor a number gives `def`.
    bool valueOr(std::string_view key, bool def);
    double valueOr(std::string_view key, double def);
    // A date that does not parse gives `def`.
    DateTime valueOr(std::string_view key, const DateTime& def);
    template <typename T>
    requires(std::is_arithmetic_v<T> && !std::is_same_v<T, bool> &&
             !std::is_same_v<T, double>) double valueOr(std::string_view key, T def) {
        return valueOr(key, static_cast<double>(def));
    }

    void setValue(std::string_view key, std::string_view value);
    void setValue(std::string_view key, const char* value) { setValue(key, std::string_view(value)); }
    void setValue(std::string_view key, const std::string& value) {
        setValue(key, std::string_view(value));
    }
    void setValue(std::string_view key, bool value);
    void setValue(std::string_view key, const DateTime& value);
    template <typename T>
    requires(std::is_arithmetic_v<T> && !std::is_same_v<T, bool>) void setValue(std::string_view key,
                                                                              T value) {
        setRaw(key, numberText(static_cast<double>(value)));
    }
    // False when the document has no root end to take a new group.
    bool writeGroup();
    // Replaces the file in one step; false (old file kept) when it cannot be written.
    bool writeFile();
    // Why the last writeFile did not store every setting (the file could not be written, or
    // a group found no root end to go before); empty when all was stored, and when the
    // file was left alone because it could not be read.
    const std::string& writeFailure() const { return writeFailure_; }

    std::string tagOf(int scope, std::string_view name);
    static std::string makeTag(int kind, std::string_view name, std::string_view content);

    const std::string& document() const { return document_; }
    const std::string& filePath() const { return filePath_; }
    const std::string& groupText() const { return groupText_; }

  private:
    static std::string numberText(double value);
    void setRaw(std::string_view key, std::string_view text);

    MessageBox& messages_;
    std::uintptr_t ownerWindow_ = 0;
    std::string userData_;
    std::string filePath_;
    std::string document_;
    std::string groupName_;
    std::string groupText_;
    std::string readFailure_;
    std::string writeFailure_;
    std::string lostGroup_;
};
