#pragma once

#include <string>
#include <string_view>

// A real temporary folder for one test, removed with everything in it at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + relative
    std::string operator/(std::string_view relative) const;
    // Creates the file (and its folders) with exactly these bytes.
    std::string write(std::string_view relative, std::string_view bytes) const;
    std::string mkdir(std::string_view relative) const;
    static std::string read(std::string_view path);

  private:
    std::string path_;
};
