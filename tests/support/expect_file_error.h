#pragma once

// The check that an operation fails with a FileError, handing the error to the
// test to look at.

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "files/file_error.h"

namespace tallowbrook::test {

// Runs `action`, which must throw FileError; what it threw, or none (a test
// failure) when it returned or threw something else.
template <typename Action> std::optional<FileError> expectFileError(Action&& action) {
    try {
        action();
    } catch (const FileError& error) {
        return error;
    } catch (...) {
        ADD_FAILURE() << "threw something other than a FileError";
        return std::nullopt;
    }
    ADD_FAILURE() << "did not fail";
    return std::nullopt;
}

// Runs `action`, which must throw a FileError of `cause` naming `path`.
template <typename Action>
void expectFileError(Action&& action, FileCause cause, const std::optional<std::string>& path) {
    const std::optional<FileError> error = expectFileError(action);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->cause(), cause) << error->what();
    EXPECT_EQ(error->path(), path);
}

} // namespace tallowbrook::test
