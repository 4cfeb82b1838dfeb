// The run-time error model shared by the search, the drive query and the
// window: a numbered error raised by a failing step, with an optional tag
// naming the variable or query that failed.
#pragma once

#include <exception>
#include <string>

namespace dorvelix {

namespace err {
inline constexpr int Overflow = 6;
inline constexpr int DivisionByZero = 11;
inline constexpr int OutOfMemory = 7;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int PathNotFound = 76;
inline constexpr int DiskNotReady = 71;  // the drive has gone while in use
// Tags of the file-system errors, telling which query failed.
inline constexpr const char* FolderQuery = "folder";
inline constexpr const char* LengthQuery = "length";
}  // namespace err

class RuntimeError : public std::exception {
public:
    explicit RuntimeError(int number, std::string tag = {}, int cause = 0)
        : number_(number), cause_(cause), tag_(std::move(tag)) {}

    int number() const noexcept { return number_; }
    // The errno the system gave for a failed file-system call (0 otherwise).
    int cause() const noexcept { return cause_; }
    // Which variable or query failed, when the raiser knows it ("" otherwise).
    const std::string& tag() const noexcept { return tag_; }
    const char* what() const noexcept override { return "dorvelix run-time error"; }

private:
    int number_;
    int cause_;
    std::string tag_;
};

}  // namespace dorvelix
