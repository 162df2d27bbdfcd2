#include "app/messages.h"

#include <gtest/gtest.h>

namespace kestrane {
namespace {

struct MessageCase {
  int code;
  const char* title;
  const char* body;
};

class MessageTable : public ::testing::TestWithParam<MessageCase> {};

TEST_P(MessageTable, GivesExactTitleAndBodyWithTheLetterQuoted) {
  const ErrorMessage m = ErrorMessageFor(static_cast<std::uint8_t>(GetParam().code), "K");
  EXPECT_EQ(m.title, GetParam().title);
  EXPECT_EQ(m.body, GetParam().body);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, MessageTable,
    ::testing::Values(
        MessageCase{1, "ERROR!", "This Letter, \"K\", is already assigned to a Folder!"},
        MessageCase{2, "ERROR!",
                    "This feature is not supported at this\r\ntime on your Operating System."},
        MessageCase{3, "ERROR!", "You need to select a Virtual Drive Letter!"},
        MessageCase{4, "ERROR!", "No Path selected!"}, MessageCase{5, "ERROR!", "Path not found!"},
        MessageCase{6, "ERROR!", "This Letter, \"K\", is in use!"},
        MessageCase{7, "Error  7, missing file!", ""},
        MessageCase{8, "Error  8, missing file!", ""},
        MessageCase{9, "Error  9, missing file!", ""},
        MessageCase{10, "Wrong Operating System",
                    "CD ROM drives are not supported for the Windows 98 family!"},
        MessageCase{11, "ERROR!",
                    "An unknown error occured, try your operation again!\r\n"
                    "If the problem persists let us know."},
        MessageCase{12, "ERROR!", "QOR does not work with network drives!"},
        MessageCase{255, "ERROR!",
                    "There is a missing or corrupt file! Remove and reinstall the software, \r\n"
                    "if the problem persists e-mail us at support@kestrane.example!"},
        MessageCase{0, "ERROR!", ""}, MessageCase{13, "ERROR!", ""},
        MessageCase{200, "ERROR!", ""}));

}  // namespace
}  // namespace kestrane
