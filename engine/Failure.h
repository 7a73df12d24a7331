#pragma once

#include <stdexcept>
#include <string>

namespace varnex {

// Failure numbers. 1 and 2 are the file job's own; the others follow the numbers the
// original run-time gave the same kinds of failure, so that a description reads the same.
enum FailureNumber : int {
    kNoSourceFileChosen = 1,
    kSameFontsChosen = 2,
    kOverflow = 6,
    kSubscriptOutOfRange = 9,
    kTypeMismatch = 13,
    kFileNotFound = 53,
    kInputPastEndOfFile = 62,
    kFileInUse = 70,
    kPathAccessError = 75,
    kDeviceError = 57,
    kBadFileFormat = 321,
    kItemNotFound = 3265,
    kDatabaseFailure = 3709,
};

// The one failure type of the program: a number and a description the user can act on.
class Failure : public std::runtime_error {
public:
    Failure(int number, const std::string& description) : std::runtime_error(description), number_(number) {}

    int Number() const { return number_; }
    std::string Description() const { return what(); }

private:
    int number_;
};

}  // namespace varnex
