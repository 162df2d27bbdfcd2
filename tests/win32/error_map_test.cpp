#include "win32/platform/error_map.h"

#include <gtest/gtest.h>

#include "platform/file_error.h"

namespace kestrane::win32 {
namespace {

struct Mapping {
  DWORD win32Error;
  int number;
};

void PrintTo(const Mapping& m, std::ostream* os) { *os << m.win32Error << " -> " << m.number; }

class ErrorMapTest : public testing::TestWithParam<Mapping> {};

TEST_P(ErrorMapTest, ThrowsTheClassicNumberAndNamesTheWindowsError) {
  const Mapping m = GetParam();
  EXPECT_EQ(ClassicNumber(m.win32Error), m.number);
  try {
    ThrowLastError(m.win32Error);
    FAIL() << "nothing thrown";
  } catch (const FileError& e) {
    EXPECT_EQ(e.Number(), m.number);
    const std::string text = e.Description();
    EXPECT_EQ(text.rfind(ErrorDescription(m.number), 0), 0u) << text;
    EXPECT_NE(text.find("Windows error " + std::to_string(m.win32Error)), std::string::npos)
        << text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrorMapTest,
    testing::Values(Mapping{ERROR_FILE_NOT_FOUND, 53}, Mapping{ERROR_PATH_NOT_FOUND, 76},
                    Mapping{ERROR_ACCESS_DENIED, 70}, Mapping{ERROR_INVALID_DRIVE, 68},
                    Mapping{ERROR_WRITE_PROTECT, 70}, Mapping{ERROR_NOT_READY, 71},
                    Mapping{ERROR_SHARING_VIOLATION, 55}, Mapping{ERROR_LOCK_VIOLATION, 55},
                    Mapping{ERROR_BAD_NETPATH, 76}, Mapping{ERROR_BAD_NET_NAME, 76},
                    Mapping{ERROR_DISK_FULL, 61}, Mapping{ERROR_INVALID_NAME, 76},
                    Mapping{ERROR_BAD_PATHNAME, 76}, Mapping{ERROR_INVALID_FUNCTION, 75},
                    Mapping{ERROR_GEN_FAILURE, 75}, Mapping{ERROR_DIRECTORY, 75}),
    [](const testing::TestParamInfo<Mapping>& info) {
      return "Error" + std::to_string(info.param.win32Error);
    });

TEST(SystemMessageTest, CarriesTheSystemTextWithoutTheLineEnd) {
  const std::string text = SystemMessage(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), '\n');
  EXPECT_NE(text.back(), '\r');
}

}  // namespace
}  // namespace kestrane::win32
