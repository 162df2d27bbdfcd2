#pragma once
#include <gtest/gtest.h>

#include "platform/file_error.h"

// Runs the call and checks that it failed with the classic number.
#define EXPECT_FILE_ERROR(call, number)                                 \
  do {                                                                  \
    try {                                                               \
      call;                                                             \
      ADD_FAILURE() << #call " succeeded, expected error " << (number); \
    } catch (const ::kestrane::FileError& e) {                          \
      EXPECT_EQ(e.Number(), (number)) << #call ": " << e.Description(); \
    }                                                                   \
  } while (false)
