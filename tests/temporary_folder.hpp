// A fresh, empty folder under the system's temporary folder for one test,
// removed with everything in it when the test ends; and reading a file whole.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

class temporary_folder {
 public:
  temporary_folder() {
    // create_directory is true only for a folder that did not exist: a name
    // that another test or process took is tried again with the next.
    std::random_device seed;
    std::mt19937_64 names(seed());
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = base / ("quillmere-test-" + std::to_string(names()));
      if (std::filesystem::create_directory(path_)) {
        return;
      }
    }
    std::abort();
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
