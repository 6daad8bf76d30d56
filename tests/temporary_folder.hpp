// A fresh, empty folder under the system's temporary folder for one test,
// removed with everything in it when the test ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class temporary_folder {
 public:
  temporary_folder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quillmere-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::abort();
    }
    path_ = pattern;
  }
  ~temporary_folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  temporary_folder(const temporary_folder&) = delete;
  temporary_folder& operator=(const temporary_folder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The whole content of a file, or "<missing>" when it cannot be read.
inline std::string read_file(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    return "<missing>";
  }
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
