// A response table on its own: the record text, the block-by-block life of
// its buffer, and what happens when it cannot be created or written.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "response_file.hpp"
#include "temporary_folder.hpp"

namespace {

using quillmere::finish_response_file;
using quillmere::open_response_file;
using quillmere::response_file;
using quillmere::write_response_record;

class ResponseFile : public testing::Test {
 protected:
  temporary_folder folder;
  std::filesystem::path table = folder.path() / "Butterworth.out";
  std::string name = table.string();  // as the program names a table: narrow text
  response_file file;                 // 4 KiB: a member, not a local of each test
};

TEST_F(ResponseFile, RecordIsFiftyCharactersAndCrLf) {
  ASSERT_EQ(open_response_file(file, name.c_str()), 0);
  write_response_record(file, 1.0, {0.70710678118654746, 0.8320502943378437, 0.00390625});
  write_response_record(file, 0.0, {1.0, 1.0, 1.0});
  write_response_record(file, 4.99, {0.999996, 6.4773e-05, 2.5719e-01});
  ASSERT_EQ(finish_response_file(file).error, 0);
  EXPECT_EQ(read_file(table),
            " 1.000000e+000 7.0711e-001 8.3205e-001 3.9063e-003\r\n"
            " 0.000000e+000 1.0000e+000 1.0000e+000 1.0000e+000\r\n"
            " 4.990000e+000 1.0000e+000 6.4773e-005 2.5719e-001\r\n");
}

TEST_F(ResponseFile, BufferGoesOutInWholeBlocksOnlyWhenMoreTextArrives) {
  { std::ofstream(table) << std::string(100'000, 'x'); }  // an older, longer table
  ASSERT_EQ(open_response_file(file, name.c_str()), 0);
  EXPECT_EQ(std::filesystem::file_size(table), 0u) << "truncated at open";

  constexpr std::size_t records_per_block =
      quillmere::response_buffer_size / quillmere::response_record_length;  // 78
  for (std::size_t i = 0; i < records_per_block; ++i) {
    write_response_record(file, 0.5, {0.5, 0.5, 0.5});
  }
  EXPECT_EQ(std::filesystem::file_size(table), 0u) << "78 records fit in the buffer";
  write_response_record(file, 0.5, {0.5, 0.5, 0.5});
  EXPECT_EQ(std::filesystem::file_size(table), 4096u) << "one block, ending inside record 79";

  ASSERT_EQ(finish_response_file(file).error, 0);
  const std::string text = read_file(table);
  ASSERT_EQ(text.size(), 79 * quillmere::response_record_length);
  EXPECT_EQ(text.substr(0, 52), " 5.000000e-001 5.0000e-001 5.0000e-001 5.0000e-001\r\n");
}

TEST_F(ResponseFile, FolderInPlaceOfTheTableCannotBeCreated) {
  std::filesystem::create_directory(table);
#if defined(_WIN32)
  EXPECT_EQ(open_response_file(file, name.c_str()), EACCES);  // Windows' word for it
#else
  EXPECT_EQ(open_response_file(file, name.c_str()), EISDIR);
#endif
  write_response_record(file, 1.0, {1.0, 1.0, 1.0});  // does nothing, never crashes
  EXPECT_EQ(finish_response_file(file).error, 0);
  EXPECT_TRUE(std::filesystem::is_directory(table));
}

TEST_F(ResponseFile, FullDiskIsReportedWhenTheBlockOrTheRestIsWritten) {
  if (!std::filesystem::exists("/dev/full")) {
    GTEST_SKIP() << "no /dev/full here: it is a Linux device";
  }
  std::filesystem::create_symlink("/dev/full", table);
  for (const int records : {1, 200}) {  // only the final write, or a block during the run
    SCOPED_TRACE(records);
    ASSERT_EQ(open_response_file(file, name.c_str()), 0);
    for (int i = 0; i < records; ++i) {
      write_response_record(file, 1.0, {1.0, 1.0, 1.0});
    }
    EXPECT_EQ(finish_response_file(file).error, ENOSPC);
  }
}

}  // namespace
